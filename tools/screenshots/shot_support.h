#pragma once

// What every screenshot program does: take its output folder from the command line, let the
// window settle, find a control, write a picture and say where it went.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <cstdio>

namespace shots {

// Reads `program <folder>` (or `program <folder> [more]` when `more` names an optional second
// argument) and creates the folder. Returns 0 with `folder` set, else the exit status after
// saying on stderr what is wrong.
inline int OpenOutputFolder(int argc, char** argv, QDir& folder, const char* more = nullptr) {
    if (argc < 2 || argc > (more ? 3 : 2)) {
        std::fprintf(stderr, "usage: %s <folder>%s%s\n", argv[0], more ? " " : "",
                     more ? more : "");
        return 2;
    }
    folder.setPath(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    return 0;
}

// Lets events, timers and painting run for `ms` milliseconds.
inline void Settle(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

template <typename T>
T* Child(QWidget* window, const char* name) {
    return window->findChild<T*>(QString::fromUtf8(name));
}

// Writes `picture` as `name`.png into `folder` and prints the path.
inline bool SavePicture(const QPixmap& picture, const QDir& folder, const QString& name) {
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    if (!picture.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

inline bool SaveWindow(QWidget* window, const QDir& folder, const QString& name) {
    return SavePicture(window->grab(), folder, name);
}

}  // namespace shots
