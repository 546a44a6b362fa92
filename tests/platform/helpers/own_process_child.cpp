// A stand-in for the client that the own-process tests start. Two jobs:
//
//   own_process_child end <marker>
//     arms every kind of clean-up a normal exit runs (an atexit handler, a
//     static object's destructor, the application's aboutToQuit and a line
//     left in stdout's buffer), then ends itself with EndOwnProcess() from
//     inside the event loop. Each clean-up that runs appends its name to
//     <marker>, so the file exists only if one of them ran.
//
//   own_process_child rename <new path>
//     renames its own executable file to <new path> (as the self-update does
//     with the running client) and prints OwnExecutableName().

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include "platform/process.h"

namespace {

const char* markerPath = nullptr;

void Mark(const char* cleanUp) {
    if (std::FILE* marker = std::fopen(markerPath, "a")) {
        std::fprintf(marker, "%s\n", cleanUp);
        std::fclose(marker);
    }
}

struct MarksWhenDestroyed {
    ~MarksWhenDestroyed() { Mark("static destructor"); }
};

int EndItself(QCoreApplication& app) {
    std::atexit([] { Mark("atexit handler"); });
    static MarksWhenDestroyed marksWhenDestroyed;
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [] { Mark("aboutToQuit"); });
    std::fputs("left in the buffer", stdout);  // a pipe: fully buffered until flushed
    QTimer::singleShot(0, [] {
        lanxun::EndOwnProcess();
        Mark("EndOwnProcess returned");
        QCoreApplication::exit(3);
    });
    return app.exec();
}

int RenameItself(const QString& ownPath, const QString& newPath) {
    if (!QFile::rename(ownPath, newPath)) {
        return 2;
    }
    std::printf("%s", qPrintable(lanxun::OwnExecutableName()));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "end") == 0) {
        markerPath = argv[2];
        return EndItself(app);
    }
    if (argc == 3 && std::strcmp(argv[1], "rename") == 0) {
        // argv[0] is the full path the test started; asking Qt for it here would
        // fix its cached answer before the rename.
        return RenameItself(QString::fromLocal8Bit(argv[0]), QString::fromLocal8Bit(argv[2]));
    }
    std::fputs("usage: own_process_child end <marker> | rename <new path>\n", stderr);
    return 2;
}
