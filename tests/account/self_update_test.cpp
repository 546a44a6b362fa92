#include <gtest/gtest.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include "account/login_controller.h"
#include "account/self_update.h"
#include "api/http_request.h"
#include "platform/downloader.h"
#include "platform/gbk.h"
#include "platform/process.h"
#include "support/fake_services.h"
#include "support/sim_lines.h"
#include "support/sim_test.h"
#include "support/temp_locations.h"
#include "zip_builder.h"

namespace lanxun {
namespace {

using platformsim::Line;
using platformsim::ScriptedReply;

constexpr int kWaitMs = 60000;
const QString kUnpacking = QStringLiteral("文件正在解压中，请稍后...");
const QString kUpdateFailed = QStringLiteral("自动更新失败，请前往官网重新下载");

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

using Entries = std::vector<platformsim::ZipEntry>;

std::string Archive(const std::string& program) {
    return platformsim::BuildStoredZip(Entries{{OwnExecutableName().toStdString(), program}});
}

ScriptedReply RawReply(const std::string& raw) {
    ScriptedReply reply;
    reply.raw = raw;
    return reply;
}

ScriptedReply ClosingReply() {
    ScriptedReply reply;
    reply.closeWithoutReply = true;
    return reply;
}

TEST(VersionFileTest, OfferedVersionIsTheTextAfterTheLastMarker) {
    struct Case {
        const char* reply;
        bool marker;
        const char* offered;
        bool update;
    };
    const Case cases[] = {
        {"版本号:6.6", true, "6.6", false},
        {"版本号:6.6\r\n", true, "6.6\r\n", true},
        {"版本号:6.7", true, "6.7", true},
        {"版本号:6.5", true, "6.5", true},  // a lower version updates too
        {"版本号: 6.6", true, " 6.6", true},
        {"版本号", true, "", true},
        {"版本号:", true, "", true},
        {"版本号:6.7 old 版本号:6.6", true, "6.6", false},
        {"版本号:6.6 new 版本号:6.7", true, "6.7", true},
        {"", false, "", false},
        {"6.7", false, "", false},
        {"<html>not found</html>", false, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        const std::optional<QString> offered = OfferedVersion(QString::fromUtf8(c.reply));
        ASSERT_EQ(offered.has_value(), c.marker);
        if (c.marker) {
            EXPECT_EQ(*offered, QString::fromUtf8(c.offered));
        }
        EXPECT_EQ(UpdateOffered(QString::fromUtf8(c.reply)), c.update);
    }
}

// The run directory holds the running program under its name; the update host
// is the local platform's.
class SelfUpdateTest : public test::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        Write(Program(), "old program");
    }

    QString Host() const { return QString::fromStdString(sim_->Address(Line::Update)); }
    QString RunDir() const { return locations_.RunDirectory(); }
    QString Program() const { return RunDir() + u'/' + OwnExecutableName(); }
    QString OldProgram() const { return Program() + ".gx"; }
    void ScriptVersion(const QByteArray& body) {
        sim_->Script("/yh.txt", {.body = body.toStdString()});
    }

    // The version check as the start-up runs it; true when the update window opened.
    bool CheckOpensWindow(bool* tookOver = nullptr) {
        HttpRequest request;
        bool opened = false;
        const bool result = RunVersionCheck(request, Host(), &loginWindow_, [&] { opened = true; });
        if (tookOver) {
            *tookOver = result;
        }
        return opened;
    }

    QStringList RunDirFiles() const {
        QStringList files = QDir(RunDir()).entryList(QDir::Files | QDir::Hidden | QDir::Dirs |
                                                     QDir::NoDotAndDotDot);
        files.sort();
        return files;
    }

    QWidget loginWindow_;
    test::TempLocations locations_;
    test::FakeServices fakes_;
    test::FastClock fastClock_{100};
    test::ScopedClock clock_{fastClock_};
};

TEST_F(SelfUpdateTest, VersionFilesFromTheHostDecideTheUpdate) {
    struct Case {
        const char* label;
        QByteArray body;
        bool update;
    };
    const QByteArray huge = QByteArray(2 * 1024 * 1024, 'x');
    const std::vector<Case> cases = {
        {"same version", ToGbk("版本号:6.6"), false},
        {"same version with CR LF", ToGbk("版本号:6.6\r\n"), true},
        {"marker without colon", ToGbk("版本号"), true},
        {"two markers, same last", ToGbk("版本号:6.7\n版本号:6.6"), false},
        {"newer", ToGbk("版本号:6.7"), true},
        {"many markers, same last", ToGbk("版本号:6.7").repeated(5000) + ToGbk("版本号:6.6"),
         false},
        {"empty", QByteArray(), false},
        {"binary, cut at its zero byte", ToGbk("版本号:6.6") + QByteArray("\0\xff\xfe", 3), false},
        {"binary without marker", QByteArray("\x89PNG\r\n\x1a\n\0\0", 10), false},
        {"huge without marker", huge, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Write(Program(), "old program");
        ScriptVersion(c.body);
        bool tookOver = false;
        EXPECT_EQ(CheckOpensWindow(&tookOver), c.update);
        EXPECT_EQ(tookOver, c.update);
        // The running program is moved aside exactly when an update starts.
        EXPECT_EQ(QFileInfo::exists(OldProgram()), c.update);
        EXPECT_EQ(QFileInfo::exists(Program()), !c.update);
        QFile::remove(OldProgram());
    }
    EXPECT_TRUE(fakes_.messageBoxes.shown.empty());
}

TEST_F(SelfUpdateTest, UnreachableHostMeansNoUpdate) {
    sim_->Script("/yh.txt", ClosingReply());
    EXPECT_FALSE(CheckOpensWindow());
    EXPECT_EQ(Read(Program()), "old program");
}

TEST_F(SelfUpdateTest, UpdatePathDeletesKyZipInTheRunDirectory) {
    Write(RunDir() + "/ky.zip", "old");
    ScriptVersion(ToGbk("版本号:6.7"));
    EXPECT_TRUE(CheckOpensWindow());
    EXPECT_FALSE(QFileInfo::exists(RunDir() + "/ky.zip"));
}

// The running file cannot be renamed: the failure message, no update window,
// and the start-up ends without the login window.
TEST_F(SelfUpdateTest, RenameThatFailsShowsItsMessageAndEndsTheStartUp) {
    ScriptVersion(ToGbk("版本号:6.7"));
    // A folder in the way of the new name stops even root's rename; the
    // start-up's clean-up deletes files only.
    ASSERT_TRUE(QDir(RunDir()).mkpath(OwnExecutableName() + ".gx/keep"));

    QWidget window;
    QLineEdit userName, password;
    LoginController controller({.window = &window,
                                .userName = &userName,
                                .password = &password,
                                .leftoverTimer = new QTimer(&window)});
    bool opened = false;
    controller.SetVersionCheck([&](HttpRequest& request) {
        return RunVersionCheck(request, Host(), &window, [&] { opened = true; });
    });
    EXPECT_FALSE(controller.RunStartup({}));
    EXPECT_FALSE(opened);
    EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList({kUpdateFailed}));
    EXPECT_EQ(fakes_.messageBoxes.shown.front().icon, MessageIcon::Question);
    EXPECT_EQ(Read(Program()), "old program");
}

// The login window's leftover timer deletes exeName + ".gx" every 100 ms; left
// running, it would delete the old program that a failed update puts back.
TEST_F(SelfUpdateTest, UpdateLeavesTheLoginWindowBeforeMovingTheProgram) {
    ScriptVersion(ToGbk("版本号:6.7"));
    QWidget window;
    QLineEdit userName, password;
    auto* leftoverTimer = new QTimer(&window);
    LoginController controller({.window = &window,
                                .userName = &userName,
                                .password = &password,
                                .leftoverTimer = leftoverTimer});
    bool opened = false;
    controller.SetVersionCheck([&](HttpRequest& request) {
        return RunVersionCheck(request, Host(), &window, [&] {
            opened = true;
            EXPECT_FALSE(leftoverTimer->isActive());
            EXPECT_EQ(Read(OldProgram()), "old program");
        });
    });
    EXPECT_FALSE(controller.RunStartup({}));
    EXPECT_TRUE(opened);
}

TEST_F(SelfUpdateTest, ReadOnlyRunDirectoryShowsTheFailureMessage) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may rename in a read-only folder";
    }
    ScriptVersion(ToGbk("版本号:6.7"));
    QFile::setPermissions(RunDir(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    bool tookOver = false;
    EXPECT_FALSE(CheckOpensWindow(&tookOver));
    QFile::setPermissions(RunDir(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(tookOver);
    EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList({kUpdateFailed}));
}

// The update window's controller on plain widgets, after the start-up moved
// the program aside.
class UpdateWindowTest : public SelfUpdateTest {
protected:
    void SetUp() override {
        SelfUpdateTest::SetUp();
        ASSERT_TRUE(QFile::rename(Program(), OldProgram()));
        progress_.setRange(0, 10);
    }

    std::unique_ptr<SelfUpdateController> StartWindow() {
        auto controller = std::make_unique<SelfUpdateController>(
            SelfUpdateController::Widgets{.window = &window_,
                                          .progress = &progress_,
                                          .status = &status_,
                                          .progressTimer = &timer_},
            Host());
        controller->Start();
        return controller;
    }
    bool WaitForStatus(const QString& text) {
        return QTest::qWaitFor([&] { return status_.text() == text; }, kWaitMs);
    }

    QWidget window_;
    QProgressBar progress_;
    QLabel status_;
    QTimer timer_;
};

TEST_F(UpdateWindowTest, WholeArchiveReplacesTheProgramStartsItAndEndsThisProcess) {
    const QString marker = RunDir() + "/started.txt";
    const std::string program = "#!/bin/sh\necho started > \"" + marker.toStdString() + "\"\n";
    ScriptedReply reply{.body = Archive(program)};
    reply.trickleGapMs = 1;
    reply.tricklePieceBytes = 16;
    sim_->Script("/ky.zip", reply);

    auto controller = StartWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return fakes_.processExit.calls > 0; }, kWaitMs));
    EXPECT_EQ(fakes_.processExit.calls, 1);
    EXPECT_EQ(status_.text(), "更新完成");
    EXPECT_EQ(Read(Program()).toStdString(), program);
    EXPECT_TRUE(QFileInfo(Program()).isExecutable());
    EXPECT_TRUE(fakes_.messageBoxes.shown.empty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(marker); }, kWaitMs));
    // The old program, the archive and its partial file are gone.
    EXPECT_EQ(RunDirFiles(), QStringList({"started.txt", OwnExecutableName()}));
    EXPECT_EQ(test::SimTargets(*sim_), QStringList({"/ky.zip"}));
}

TEST_F(UpdateWindowTest, ProgramThatCannotStartIsReportedAndThisProcessEndsAnyway) {
    sim_->Script("/ky.zip", {.body = Archive("not a program for this system")});
    auto controller = StartWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return fakes_.processExit.calls > 0; }, kWaitMs));
    EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList({"已更新完毕从新打开本程序"}));
    EXPECT_EQ(Read(Program()), "not a program for this system");
}

// Whatever goes wrong before the new program is in place, the old one is put
// back under its name, the user is told, nothing outside the folder changes and
// this process is not ended.
TEST_F(UpdateWindowTest, FailedUpdatesKeepTheOldProgram) {
    const std::string exe = OwnExecutableName().toStdString();
    const std::string good = Archive("new");
    const std::vector<std::pair<const char*, ScriptedReply>> cases = {
        {"truncated", {.body = good.substr(0, good.size() / 2)}},
        {"not a zip", {.body = "<html>502 bad gateway</html>"}},
        {"zero bytes", {.body = ""}},
        {"zip slip",
         {.body = platformsim::BuildStoredZip(Entries{{exe, "new"}, {"../escaped", "x"}})}},
        {"absolute entry",
         {.body = platformsim::BuildStoredZip(
              Entries{{exe, "new"}, {(RunDir() + "/../abs").toStdString(), "x"}})}},
        {"without the program",
         {.body = platformsim::BuildStoredZip(Entries{{"中文名.txt", "x"}})}},
        {"host stops mid-way",
         RawReply("HTTP/1.1 200 OK\r\nContent-Length: 9000\r\n\r\nPK\x03\x04")},
    };
    for (const auto& [label, reply] : cases) {
        SCOPED_TRACE(label);
        status_.clear();
        sim_->Script("/ky.zip", reply);
        {
            auto controller = StartWindow();
            ASSERT_TRUE(WaitForStatus(kUpdateFailed));
            EXPECT_EQ(Read(Program()), "old program");
            EXPECT_FALSE(QFileInfo::exists(OldProgram()));
            EXPECT_EQ(RunDirFiles(), QStringList({OwnExecutableName()}));
            EXPECT_FALSE(timer_.isActive());  // the message stays
        }
        EXPECT_EQ(QDir(RunDir() + "/..").entryList(QDir::Files), QStringList());
        EXPECT_EQ(fakes_.processExit.calls, 0);
        ASSERT_TRUE(QFile::rename(Program(), OldProgram()));
    }
}

TEST_F(UpdateWindowTest, ClosingTheWindowDuringTheDownloadPutsTheOldProgramBack) {
    ScriptedReply reply{.body = Archive("new")};
    reply.trickleGapMs = 60000;
    sim_->Script("/ky.zip", reply);
    auto controller = StartWindow();
    ASSERT_TRUE(sim_->WaitForRequests(1, std::chrono::milliseconds(kWaitMs)));
    controller.reset();
    EXPECT_EQ(Read(Program()), "old program");
    EXPECT_EQ(RunDirFiles(), QStringList({OwnExecutableName()}));
}

TEST_F(UpdateWindowTest, ArchiveLeftWholeByAnEarlierRunIsUnpackedAtOnce) {
    ScriptedReply reply{.body = Archive("new")};
    reply.trickleGapMs = 60000;
    sim_->Script("/ky.zip", reply);
    Write(UpdateArchivePath(), QByteArray::fromStdString(Archive("left over")));
    auto controller = StartWindow();
    EXPECT_EQ(status_.text(), kUnpacking);
    EXPECT_EQ(Read(Program()), "left over");
    EXPECT_FALSE(QFileInfo::exists(UpdateArchivePath()));
}

// A download whose size and progress the test sets.
class SetDownload : public Download {
public:
    qint64 ReceivedBytes() const override { return received; }
    qint64 received = 0;
};

class SetDownloads : public DownloadService {
public:
    std::unique_ptr<Download> Start(const QString&, const QString&, const DownloadSettings&,
                                    DownloadReports given) override {
        auto download = std::make_unique<SetDownload>();
        current = download.get();
        reports = std::move(given);
        return download;
    }
    SetDownload* current = nullptr;
    DownloadReports reports;
};

// Each tick the bar shows the rounded tenth received and leads it by one step,
// up to 10; the downloading text shows while it leads.
TEST_F(UpdateWindowTest, ProgressTickLeadsTheReceivedTenthByOneStep) {
    SetDownloads downloads;
    InstallDownloads(&downloads);
    auto controller = StartWindow();
    EXPECT_EQ(timer_.interval(), 1000);
    EXPECT_TRUE(timer_.isActive());

    struct Case {
        qint64 received;
        qint64 total;  // 0: not known yet
        int bar;
        bool leads;  // the bar was advanced and the text shown
    };
    const Case cases[] = {
        {0, 0, 1, true},         {500, 0, 1, true},       {0, 1000, 1, true},
        {449, 1000, 5, true},    {450, 1000, 6, true},    {1, 3, 4, true},
        {2, 3, 8, true},         {949, 1000, 10, true},   {950, 1000, 10, false},
        {1000, 1000, 10, false}, {5000, 1000, 10, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.received << "/" << c.total);
        status_.clear();
        if (c.total > 0) {
            downloads.reports.sizeKnown(c.total);
        }
        downloads.current->received = c.received;
        controller->ShowProgress();
        EXPECT_EQ(progress_.value(), c.bar);
        EXPECT_EQ(status_.text(), c.leads ? kUnpacking : QString());
    }
}

// The real download from the local update host, held in Start() until its file is in place,
// as a download that completes at once leaves it before the window's start-up goes on.
class CompletingAtOnce : public DownloadService {
public:
    explicit CompletingAtOnce(DownloadService& real) : real_(real) {}
    std::unique_ptr<Download> Start(const QString& url, const QString& file,
                                    const DownloadSettings& settings,
                                    DownloadReports reports) override {
        auto download = real_.Start(url, file, settings, std::move(reports));
        // No events meanwhile: the completion stays queued until the window has gone on.
        QDeadlineTimer deadline(kWaitMs);
        while (!QFileInfo::exists(file) && !deadline.hasExpired()) {
            QThread::yieldCurrentThread();
        }
        arrived = QFileInfo::exists(file);
        return download;
    }
    bool arrived = false;

private:
    DownloadService& real_;
};

// An archive left by an earlier run, whole or not, is dealt with before the download
// starts, so the new archive is the one unpacked even when it is complete at once.
TEST_F(UpdateWindowTest, ALeftoverArchiveNeverTakesTheNewDownloadsPlace) {
    const std::string leftOver = Archive("left over");
    const std::vector<std::pair<const char*, std::string>> leftovers = {
        {"whole", leftOver},
        {"empty", ""},
        {"cut", leftOver.substr(0, leftOver.size() / 2)},
        {"without the program", platformsim::BuildStoredZip(Entries{{"说明.txt", "x"}})},
    };
    sim_->Script("/ky.zip", {.body = Archive("new")});
    CompletingAtOnce downloads(Downloads());
    InstallDownloads(&downloads);
    for (const auto& [label, bytes] : leftovers) {
        SCOPED_TRACE(label);
        status_.clear();
        fakes_.processExit.calls = 0;
        Write(UpdateArchivePath(), QByteArray::fromStdString(bytes));
        {
            auto controller = StartWindow();
            ASSERT_TRUE(downloads.arrived);
            ASSERT_TRUE(QTest::qWaitFor(
                [&] { return fakes_.processExit.calls > 0 || status_.text() == kUpdateFailed; },
                kWaitMs));
            EXPECT_EQ(status_.text(), "更新完成");
            EXPECT_EQ(Read(Program()), "new");
            EXPECT_FALSE(QFileInfo::exists(UpdateArchivePath()));
        }
        ASSERT_TRUE(QFile::rename(Program(), OldProgram()));
    }
    InstallDownloads(nullptr);
}

}  // namespace
}  // namespace lanxun
