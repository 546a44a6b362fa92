#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "platform/process.h"
#include "support/fake_services.h"

namespace lanxun {
namespace {

// Runs copies of /bin/sleep under a file name no other process has.
class Sleepers : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        name_ = QStringLiteral("lanxun-sleeper-%1").arg(QCoreApplication::applicationPid());
        path_ = dir_.filePath(name_);
        ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), path_));
    }

    void TearDown() override {
        for (auto& process : processes_) {
            process->kill();
            process->waitForFinished(10000);
        }
    }

    QProcess& StartSleeper() {
        processes_.push_back(std::make_unique<QProcess>());
        QProcess& process = *processes_.back();
        process.start(path_, {QStringLiteral("600")});
        EXPECT_TRUE(process.waitForStarted(10000));
        return process;
    }

    static bool Ended(QProcess& process) { return process.waitForFinished(10000); }

    QTemporaryDir dir_;
    QString name_;
    QString path_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

TEST_F(Sleepers, EndsTheProcessWithThatExecutableName) {
    QProcess& sleeper = StartSleeper();
    EXPECT_TRUE(TerminateProcessByName(name_));
    EXPECT_TRUE(Ended(sleeper));
    EXPECT_EQ(sleeper.exitStatus(), QProcess::CrashExit);  // killed, not finished
}

TEST_F(Sleepers, IgnoresLetterCaseUnlessAskedNotTo) {
    QProcess& sleeper = StartSleeper();
    EXPECT_FALSE(TerminateProcessByName(name_.toUpper(), /*caseSensitive=*/true));
    EXPECT_EQ(sleeper.state(), QProcess::Running);
    EXPECT_TRUE(TerminateProcessByName(name_.toUpper()));
    EXPECT_TRUE(Ended(sleeper));
}

TEST_F(Sleepers, NoMatchingProcessGivesFalse) {
    QProcess& sleeper = StartSleeper();
    EXPECT_FALSE(TerminateProcessByName(name_ + QStringLiteral("x")));
    EXPECT_FALSE(TerminateProcessByName(name_.left(name_.size() - 1)));
    EXPECT_EQ(sleeper.state(), QProcess::Running);
}

TEST_F(Sleepers, EndsOnlyTheFirstOfTwoCopiesInProcessTableOrder) {
    QProcess& a = StartSleeper();
    QProcess& b = StartSleeper();
    QProcess& first = a.processId() < b.processId() ? a : b;
    QProcess& second = a.processId() < b.processId() ? b : a;
    EXPECT_TRUE(TerminateProcessByName(name_));
    EXPECT_TRUE(Ended(first));
    EXPECT_EQ(second.state(), QProcess::Running);

    EXPECT_TRUE(TerminateProcessByName(name_));
    EXPECT_TRUE(Ended(second));
    EXPECT_FALSE(TerminateProcessByName(name_));
}

TEST_F(Sleepers, FindsAProcessWhoseExecutableWasReplaced) {
    // After an update the old executable has been renamed or deleted under the running process.
    QProcess& sleeper = StartSleeper();
    ASSERT_TRUE(QFile::remove(path_));
    EXPECT_TRUE(TerminateProcessByName(name_));
    EXPECT_TRUE(Ended(sleeper));
}

TEST(OwnProcess, NameIsTheRunningExecutablesFileName) {
    EXPECT_EQ(OwnExecutableName(), QFileInfo(QCoreApplication::applicationFilePath()).fileName());
}

// The child program of these tests, run from a copy of its own.
class OwnProcessChild : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    // Runs the child with `arguments` from `path` and waits for its end.
    void Run(const QString& path, const QStringList& arguments) {
        child_.start(path, arguments);
        ASSERT_TRUE(child_.waitForFinished(60000)) << child_.errorString().toStdString();
    }

    QTemporaryDir dir_;
    QProcess child_;
};

TEST_F(OwnProcessChild, EndsAtOnceWithExitCodeZeroAndNoCleanUp) {
    const QString marker = dir_.filePath(QStringLiteral("clean-ups that ran"));
    Run(QStringLiteral(OWN_PROCESS_CHILD), {QStringLiteral("end"), marker});
    EXPECT_EQ(child_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child_.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(child_.readAllStandardOutput()), QString()) << "stdio was flushed";
    QFile ran(marker);
    EXPECT_FALSE(ran.exists()) << (ran.open(QIODevice::ReadOnly) ? ran.readAll().toStdString()
                                                                 : std::string());
}

TEST_F(OwnProcessChild, NameStaysAfterTheRunningFileIsRenamed) {
    // As the self-update does: the running client's file becomes name + ".gx".
    const QString path = dir_.filePath(QStringLiteral("lanxun-renamed-child"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(OWN_PROCESS_CHILD), path));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner));
    Run(path, {QStringLiteral("rename"), path + QStringLiteral(".gx")});
    ASSERT_EQ(child_.exitCode(), 0);
    ASSERT_TRUE(QFileInfo::exists(path + QStringLiteral(".gx")));
    EXPECT_EQ(QString::fromUtf8(child_.readAllStandardOutput()),
              QStringLiteral("lanxun-renamed-child"));
}

TEST(OwnProcess, AServiceInstalledByATestIsUsed) {
    test::RecordingProcessExit recorder;
    InstallProcessExit(&recorder);  // the test main puts the real one back
    EndOwnProcess();
    EXPECT_EQ(recorder.calls, 1);
}

}  // namespace
}  // namespace lanxun
