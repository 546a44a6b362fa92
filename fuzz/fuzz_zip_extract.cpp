// The update archive's extraction. Each input is written as the archive into
// a fresh temporary folder and unpacked into "run" two levels below it, so an
// entry that climbs out of "run" still lands where the check sees it. The
// folder is removed afterwards.

#include <sys/stat.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QTemporaryDir root;
    FUZZ_CHECK(root.isValid());
    const QString archive = root.path() + QStringLiteral("/in.zip");
    const QString run = root.path() + QStringLiteral("/a/b/run");
    FUZZ_CHECK(QDir().mkpath(run));
    {
        QFile file(archive);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly));
        FUZZ_CHECK(file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) ==
                   static_cast<qint64>(size));
    }

    const ExtractResult result = ExtractZip(archive, run, QStringLiteral("lanxun"));

    const QStringList expectedOutside = {archive, root.path() + QStringLiteral("/a"),
                                         root.path() + QStringLiteral("/a/b"), run};
    QStringList inside;
    for (const QString& path : Everything(root.path())) {
        if (path.startsWith(run + u'/')) {
            inside << path;
            continue;
        }
        if (!expectedOutside.contains(path)) {
            std::fprintf(stderr, "written outside the folder: %s\n", qPrintable(path));
            std::abort();
        }
    }
    for (const QString& path : inside) {
        const QFileInfo info(path);
        FUZZ_CHECK(!info.isSymLink());
        // No staging folder is left behind.
        FUZZ_CHECK(!path.contains(QStringLiteral("/.unpacking-")));
        struct stat st {};
        FUZZ_CHECK(::lstat(QFile::encodeName(path).constData(), &st) == 0);
        FUZZ_CHECK((st.st_mode & (S_ISUID | S_ISGID)) == 0);
    }
    if (result == ExtractResult::Done) {
        const QFileInfo program(run + QStringLiteral("/lanxun"));
        FUZZ_CHECK(program.isFile() && program.isExecutable());
    } else {
        // A bad archive writes nothing.
        FUZZ_CHECK(inside.isEmpty());
    }
    return 0;
}
