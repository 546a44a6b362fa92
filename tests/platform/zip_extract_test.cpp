#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/zip_extract.h"
#include "zip_builder.h"

namespace lanxun {
namespace {

using platformsim::BuildStoredZip;
using platformsim::ZipEntry;

// A folder "run" to unpack into, inside a temporary folder whose other files
// are outside it, with the old program "lanxun" in place.
class ZipExtractTest : public ::testing::Test {
protected:
    void SetUp() override { FreshFolder(); }

    // Only the old program in "run", nothing else anywhere.
    void FreshFolder() {
        QDir(temp_.path()).removeRecursively();
        ASSERT_TRUE(QDir(temp_.path()).mkpath("run"));
        Write(Run() + "/lanxun", "old program");
    }

    QString Run() const { return temp_.path() + "/run"; }
    QString Archive() const { return temp_.path() + "/update.zip"; }

    static void Write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void WriteArchive(const std::vector<ZipEntry>& entries) const {
        const std::string bytes = BuildStoredZip(entries);
        Write(Archive(), QByteArray::fromStdString(bytes));
    }

    // Every file under the temporary folder but the archive, relative to it.
    QStringList AllFiles() const {
        QStringList files;
        QDirIterator it(temp_.path(), QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (path != Archive()) {
                files << QDir(temp_.path()).relativeFilePath(path);
            }
        }
        files.sort();
        return files;
    }

    QTemporaryDir temp_;
};

TEST_F(ZipExtractTest, GoodArchiveReplacesTheProgramAndKeepsItsRunBit) {
    WriteArchive({{"lanxun", "new program", 0100700},
                  {"data/说明.txt", "读我", 0100644},
                  {"data/", "", 040755}});
    ASSERT_EQ(ExtractZip(Archive(), Run(), "lanxun"), ExtractResult::Done);
    EXPECT_EQ(Read(Run() + "/lanxun"), "new program");
    EXPECT_EQ(Read(Run() + "/data/说明.txt"), "读我");
    EXPECT_TRUE(QFileInfo(Run() + "/lanxun").isExecutable());
    EXPECT_FALSE(QFileInfo(Run() + "/data/说明.txt").isExecutable());
    EXPECT_EQ(AllFiles(), QStringList({"run/data/说明.txt", "run/lanxun"}));  // no staging left
}

TEST_F(ZipExtractTest, ProgramFromAWindowsArchiveBecomesRunnableAndGbkNamesRead) {
    // No Unix mode, the name in GBK bytes without the UTF-8 flag.
    WriteArchive({{"lanxun", "new program", 0, false},
                  {std::string("\xCB\xB5\xC3\xF7.txt"), "x", 0, false}});
    ASSERT_EQ(ExtractZip(Archive(), Run(), "lanxun"), ExtractResult::Done);
    EXPECT_TRUE(QFileInfo(Run() + "/lanxun").isExecutable());
    EXPECT_EQ(Read(Run() + "/说明.txt"), "x");
}

TEST_F(ZipExtractTest, SetIdBitsAreDropped) {
    WriteArchive({{"lanxun", "new program", 0104755}});
    ASSERT_EQ(ExtractZip(Archive(), Run(), "lanxun"), ExtractResult::Done);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(Run() + "/lanxun").constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0755u);
}

struct BadArchive {
    const char* label;
    std::vector<ZipEntry> entries;
    ExtractResult expected;
};

// Each archive is refused whole: the old program stays and nothing new appears,
// inside the folder or beside it.
TEST_F(ZipExtractTest, BadArchivesWriteNothing) {
    const std::vector<BadArchive> cases = {
        {"parent step", {{"lanxun", "new"}, {"../escaped", "x"}}, ExtractResult::UnsafeEntry},
        {"deep parent step",
         {{"lanxun", "new"}, {"a/../../escaped", "x"}},
         ExtractResult::UnsafeEntry},
        {"backslash parent step",
         {{"lanxun", "new"}, {"..\\escaped", "x"}},
         ExtractResult::UnsafeEntry},
        {"absolute", {{"lanxun", "new"}, {"/tmp/escaped", "x"}}, ExtractResult::UnsafeEntry},
        {"drive", {{"lanxun", "new"}, {"C:\\escaped", "x"}}, ExtractResult::UnsafeEntry},
        {"link",
         {{"lanxun", "new"}, {"escaped", "/etc/passwd", 0120777}},
         ExtractResult::UnsafeEntry},
        {"no program", {{"other", "new"}}, ExtractResult::MissingEntry},
        {"program only as a folder", {{"lanxun/", "", 040755}}, ExtractResult::MissingEntry},
        {"program in a subfolder", {{"sub/lanxun", "new"}}, ExtractResult::MissingEntry},
    };
    for (const BadArchive& bad : cases) {
        SCOPED_TRACE(bad.label);
        FreshFolder();
        WriteArchive(bad.entries);
        EXPECT_EQ(ExtractZip(Archive(), Run(), "lanxun"), bad.expected);
        EXPECT_EQ(Read(Run() + "/lanxun"), "old program");
        EXPECT_EQ(AllFiles(), QStringList({"run/lanxun"}));
    }
}

TEST_F(ZipExtractTest, DamagedOrMissingArchivesWriteNothing) {
    const QByteArray good = QByteArray::fromStdString(
        BuildStoredZip(std::vector<ZipEntry>{{"lanxun", "new program"}, {"other", "data"}}));
    QByteArray badCrc = good;
    badCrc[badCrc.indexOf("new program")] = 'N';  // content no longer matches its CRC

    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"empty", QByteArray()},
        {"not a zip", QByteArray("this is no archive\r\n", 20).repeated(50)},
        {"truncated", good.left(good.size() / 2)},
        {"central directory cut", good.left(good.size() - 30)},
        {"bad crc", badCrc},
    };
    for (const auto& [label, bytes] : cases) {
        SCOPED_TRACE(label);
        FreshFolder();
        Write(Archive(), bytes);
        EXPECT_NE(ExtractZip(Archive(), Run(), "lanxun"), ExtractResult::Done);
        EXPECT_EQ(Read(Run() + "/lanxun"), "old program");
        EXPECT_EQ(AllFiles(), QStringList({"run/lanxun"}));
    }
    EXPECT_EQ(ExtractZip(temp_.path() + "/absent.zip", Run(), "lanxun"),
              ExtractResult::NotAnArchive);
}

TEST_F(ZipExtractTest, AFolderLinkInsideDoesNotCarryFilesOut) {
    ASSERT_TRUE(QDir(temp_.path()).mkpath("outside"));
    ASSERT_TRUE(QFile::link(temp_.path() + "/outside", Run() + "/sub"));
    WriteArchive({{"sub/escaped", "x"}, {"lanxun", "new"}});
    EXPECT_NE(ExtractZip(Archive(), Run(), "lanxun"), ExtractResult::Done);
    EXPECT_FALSE(QFileInfo::exists(temp_.path() + "/outside/escaped"));
    EXPECT_EQ(Read(Run() + "/lanxun"), "old program");
}

// Everything under the temporary folder but the archive, folders and links too (never
// followed), relative to it.
QStringList Everything(const QString& root, const QString& skip) {
    QStringList found;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path != skip) {
            found << QDir(root).relativeFilePath(path);
        }
    }
    found.sort();
    return found;
}

// Folder entries, and the folders of file entries, are checked like file names, and a link
// already in the folder leads nowhere: each archive is refused and nothing appears anywhere.
TEST_F(ZipExtractTest, FoldersThatLeaveTheFolderOrGoThroughALinkAreRefused) {
    const std::vector<BadArchive> cases = {
        {"folder through a link",
         {{"sub/made/", "", 040755}, {"lanxun", "new"}},
         ExtractResult::UnsafeEntry},
        {"deep folder through a link",
         {{"sub/made/deeper/", "", 040755}, {"lanxun", "new"}},
         ExtractResult::UnsafeEntry},
        {"folder named like the link",
         {{"sub/", "", 040755}, {"lanxun", "new"}},
         ExtractResult::UnsafeEntry},
        {"file in a new folder through a link",
         {{"sub/made/file", "x"}, {"lanxun", "new"}},
         ExtractResult::UnsafeEntry},
        {"folder stepping back out",
         {{"a/b/../../c/", "", 040755}, {"lanxun", "new"}},
         ExtractResult::UnsafeEntry},
        {"absolute folder",
         {{"/tmp/made/", "", 040755}, {"lanxun", "new"}},
         ExtractResult::UnsafeEntry},
        {"folder where a file is",
         {{"lanxun/", "", 040755}, {"lanxun", "new"}},
         ExtractResult::WriteFailed},
    };
    for (const BadArchive& bad : cases) {
        SCOPED_TRACE(bad.label);
        FreshFolder();
        ASSERT_TRUE(QDir(temp_.path()).mkpath("outside"));
        ASSERT_TRUE(QFile::link(temp_.path() + "/outside", Run() + "/sub"));
        WriteArchive(bad.entries);
        EXPECT_EQ(ExtractZip(Archive(), Run(), "lanxun"), bad.expected);
        EXPECT_EQ(Read(Run() + "/lanxun"), "old program");
        EXPECT_EQ(Everything(temp_.path(), Archive()),
                  QStringList({"outside", "run", "run/lanxun", "run/sub"}));
    }
}

// The program goes last; when its move fails, the files already moved are put back as they
// were (a replaced link stays a link to its old place) and the folders made are removed.
TEST_F(ZipExtractTest, AMoveThatFailsPutsBackEveryFileAlreadyMoved) {
    Write(Run() + "/a.txt", "old a");
    Write(temp_.path() + "/outside.txt", "outside");
    ASSERT_TRUE(QFile::link(temp_.path() + "/outside.txt", Run() + "/c.txt"));
    // A folder where the program goes: a file is never moved over it.
    ASSERT_TRUE(QFile::remove(Run() + "/lanxun"));
    ASSERT_TRUE(QDir(Run()).mkpath("lanxun"));
    Write(Run() + "/lanxun/keep", "kept");
    const QStringList before = Everything(temp_.path(), Archive());
    WriteArchive({{"a.txt", "new a"},
                  {"made/b.txt", "new b"},
                  {"c.txt", "new c"},
                  {"lanxun", "new program"}});

    EXPECT_EQ(ExtractZip(Archive(), Run(), "lanxun"), ExtractResult::WriteFailed);

    EXPECT_EQ(Read(Run() + "/a.txt"), "old a");
    EXPECT_EQ(QFileInfo(Run() + "/c.txt").symLinkTarget(), temp_.path() + "/outside.txt");
    EXPECT_EQ(Read(temp_.path() + "/outside.txt"), "outside");
    EXPECT_EQ(Read(Run() + "/lanxun/keep"), "kept");
    EXPECT_EQ(Everything(temp_.path(), Archive()), before);
}

}  // namespace
}  // namespace lanxun
