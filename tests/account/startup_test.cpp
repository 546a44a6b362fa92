#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "account/startup.h"
#include "account/table_store.h"
#include "platform/process.h"
#include "support/temp_locations.h"

namespace lanxun {
namespace {

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
}

class StartupTest : public ::testing::Test {
protected:
    QString SavedLoginFile() const {
        return locations.DriveRoot() + "/设置/商户信息/211195/187167/用户.数据";
    }
    test::TempLocations locations;
};

TEST_F(StartupTest, StoreSetUpMakesTheFourTablesAndCanRunAgain) {
    SetUpSettingsStore();
    SetUpSettingsStore();
    for (const char* table : {"归属地", "用户", "标识", "商户信息"}) {
        EXPECT_TRUE(QFileInfo(locations.DriveRoot() + "/设置/" + QString::fromUtf8(table)).isDir())
            << table;
    }
}

TEST_F(StartupTest, SavedLoginIsGbkAtThePathOfTheLevelsAndReadsBack) {
    SetUpSettingsStore();
    SaveLogin("demo01", "密码|x");
    const QByteArray expected = QByteArray("demo01|") + QByteArray("\xC3\xDC\xC2\xEB") + "|x";
    EXPECT_EQ(FileBytes(SavedLoginFile()), expected);
    EXPECT_EQ(ReadSavedLogin(), "demo01|密码|x");
}

TEST_F(StartupTest, NoStoreMeansNoSavedLogin) {
    EXPECT_EQ(ReadSavedLogin(), "");
    SaveLogin("demo01", "secret");  // the store was never set up: nothing is written
    EXPECT_FALSE(QFileInfo::exists(SavedLoginFile()));
}

TEST_F(StartupTest, UnreadableSavedLoginReadsAsNone) {
    SetUpSettingsStore();
    ASSERT_TRUE(QDir().mkpath(SavedLoginFile()));  // a directory where the file belongs
    EXPECT_EQ(ReadSavedLogin(), "");
}

TEST(RestoreSavedLoginTest, PartsGoIntoTheBoxes) {
    struct Case {
        QString saved;
        QString userName, password;  // the boxes afterwards; they held "old" and "old"
    } cases[] = {
        {"", "", ""},
        {"demo01|secret", "demo01", "secret"},
        {"demo01|pass|word", "demo01", "pass"},
        {"|secret", "", "secret"},
        {"demo01|", "old", "old"},  // a trailing "|" adds no part
        {"demo01", "old", "old"},
        {"||", "", ""},
    };
    for (const Case& c : cases) {
        QString userName = "old";
        QString password = "old";
        RestoreSavedLogin(c.saved, userName, password);
        EXPECT_EQ(userName, c.userName) << c.saved.toStdString();
        EXPECT_EQ(password, c.password) << c.saved.toStdString();
    }
}

TEST_F(StartupTest, LeftoversOfAnUpdateAreDeletedAndNothingElse) {
    const QString run = locations.RunDirectory();
    const QStringList leftovers = {"新澄信.zip", "新澄信客户端.exe.gx",
                                   OwnExecutableName() + ".gx"};
    for (const QString& name : leftovers) {
        Touch(run + "/" + name);
    }
    Touch(run + "/" + OwnExecutableName());
    Touch(run + "/用户端.zip");

    DeleteUpdateLeftovers();
    for (const QString& name : leftovers) {
        EXPECT_FALSE(QFileInfo::exists(run + "/" + name)) << name.toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(run + "/" + OwnExecutableName()));
    EXPECT_TRUE(QFileInfo::exists(run + "/用户端.zip"));

    DeleteUpdateLeftovers();  // nothing left to delete: no complaint
    Touch(run + "/" + OwnExecutableName() + ".gx");
    DeleteOldExecutable();
    EXPECT_FALSE(QFileInfo::exists(run + "/" + OwnExecutableName() + ".gx"));
}

}  // namespace
}  // namespace lanxun
