#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <limits>
#include <ostream>
#include <thread>
#include <utility>
#include <vector>

#include "account/table_store.h"
#include "support/temp_locations.h"

namespace lanxun {
namespace {

const QString kRoot = "C:\\";
const QString kStore = "设置";
const QString kTable = "商户信息";
const QString kRecord = "用户";
const QString kField = "用户";
const QString kUnchanged = "unchanged";

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray bytes;
    for (int v : values) {
        bytes.append(char(v));
    }
    return bytes;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return "<unreadable>";
    }
    return file.readAll();
}

class TableStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(store.CreateStore(kRoot, kStore));
        ASSERT_TRUE(store.CreateTable(kTable));
    }

    // The local file of a field of the table kTable.
    QString FieldFile(const QString& record, const QString& field) const {
        return LocalPath(store.RecordPath(kTable, record) + field + ".数据");
    }
    QString Drive() const { return locations.DriveRoot(); }

    test::TempLocations locations;
    TableStore store;
};

// ---- paths ----

TEST_F(TableStoreTest, RecordLevelsAreDecimalGbkBytesTwoToAName) {
    EXPECT_EQ(TableStore::RecordLevels("用户"), QStringList({"211195", "187167"}));
    EXPECT_EQ(TableStore::RecordLevels("abc"), QStringList({"9798", "99"}));
    EXPECT_EQ(TableStore::RecordLevels("a"), QStringList({"97"}));
    EXPECT_EQ(TableStore::RecordLevels(QString(QChar(1)) + QChar(23)),
              TableStore::RecordLevels(QString(QChar(12)) + QChar(3)));
}

TEST_F(TableStoreTest, SavedLoginLandsAtTheFileOfItsLevels) {
    EXPECT_EQ(store.RecordPath(kTable, kRecord), "C:\\设置\\商户信息\\211195\\187167\\");
    ASSERT_TRUE(store.WriteText(kTable, kRecord, kField, "ab|用户"));

    const QString file = Drive() + "/设置/商户信息/211195/187167/用户.数据";
    EXPECT_EQ(FileBytes(file), Bytes({'a', 'b', '|', 0xD3, 0xC3, 0xBB, 0xA7}));
    EXPECT_EQ(store.RecordPath(kTable, "abc"), "C:\\设置\\商户信息\\9798\\99\\");
}

TEST(FileLocationsTest, ClientPathsMapIntoTheInstalledFolders) {
    test::TempLocations locations;
    const QString drive = locations.DriveRoot();
    const QString run = locations.RunDirectory();
    struct Case {
        QString client, local;
    } cases[] = {
        {"C:\\", drive + "/"},
        {"C:\\设置\\商户信息", drive + "/设置/商户信息"},
        {"c:/x", drive + "/x"},
        {"C:x", drive + "/x"},
        {"D:\\data", drive + "/D/data"},
        {"\\etc", drive + "/etc"},
        {"新澄信.zip", run + "/新澄信.zip"},
        {"", run},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LocalPath(c.client), c.local) << c.client.toStdString();
    }
}

// ---- error texts ----

TEST_F(TableStoreTest, ErrorTexts) {
    TableStore closed;
    TableStore nameless;
    ASSERT_TRUE(nameless.OpenStore(kRoot, ""));  // the drive exists, the name stays empty
    TableStore storeless;                        // open on a store directory that went away
    ASSERT_TRUE(storeless.CreateStore(kRoot, "临时"));
    ASSERT_TRUE(QDir(Drive() + "/临时").removeRecursively());
    ASSERT_TRUE(QDir().mkpath(Drive() + "/设置/商户信息/9798/99/dir.数据"));
    ASSERT_TRUE(QFile(Drive() + "/设置/商户信息/9798/99/empty.数据").open(QIODevice::WriteOnly));

    const TableStore& s = store;
    struct Case {
        const char* what;
        std::function<bool(QString*)> operation;
        QString error;  // kUnchanged: false without an error text
    } cases[] = {
        {"create store without name",
         [&](QString* e) { return TableStore().CreateStore(kRoot, "", e); },
         "0001|数据库名必须1字节以上"},
        {"closed object", [&](QString* e) { return closed.CreateTable("t", e); }, "库没有打开"},
        {"closed object, record",
         [&](QString* e) { return closed.WriteInt(kTable, "r", "f", 1, e); }, "库没有打开"},
        {"no store name", [&](QString* e) { return nameless.CreateTable("t", e); }, "库不存在"},
        {"no store name, record",
         [&](QString* e) {
             QString v;
             return nameless.ReadText(kTable, "r", "f", v, e);
         },
         "库不存在"},
        {"empty table name", [&](QString* e) { return s.CreateTable("", e); },
         "表名长度不能低于1字节"},
        {"empty table name, delete", [&](QString* e) { return s.DeleteTable("", e); },
         "表名长度不能低于1字节"},
        {"table name with |", [&](QString* e) { return s.CreateTable("a|b", e); },
         "表名不能使用特殊符号"},
        {"table name with |, delete", [&](QString* e) { return s.DeleteTable("a|b", e); },
         "表名不能使用特殊符号"},
        {"table name leaving the store", [&](QString* e) { return s.DeleteTable("..", e); },
         "表名不能使用特殊符号"},
        {"table exists", [&](QString* e) { return s.CreateTable(kTable, e); }, "表已存在"},
        {"store directory missing", [&](QString* e) { return storeless.CreateTable("t", e); },
         "创建表失败"},
        {"delete missing table", [&](QString* e) { return s.DeleteTable("无", e); }, "表不存在"},
        {"record op, empty table",
         [&](QString* e) {
             QString v;
             return s.ReadText("", "r", "f", v, e);
         },
         "表不存在"},
        {"write, empty table", [&](QString* e) { return s.WriteInt("", "r", "f", 1, e); },
         "表不存在"},
        {"ReadText, empty record",
         [&](QString* e) {
             QString v;
             return s.ReadText(kTable, "", "f", v, e);
         },
         "标识无效"},
        {"WriteInt, empty record", [&](QString* e) { return s.WriteInt(kTable, "", "f", 1, e); },
         "标识无效"},
        {"WriteDateTime, empty record",
         [&](QString* e) { return s.WriteDateTime(kTable, "", "f", QDateTime(), e); }, "标识无效"},
        {"AddInt, empty record", [&](QString* e) { return s.AddInt(kTable, "", "f", 1, e); },
         "标识无效"},
        {"AddDouble, empty record", [&](QString* e) { return s.AddDouble(kTable, "", "f", 1, e); },
         "标识无效"},
        {"WriteText, empty record",
         [&](QString* e) { return s.WriteText(kTable, "", "f", "x", e); }, "表标识无效"},
        {"ReadDateTime, empty record",
         [&](QString* e) {
             QDateTime v;
             return s.ReadDateTime(kTable, "", "f", v, e);
         },
         "标识错误"},
        {"WriteText, empty text", [&](QString* e) { return s.WriteText(kTable, "r", "f", "", e); },
         "禁止空数据"},
        {"WriteBytes, empty bytes",
         [&](QString* e) { return s.WriteBytes(kTable, "r", "f", {}, e); }, "禁止空数据"},
        {"read never written",
         [&](QString* e) {
             std::int32_t v;
             return s.ReadInt(kTable, "r", "f", v, e);
         },
         "不存在"},
        {"read empty file",
         [&](QString* e) {
             QString v;
             return s.ReadText(kTable, "abc", "empty", v, e);
         },
         "读取失败"},
        {"add to a field never written",
         [&](QString* e) { return s.AddInt(kTable, "never", "f", 1, e); }, "读取失败"},
        {"read a directory",
         [&](QString* e) {
             QByteArray v;
             return s.ReadBytes(kTable, "abc", "dir", v, e);
         },
         "读取失败"},
        {"write onto a directory",
         [&](QString* e) { return s.WriteText(kTable, "abc", "dir", "x", e); }, "写入失败"},
        {"write into a table never created",
         [&](QString* e) { return s.WriteInt("无表", "r", "f", 1, e); }, "写入失败"},
        // Silent failures.
        {"ReadShort, empty record",
         [&](QString* e) {
             std::int16_t v;
             return s.ReadShort(kTable, "", "f", v, e);
         },
         kUnchanged},
        {"ReadBytes, empty record",
         [&](QString* e) {
             QByteArray v;
             return s.ReadBytes(kTable, "", "f", v, e);
         },
         kUnchanged},
        {"WriteBytes, empty record",
         [&](QString* e) { return s.WriteBytes(kTable, "", "f", "x", e); }, kUnchanged},
        {"DeleteField, empty record", [&](QString* e) { return s.DeleteField(kTable, "", "f", e); },
         kUnchanged},
        {"RecordPath, empty record",
         [&](QString* e) { return !s.RecordPath(kTable, "", e).isEmpty(); }, kUnchanged},
        {"DeleteField, record never written",
         [&](QString* e) { return s.DeleteField(kTable, "unwritten", "f", e); }, kUnchanged},
    };
    for (const Case& c : cases) {
        QString error = kUnchanged;
        EXPECT_FALSE(c.operation(&error)) << c.what;
        EXPECT_EQ(error, c.error) << c.what;
    }
}

TEST_F(TableStoreTest, ReadDateTimeWithoutRecordGivesNow) {
    QDateTime value;
    const QDateTime before = QDateTime::currentDateTime();
    EXPECT_FALSE(store.ReadDateTime(kTable, "", kField, value));
    EXPECT_GE(value, before);
    EXPECT_LE(value, QDateTime::currentDateTime());
}

// ---- typed values ----

TEST_F(TableStoreTest, TypedRoundTripsStoreTheValueBytesOnly) {
    const QDateTime when(QDate(2024, 5, 6), QTime(7, 8, 9, 10));
    const TableStore& s = store;
    struct Case {
        const char* field;
        std::function<bool()> write;
        std::function<bool()> readBack;  // reads and compares with what was written
        QByteArray bytes;
    } cases[] = {
        {"short", [&] { return s.WriteShort(kTable, kRecord, "short", -2); },
         [&] {
             std::int16_t v = 0;
             return s.ReadShort(kTable, kRecord, "short", v) && v == -2;
         },
         Bytes({0xFE, 0xFF})},
        {"byte", [&] { return s.WriteByte(kTable, kRecord, "byte", 200); },
         [&] {
             std::uint8_t v = 0;
             return s.ReadByte(kTable, kRecord, "byte", v) && v == 200;
         },
         Bytes({0xC8})},
        {"int", [&] { return s.WriteInt(kTable, kRecord, "int", -123456); },
         [&] {
             std::int32_t v = 0;
             return s.ReadInt(kTable, kRecord, "int", v) && v == -123456;
         },
         Bytes({0xC0, 0x1D, 0xFE, 0xFF})},
        {"float", [&] { return s.WriteFloat(kTable, kRecord, "float", 1.5f); },
         [&] {
             float v = 0;
             return s.ReadFloat(kTable, kRecord, "float", v) && v == 1.5f;
         },
         Bytes({0x00, 0x00, 0xC0, 0x3F})},
        {"bool", [&] { return s.WriteBool(kTable, kRecord, "bool", true); },
         [&] {
             bool v = false;
             return s.ReadBool(kTable, kRecord, "bool", v) && v;
         },
         Bytes({1, 0, 0, 0})},
        {"text", [&] { return s.WriteText(kTable, kRecord, "text", "用户|a b"); },
         [&] {
             QString v;
             return s.ReadText(kTable, kRecord, "text", v) && v == "用户|a b";
         },
         Bytes({0xD3, 0xC3, 0xBB, 0xA7, '|', 'a', ' ', 'b'})},
        {"bytes",
         [&] {
             return s.WriteBytes(kTable, kRecord, "bytes", Bytes({0, 1, 0xFF}));
         },
         [&] {
             QByteArray v;
             return s.ReadBytes(kTable, kRecord, "bytes", v) && v == Bytes({0, 1, 0xFF});
         },
         Bytes({0, 1, 0xFF})},
        {"int64", [&] { return s.WriteInt64(kTable, kRecord, "int64", -2); },
         [&] {
             std::int64_t v = 0;
             return s.ReadInt64(kTable, kRecord, "int64", v) && v == -2;
         },
         Bytes({0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})},
        {"date", [&] { return s.WriteDateTime(kTable, kRecord, "date", when); },
         [&] {
             QDateTime v;
             return s.ReadDateTime(kTable, kRecord, "date", v) && v == when;
         },
         QByteArray()},  // checked through the OLE values below
        {"double", [&] { return s.WriteDouble(kTable, kRecord, "double", -0.25); },
         [&] {
             double v = 0;
             return s.ReadDouble(kTable, kRecord, "double", v) && v == -0.25;
         },
         Bytes({0, 0, 0, 0, 0, 0, 0xD0, 0xBF})},
        {"address", [&] { return s.WriteCodeAddress(kTable, kRecord, "address", 0xDEADBEEF); },
         [&] {
             std::uint32_t v = 0;
             return s.ReadCodeAddress(kTable, kRecord, "address", v) && v == 0xDEADBEEF;
         },
         Bytes({0xEF, 0xBE, 0xAD, 0xDE})},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.write()) << c.field;
        EXPECT_TRUE(c.readBack()) << c.field;
        if (!c.bytes.isEmpty()) {
            EXPECT_EQ(FileBytes(FieldFile(kRecord, c.field)), c.bytes) << c.field;
        }
    }
    EXPECT_EQ(FileBytes(FieldFile(kRecord, "date")).size(), 8);
}

TEST(OleDateTest, DaysSince1899WithTheTimeAsFraction) {
    struct Case {
        QDateTime when;
        double days;
    } cases[] = {
        {QDateTime(QDate(1899, 12, 30), QTime(0, 0)), 0.0},
        {QDateTime(QDate(1900, 1, 1), QTime(0, 0)), 2.0},
        {QDateTime(QDate(1899, 12, 30), QTime(12, 0)), 0.5},
        {QDateTime(QDate(1899, 12, 29), QTime(6, 0)), -1.25},
        {QDateTime(QDate(2000, 1, 1), QTime(18, 0)), 36526.75},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(TableStore::ToOleDate(c.when), c.days) << c.days;
        EXPECT_EQ(TableStore::FromOleDate(c.days), c.when) << c.days;
    }
    // Nearly midnight rounds to the next day rather than to an invalid time.
    EXPECT_EQ(TableStore::FromOleDate(1.0 - 1e-12), QDateTime(QDate(1899, 12, 31), QTime(0, 0)));
    EXPECT_FALSE(TableStore::FromOleDate(std::numeric_limits<double>::quiet_NaN()).isValid());
    EXPECT_FALSE(TableStore::FromOleDate(1e300).isValid());
}

TEST_F(TableStoreTest, ShortFilesReadAsTheLowBytesAndLongOnesAreCut) {
    ASSERT_TRUE(store.WriteBytes(kTable, kRecord, "two", Bytes({0x34, 0x12})));
    std::int32_t i = 0;
    std::int64_t l = 0;
    ASSERT_TRUE(store.ReadInt(kTable, kRecord, "two", i));
    ASSERT_TRUE(store.ReadInt64(kTable, kRecord, "two", l));
    EXPECT_EQ(i, 0x1234);
    EXPECT_EQ(l, 0x1234);

    ASSERT_TRUE(store.WriteBytes(kTable, kRecord, "long", Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9})));
    std::int16_t s = 0;
    ASSERT_TRUE(store.ReadShort(kTable, kRecord, "long", s));
    EXPECT_EQ(s, 0x0201);

    ASSERT_TRUE(store.WriteBytes(kTable, kRecord, "zero", QByteArray("ab\0cd", 5)));
    QString text;
    ASSERT_TRUE(store.ReadText(kTable, kRecord, "zero", text));
    EXPECT_EQ(text, "ab");
}

TEST_F(TableStoreTest, ReaderRidesOverAnEmptyFileThatAnotherWriterFills) {
    ASSERT_TRUE(store.WriteText(kTable, kRecord, kField, "old"));
    const QString file = FieldFile(kRecord, kField);
    ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly | QIODevice::Truncate));  // now empty

    std::thread writer([file] {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        QFile out(file);
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            out.write("new");
        }
    });
    QString value;
    QString error;
    const bool read = store.ReadText(kTable, kRecord, kField, value, &error);
    writer.join();
    EXPECT_TRUE(read) << error.toStdString();
    EXPECT_EQ(value, "new");
}

TEST_F(TableStoreTest, WriteTextWithEmptyTextKeepsTheOldContent) {
    ASSERT_TRUE(store.WriteText(kTable, kRecord, kField, "旧"));
    QString error;
    EXPECT_FALSE(store.WriteText(kTable, kRecord, kField, "", &error));
    EXPECT_EQ(error, "禁止空数据");
    EXPECT_EQ(FileBytes(FieldFile(kRecord, kField)), Bytes({0xBE, 0xC9}));
}

TEST_F(TableStoreTest, AFieldFileThatIsADirectoryIsLeftAlone) {
    const QString file = FieldFile(kRecord, kField);
    ASSERT_TRUE(QDir().mkpath(file + "/inside"));
    QString error;
    EXPECT_FALSE(store.WriteText(kTable, kRecord, kField, "x", &error));
    EXPECT_EQ(error, "写入失败");
    EXPECT_FALSE(store.AddInt(kTable, kRecord, kField, 1, &error));
    EXPECT_EQ(error, "读取失败");
    EXPECT_FALSE(store.DeleteField(kTable, kRecord, kField));
    EXPECT_TRUE(QFileInfo(file + "/inside").isDir());
}

// ---- adds ----

TEST_F(TableStoreTest, ConcurrentAddsLoseNoUpdate) {
    ASSERT_TRUE(store.WriteInt(kTable, kRecord, "count", 0));
    ASSERT_TRUE(store.WriteDouble(kTable, kRecord, "sum", 0));
    constexpr int kThreads = 4;
    constexpr int kAdds = 50;
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([this, &failures] {
            const TableStore own = store;  // one object per thread, as the client does
            for (int i = 0; i < kAdds; ++i) {
                if (!own.AddInt(kTable, kRecord, "count", 1) ||
                    !own.AddDouble(kTable, kRecord, "sum", 0.5)) {
                    ++failures;
                }
            }
        });
    }
    for (std::thread& t : threads) {
        t.join();
    }
    EXPECT_EQ(failures, 0);
    std::int32_t count = 0;
    double sum = 0;
    ASSERT_TRUE(store.ReadInt(kTable, kRecord, "count", count));
    ASSERT_TRUE(store.ReadDouble(kTable, kRecord, "sum", sum));
    EXPECT_EQ(count, kThreads * kAdds);
    EXPECT_EQ(sum, kThreads * kAdds * 0.5);
}

TEST_F(TableStoreTest, AddsConvertTheStoredValueBySize) {
    const TableStore& s = store;
    struct Case {
        QString record;
        std::function<bool(const QString&)> write;
        std::function<bool(const QString&)> add;
        QByteArray bytes;  // the field file afterwards
    } cases[] = {
        {"short + int", [&](const QString& r) { return s.WriteShort(kTable, r, "f", -1); },
         [&](const QString& r) { return s.AddInt(kTable, r, "f", 3); }, Bytes({2, 0, 0, 0})},
        {"byte + int", [&](const QString& r) { return s.WriteByte(kTable, r, "f", 250); },
         [&](const QString& r) { return s.AddInt(kTable, r, "f", 10); }, Bytes({4, 1, 0, 0})},
        {"int64 + int", [&](const QString& r) { return s.WriteInt64(kTable, r, "f", 7); },
         [&](const QString& r) { return s.AddInt(kTable, r, "f", -8); },
         Bytes({0xFF, 0xFF, 0xFF, 0xFF})},
        {"int + int at the top",
         [&](const QString& r) { return s.WriteInt(kTable, r, "f", 2147483647); },
         [&](const QString& r) { return s.AddInt(kTable, r, "f", 1); },
         Bytes({0xFF, 0xFF, 0xFF, 0x7F})},
        {"float + double", [&](const QString& r) { return s.WriteFloat(kTable, r, "f", 1.5f); },
         [&](const QString& r) { return s.AddDouble(kTable, r, "f", 0.25); },
         Bytes({0, 0, 0, 0, 0, 0, 0xFC, 0x3F})},
        {"short + double", [&](const QString& r) { return s.WriteShort(kTable, r, "f", -3); },
         [&](const QString& r) { return s.AddDouble(kTable, r, "f", 0.5); },
         Bytes({0, 0, 0, 0, 0, 0, 0x04, 0xC0})},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.write(c.record)) << c.record.toStdString();
        ASSERT_TRUE(c.add(c.record)) << c.record.toStdString();
        EXPECT_EQ(FileBytes(FieldFile(c.record, "f")), c.bytes) << c.record.toStdString();
    }
}

// ---- stores and tables ----

TEST_F(TableStoreTest, CreateStoreOnAnExistingDirectoryLeavesTheObjectOpen) {
    TableStore again;
    QString error = kUnchanged;
    EXPECT_FALSE(again.CreateStore(kRoot, kStore, &error));
    EXPECT_EQ(error, kUnchanged);
    EXPECT_TRUE(again.IsOpen());
    EXPECT_TRUE(again.CreateTable("归属地"));
    EXPECT_TRUE(QFileInfo(Drive() + "/设置/归属地").isDir());
}

TEST_F(TableStoreTest, AStoreFolderThatCannotBeCreated) {
    QFile blocker(Drive() + "/blocker");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    TableStore blocked;
    EXPECT_FALSE(blocked.CreateStore("C:\\blocker", kStore));
    EXPECT_TRUE(blocked.IsOpen());
    QString error;
    EXPECT_FALSE(blocked.CreateTable(kTable, &error));
    EXPECT_EQ(error, "创建表失败");
    EXPECT_FALSE(blocked.WriteText(kTable, kRecord, kField, "x", &error));
    EXPECT_EQ(error, "写入失败");
    TableStore other;
    EXPECT_FALSE(other.OpenStore("C:\\blocker", kStore));
    EXPECT_FALSE(other.IsOpen());
}

// ---- private files ----

// The rights of a path as the system has them, e.g. 0700.
mode_t Rights(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return 01000;  // missing: matches no rights
    }
    return info.st_mode & 0777;
}

class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : previous_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(previous_); }
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

private:
    mode_t previous_;
};

// Every folder and file under `dir`, its own included, with its rights and
// (for files) bytes.
struct Entry {
    QString path;
    mode_t rights;
    QByteArray bytes;
    bool operator==(const Entry&) const = default;
};

void PrintTo(const Entry& entry, std::ostream* os) {
    *os << entry.path.toStdString() << " 0" << std::oct << entry.rights << std::dec << " "
        << entry.bytes.toHex().toStdString();
}

std::vector<Entry> Tree(const QString& dir) {
    std::vector<Entry> entries{{dir, Rights(dir), {}}};
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const bool isDir = QFileInfo(path).isDir();
        entries.push_back({path, Rights(path), isDir ? QByteArray() : FileBytes(path)});
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.path < b.path; });
    return entries;
}

std::vector<std::pair<QString, mode_t>> FolderRights(const std::vector<Entry>& entries) {
    std::vector<std::pair<QString, mode_t>> rights;
    for (const Entry& entry : entries) {
        if (QFileInfo(entry.path).isDir()) {
            rights.emplace_back(entry.path, entry.rights);
        }
    }
    return rights;
}

// The same tree with other rights: what an earlier version or the user left.
void SetRights(const QString& dir, mode_t dirRights, mode_t fileRights) {
    for (const Entry& entry : Tree(dir)) {
        const bool isDir = QFileInfo(entry.path).isDir();
        ASSERT_EQ(
            ::chmod(QFile::encodeName(entry.path).constData(), isDir ? dirRights : fileRights), 0);
    }
}

std::vector<Entry> WithRights(std::vector<Entry> entries, mode_t dirRights, mode_t fileRights) {
    for (Entry& entry : entries) {
        entry.rights = QFileInfo(entry.path).isDir() ? dirRights : fileRights;
    }
    return entries;
}

class PrivateStoreTest : public ::testing::TestWithParam<mode_t> {
protected:
    test::TempLocations locations;
};

TEST_P(PrivateStoreTest, NewFoldersAndFilesAreTheOwnersOnlyWhateverTheUmask) {
    ScopedUmask umask(GetParam());
    TableStore store;
    ASSERT_TRUE(store.CreateStore(kRoot, kStore));
    ASSERT_TRUE(store.CreateTable(kTable));
    ASSERT_TRUE(store.WriteText(kTable, kRecord, kField, "ab|用户"));
    ASSERT_TRUE(store.WriteInt(kTable, "abc", "次数", 7));
    ASSERT_TRUE(store.AddInt(kTable, "abc", "次数", 1));

    const QString dir = locations.DriveRoot() + "/设置";
    const std::vector<Entry> tree = Tree(dir);
    EXPECT_EQ(tree, WithRights(tree, 0700, 0600));
    // Only the rights are new: the names and bytes are those of every version.
    EXPECT_EQ(FileBytes(dir + "/商户信息/211195/187167/用户.数据"),
              Bytes({'a', 'b', '|', 0xD3, 0xC3, 0xBB, 0xA7}));
    EXPECT_EQ(FileBytes(dir + "/商户信息/9798/99/次数.数据"), Bytes({8, 0, 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(Umasks, PrivateStoreTest, ::testing::Values(022, 0, 002, 077, 0222),
                         [](const auto& info) {
                             return "Umask0" + QString::number(info.param, 8).toStdString();
                         });

TEST_F(TableStoreTest, AStoreOpenToOthersIsMadePrivateAtTheNextSave) {
    ASSERT_TRUE(store.WriteText(kTable, kRecord, kField, "旧"));
    ASSERT_TRUE(store.WriteText(kTable, "abc", "其他", "不动"));
    ASSERT_TRUE(store.CreateTable("空表"));
    const QString dir = Drive() + "/设置";
    SetRights(dir, 0755, 0644);
    const std::vector<Entry> before = Tree(dir);

    ASSERT_TRUE(store.WriteText(kTable, kRecord, kField, "新"));

    // Everything in it, not only the file saved; the other field keeps its bytes.
    std::vector<Entry> expected = WithRights(before, 0700, 0600);
    for (Entry& entry : expected) {
        if (entry.path.endsWith("/用户.数据")) {
            entry.bytes = Bytes({0xD0, 0xC2});
        }
    }
    EXPECT_EQ(Tree(dir), expected);
}

TEST_F(TableStoreTest, AReadOnlyStoreStaysReadOnly) {
    ASSERT_TRUE(store.WriteText(kTable, kRecord, kField, "旧"));
    const QString dir = Drive() + "/设置";
    SetRights(dir, 0555, 0444);
    const std::vector<Entry> before = Tree(dir);

    QString error;
    const bool saved = store.WriteText(kTable, kRecord, kField, "新", &error);

    // Others lose their rights; the owner gains none, so the save still fails
    // and the old value is kept. (The system's administrator writes anyway.)
    const std::vector<Entry> after = Tree(dir);
    SetRights(dir, 0700, 0600);  // lets the temporary folder go
    EXPECT_EQ(FolderRights(after), FolderRights(WithRights(before, 0500, 0400)));
    if (::geteuid() != 0) {
        EXPECT_FALSE(saved);
        EXPECT_EQ(error, "写入失败");
        EXPECT_EQ(after, WithRights(before, 0500, 0400));
    }
}

TEST_F(TableStoreTest, OpenStoreNeedsTheDirectoryAndKeepsTheOldTextsOtherwise) {
    TableStore s;
    EXPECT_TRUE(s.OpenStore(kRoot, kStore));
    EXPECT_FALSE(s.OpenStore(kRoot, "无"));
    EXPECT_EQ(s.StoreName(), kStore);
    EXPECT_EQ(s.Root(), kRoot);
}

TEST_F(TableStoreTest, DeletesRemoveFieldsTablesAndStores) {
    ASSERT_TRUE(store.WriteText(kTable, kRecord, kField, "x"));
    EXPECT_TRUE(store.DeleteField(kTable, kRecord, kField));
    QString value;
    QString error;
    EXPECT_FALSE(store.ReadText(kTable, kRecord, kField, value, &error));
    EXPECT_EQ(error, "不存在");

    ASSERT_TRUE(store.WriteText(kTable, kRecord, kField, "x"));
    EXPECT_TRUE(store.DeleteTable(kTable));
    EXPECT_FALSE(QFileInfo::exists(Drive() + "/设置/商户信息"));

    EXPECT_FALSE(store.DeleteStore(kRoot, ""));
    EXPECT_FALSE(store.DeleteStore(kRoot, ".."));
    EXPECT_FALSE(store.DeleteStore(kRoot, "无"));
    EXPECT_TRUE(store.DeleteStore(kRoot, kStore));
    EXPECT_FALSE(QFileInfo::exists(Drive() + "/设置"));
    EXPECT_TRUE(QFileInfo(Drive()).isDir());
    EXPECT_TRUE(store.IsOpen());  // its texts are not touched
}

}  // namespace
}  // namespace lanxun
