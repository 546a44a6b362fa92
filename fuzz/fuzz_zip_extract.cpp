// The update archive's extraction. Each input is written as the archive into
// a fresh temporary folder and unpacked into "run" two levels below it, so an
// entry that climbs out of "run" still lands where the check sees it. "run"
// already holds a file, a folder with a file, and two links out of it (to a
// folder and to a file beside "a"): nothing may reach through them, and an
// archive that is refused leaves all of it as it was. The folder is removed
// afterwards.

#include <sys/stat.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include "fuzz_check.h"
#include "platform/zip_extract.h"

using namespace lanxun;

namespace {

// Every path below `root`, links not followed.
QStringList Everything(const QString& root) {
    QStringList paths;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        paths << it.next();
    }
    return paths;
}

// What "run" holds: for each path below it "f" + the file's content, "l" + a link's target
// or "d" for a folder.
QMap<QString, QByteArray> Describe(const QString& run) {
    QMap<QString, QByteArray> state;
    for (const QString& path : Everything(run)) {
        const QFileInfo info(path);
        const QString name = path.mid(run.size() + 1);
        if (info.isSymLink()) {
            state[name] = "l" + QFile::encodeName(info.symLinkTarget());
        } else if (info.isDir()) {
            state[name] = "d";
        } else {
            QFile file(path);
            state[name] = "f" + (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("?"));
        }
    }
    return state;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QTemporaryDir root;
    FUZZ_CHECK(root.isValid());
    const QString archive = root.path() + QStringLiteral("/in.zip");
    const QString run = root.path() + QStringLiteral("/a/b/run");
    const QString outside = root.path() + QStringLiteral("/outside");
    const QString outsideFile = root.path() + QStringLiteral("/outside.txt");
    FUZZ_CHECK(QDir().mkpath(run + QStringLiteral("/keep")));
    FUZZ_CHECK(QDir().mkpath(outside));
    FUZZ_CHECK(WriteFile(outsideFile, "outside"));
    FUZZ_CHECK(WriteFile(run + QStringLiteral("/old.txt"), "old"));
    FUZZ_CHECK(WriteFile(run + QStringLiteral("/keep/old"), "kept"));
    FUZZ_CHECK(QFile::link(outside, run + QStringLiteral("/sub")));
    FUZZ_CHECK(QFile::link(outsideFile, run + QStringLiteral("/file.lnk")));
    const QMap<QString, QByteArray> before = Describe(run);
    FUZZ_CHECK(WriteFile(
        archive, QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))));

    const ExtractResult result = ExtractZip(archive, run, QStringLiteral("lanxun"));

    const QStringList expectedOutside = {archive,
                                         root.path() + QStringLiteral("/a"),
                                         root.path() + QStringLiteral("/a/b"),
                                         run,
                                         outside,
                                         outsideFile};
    for (const QString& path : Everything(root.path())) {
        if (!path.startsWith(run + u'/') && !expectedOutside.contains(path)) {
            std::fprintf(stderr, "written outside the folder: %s\n", qPrintable(path));
            std::abort();
        }
    }
    {
        QFile file(outsideFile);
        FUZZ_CHECK(file.open(QIODevice::ReadOnly) && file.readAll() == "outside");
    }
    const QMap<QString, QByteArray> after = Describe(run);
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        // No staging folder is left behind, and the only links are the ones that were there.
        FUZZ_CHECK(!it.key().contains(QStringLiteral(".unpacking-")));
        FUZZ_CHECK(!it.value().startsWith('l') || before.value(it.key()) == it.value());
        struct stat st {};
        FUZZ_CHECK(::lstat(QFile::encodeName(run + u'/' + it.key()).constData(), &st) == 0);
        FUZZ_CHECK((st.st_mode & (S_ISUID | S_ISGID)) == 0);
    }
    if (result == ExtractResult::Done) {
        const QFileInfo program(run + QStringLiteral("/lanxun"));
        FUZZ_CHECK(program.isFile() && program.isExecutable());
    } else {
        // A refused archive leaves the folder exactly as it was.
        if (after != before) {
            std::fprintf(stderr, "a refused archive changed the folder (result %d)\n",
                         static_cast<int>(result));
            std::abort();
        }
    }
    return 0;
}
