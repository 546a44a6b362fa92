// The client under faults: one row per fault, each with what must hold afterwards. A row
// sets the fault up, acts as the client does, and checks that nothing crashed, nothing
// hung past its time-out, nothing was lost or misplaced, and the reaction is the one the
// client gives to any failed request (the empty reply, a false result).

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include <signal.h>
#include <sys/mount.h>
#include <unistd.h>

#include "account/startup.h"
#include "api/endpoints.h"
#include "api/http_request.h"
#include "api/platform_call.h"
#include "api/server_lines.h"
#include "db/template_lookup_controller.h"
#include "faults/fault_bench.h"
#include "forwarding/x11_desktop.h"
#include "numbers/forwarding_controller.h"
#include "numbers/home_region.h"
#include "numbers/number_list.h"
#include "numbers/numbers_page_controller.h"
#include "numbers/poll_worker.h"
#include "numbers/region_worker.h"
#include "numbers/send_result_poller.h"
#include "numbers/send_sms_fixture.h"
#include "platform/file_locations.h"
#include "platform/x11_connection.h"
#include "platform/zip_extract.h"
#include "projects/picker_content.h"
#include "projects/project_pickers_controller.h"
#include "support/find_child.h"
#include "support/sim_lines.h"
#include "support/sim_reply.h"
#include "ui/main_window.h"

namespace lanxun {
namespace {

using test::FaultBench;
using test::Reply;

// Ends the program with the row's name when the action outlives its budget, so that a hang
// shows as this row rather than as a silent time-out of the whole program.
class HangWatch {
public:
    HangWatch(const char* name, int budgetMs)
        : thread_([this, name, budgetMs] {
              std::unique_lock<std::mutex> lock(mutex_);
              if (!done_.wait_for(lock, std::chrono::milliseconds(budgetMs),
                                  [this] { return finished_; })) {
                  std::fprintf(stderr, "fault row \"%s\" hung past %d ms\n", name, budgetMs);
                  std::abort();
              }
          }) {}
    ~HangWatch() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
        }
        done_.notify_all();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

// One fault: sets it up, acts as the client does under a watch for hangs, and checks what
// must hold.
struct Fault {
    const char* name;
    std::function<void(FaultBench&)> run;
};

void PrintTo(const Fault& fault, std::ostream* out) {
    *out << fault.name;
}

template <typename Row>
using Step = std::function<void(FaultBench&, Row&)>;

// A fault whose three steps share the values of a `Row`, a struct of that kind of row's own,
// fresh for every run. `budgetMs` is how long the action may take at most before the row
// counts as hung: its own time-out plus room for a slow machine.
template <typename Row>
Fault MakeFault(const char* name, Step<Row> setUp, Step<Row> action, Step<Row> check,
                int budgetMs = 60000) {
    return {name, [=](FaultBench& bench) {
                Row row;
                setUp(bench, row);
                if (::testing::Test::IsSkipped() || ::testing::Test::HasFatalFailure()) {
                    return;
                }
                {
                    HangWatch watch(name, budgetMs);
                    action(bench, row);
                }
                check(bench, row);
            }};
}

// A request of the client and what came of it.
struct Fetched {
    QString reply;
    QString error;     // the request's last error
    std::string sent;  // the body the platform sent
};

// Two clients saving into one store: their exit codes, -1 for a crash.
struct Writers {
    int aliceExit = -1;
    int bobExit = -1;
};

// A row that keeps nothing between its steps.
struct NoValues {};

// Each cut archive's name, whether it was unpacked, and what the run folder held afterwards.
struct Unpacked {
    QStringList outcomes;
};

// The template lookup against a server of the row's own, in `folder`.
struct Lookup {
    QString folder;
    QComboBox picker;
    QPlainTextEdit infoBox;
    std::unique_ptr<TemplateLookupController> lookup;  // goes before its controls
    bool killedDuringLookup = false;
};

// The main window with every worker running on it.
struct Workers {
    QPointer<MainWindow> window;
};

// Forwarding into windows of another program on a display of the row's own.
struct Typing {
    QPointer<MainWindow> window;
    std::unique_ptr<test::RecorderWindow> chat;
    std::unique_ptr<test::RecorderWindow> bystander;
    bool chatClosed = false;
    bool bystanderFocused = false;
};

int ExitCodeOf(const QProcess& process) {
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

const Credentials kUser{QStringLiteral("demo2026"), QStringLiteral("lanxun666")};

// A poll of one number: a 15 s platform call on the poll line.
EndpointCall Poll() {
    return PollUrl(kUser, QStringLiteral("1003"), QStringLiteral("13800001111"));
}

// The send of an SMS: the catalogue's shortest time-out (5 s).
EndpointCall SendSms() {
    return SendSmsUrl(kUser, QStringLiteral("1003"), QStringLiteral("13800001111"),
                      QStringLiteral("13900002222"), QStringLiteral("hello"));
}

// Every file under a folder, hidden ones too, relative to it.
QStringList FilesUnder(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files << QDir(folder).relativeFilePath(it.next());
    }
    files.sort();
    return files;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Fills the file system that holds `folder` to its last byte.
void FillUp(const QString& folder) {
    QFile filler(folder + QStringLiteral("/filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    // Whatever is left is smaller than a block.
    while (filler.write("f", 1) == 1 && filler.flush()) {
    }
}

// A stored archive whose last entry loses `cut` bytes of its data, with its index kept
// and pointed to where it now starts: the entries read, the last one's data runs short.
std::string CutInsideLastEntry(const std::string& zip, size_t cut) {
    auto read32 = [&zip](size_t at) {
        return static_cast<uint32_t>(static_cast<unsigned char>(zip[at])) |
               static_cast<uint32_t>(static_cast<unsigned char>(zip[at + 1])) << 8 |
               static_cast<uint32_t>(static_cast<unsigned char>(zip[at + 2])) << 16 |
               static_cast<uint32_t>(static_cast<unsigned char>(zip[at + 3])) << 24;
    };
    // The end record: 22 bytes, no comment; the index's offset at 16.
    const size_t end = zip.size() - 22;
    const uint32_t index = read32(end + 16);
    std::string cutZip = zip.substr(0, index - cut) + zip.substr(index);
    const uint32_t moved = index - static_cast<uint32_t>(cut);
    for (int i = 0; i < 4; ++i) {
        cutZip[cutZip.size() - 22 + 16 + i] = static_cast<char>((moved >> (8 * i)) & 0xff);
    }
    return cutZip;
}

// The saved login's folder, where every save writes and renames.
QString LoginRecordFolder() {
    return LocalPath(QStringLiteral("C:\\设置"));
}

// A private MariaDB server with the platform's templates, in `folder`, on a free loopback
// port; 0 when it did not start.
int StartDatabase(const QString& folder) {
    QProcess script;
    script.setProcessChannelMode(QProcess::ForwardedChannels);
    script.start("bash", {TEMPLATE_DB_SCRIPT, "start", folder});
    const bool started = script.waitForFinished(180000) &&
                         script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0;
    return started ? ReadFile(folder + QStringLiteral("/port")).trimmed().toInt() : 0;
}

// One SQL statement as root on the server's socket; its first output line.
std::string Sql(const QString& folder, const std::string& statement) {
    const std::string command = "mariadb --no-defaults --socket='" +
                                (folder + "/mysqld.sock").toStdString() + "' -u root -N -e \"" +
                                statement + "\" ch 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return {};
    }
    char line[256] = {};
    const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
    pclose(pipe);
    return read ? std::string(line) : std::string();
}

// Polls `done` up to `rounds` times, 50 ms apart, for a state another process reaches.
bool PollFor(const std::function<bool()>& done, int rounds) {
    for (int i = 0; i < rounds; ++i) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

const QString kProject1001 = QStringLiteral("[1001]微信注册 - {价格}：0.50");
const QString kTemplate1001 =
    QStringLiteral("【微信】你的注册验证码是352156，5分钟内有效，请勿泄露。");

// The numbers of the workers' row: each worker's first number is answered late, and is
// gone by then; the second takes its place.
const QString kGone = QStringLiteral("13800001000");
const QString kNew = QStringLiteral("13900012000");
const QString kGoneSend = QStringLiteral("13700003000");
// What the row poller shows while it asks.
const QString kReading = QStringLiteral("读取中");

std::string PollTarget(const QString& projectId, const QString& phone) {
    return ("/yh_qm/username=demo2026&password=lanxun666&id=" + projectId + "&phone=" + phone)
        .toStdString();
}

std::string SegmentTarget(const QString& phone) {
    return "/cc/json/mobile_tel_segment.htm?tel=" + phone.toStdString();
}

QString ProvinceOf(const QString& phone) {
    return FromGbk(
        QByteArray::fromStdString(platformsim::PlatformSim::SegmentProvince(phone.toStdString())));
}

bool Received(const platformsim::PlatformSim& sim, const std::string& target) {
    for (const platformsim::RecordedRequest& request : sim.Requests()) {
        if (request.target == target) {
            return true;
        }
    }
    return false;
}

// The workers' row's clock: the date-time stands still, pauses are a thousandth as long, and
// the send result poller's passes are counted.
test::SteppedClock& WorkersClock() {
    static test::SteppedClock clock(QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0)));
    return clock;
}

// The workers' row: the main window with the number poller, the region worker and the send
// result poller running on it.
void StartWorkers(FaultBench& b, Workers& workers) {
    using test::Gbk;
    test::SteppedClock& clock = WorkersClock();
    auto services = std::make_shared<test::FakeServices>();
    auto useClock = std::make_shared<test::ScopedClock>(clock);
    SetSegmentHost(QString::fromStdString(b.sim().Address(platformsim::Line::Segment)));
    CurrentLogin().userName = QStringLiteral("demo2026");
    CurrentLogin().password = QStringLiteral("lanxun666");
    workers.window = new MainWindow(QPointer<QWidget>(), {});
    b.AtEnd([window = workers.window, services, useClock] { delete window.data(); });
    workers.window->show();
    workers.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(workers.window));
    auto* receivePicker = test::Child<QComboBox>(workers.window, "组合框_取号_项目列表");
    receivePicker->addItem(QStringLiteral("[1003]抖音验证 - {价格}：0.40"));
    receivePicker->setCurrentIndex(0);
    SendPickerContent send;
    send.items << QStringLiteral("[2001]移动营业厅 - {价格}：0.80 - (发短信)");
    send.sendProjectList = QStringLiteral("移动营业厅(发送号码:10086)\r\n");
    send.hasProjects = true;
    workers.window->pickers().ShowSendContent(send);

    // The late answers would give the gone numbers a code, a province and a sent SMS.
    const int late = 1500;
    b.sim().Script(PollTarget("1003", kGone),
                   test::Reply(200, Gbk(QStringLiteral("1|1|验证码4321。")), {}, late));
    b.sim().Script(PollTarget("1003", kNew),
                   test::Reply(200, Gbk(QStringLiteral("0||没有收到短信"))));
    b.sim().Script(SegmentTarget(kGone),
                   test::Reply(200, "province:'" + Gbk(ProvinceOf(kGone)) + "',", {}, late));
    b.sim().Script(PollTarget("2001", kGoneSend),
                   test::Reply(200, Gbk(QStringLiteral("1|x|短信发送成功")), {}, late));

    // Each late answer would be seen if it landed on the new number's row.
    ASSERT_NE(ProvinceOf(kGone), ProvinceOf(kNew));
    NumberList& list = workers.window->numbers().List();
    list.Append(kGone, DateTimeText(clock.Now()), QStringLiteral("1003"));
    test::Child<QLineEdit>(workers.window, "编辑框_发短信_获取号码")->setText(kGoneSend);
    test::Child<QLineEdit>(workers.window, "编辑框_发短信_取号时间")
        ->setText(DateTimeText(clock.Now()));

    auto* view = test::Child<QTreeWidget>(workers.window, "超级列表框_取码_列表框");
    auto poller = std::make_shared<PollWorker>(view, receivePicker, nullptr);
    auto regions = std::make_shared<RegionWorker>(view);
    auto sendPoller = std::make_shared<SendResultPoller>(SendResultPoller::Widgets{
        .projectPicker = test::Child<QComboBox>(workers.window, "组合框_发短信_项目列表"),
        .number = test::Child<QLineEdit>(workers.window, "编辑框_发短信_获取号码"),
        .status = test::Child<QLineEdit>(workers.window, "编辑框_发短信_取码状态"),
        .obtainedAt = test::Child<QLineEdit>(workers.window, "编辑框_发短信_取号时间"),
        .resultLine = test::Child<QLabel>(workers.window, "透明标签40"),
        .smsText = test::Child<QPlainTextEdit>(workers.window, "编辑框_发短信_短信内容")});
    // Stopped before the window goes.
    b.AtEnd([poller, regions, sendPoller]() mutable {
        poller.reset();
        regions.reset();
        sendPoller.reset();
    });
    poller->Start();
    regions->Start();
    sendPoller->Start();
    // Every worker holds a gone number's request open.
    ASSERT_TRUE(QTest::qWaitFor(
        [&b] {
            return Received(b.sim(), PollTarget("1003", kGone)) &&
                   Received(b.sim(), SegmentTarget(kGone)) &&
                   Received(b.sim(), PollTarget("2001", kGoneSend));
        },
        30000));
}

// An X server of the row's own, so that its typing and focus changes reach no other test
// and no other test's reach it. The server picks a free number itself and tells it once it
// takes connections: a number picked here could be taken by another program's server
// between the look and the start.
class PrivateDisplay {
public:
    PrivateDisplay() {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty()) {
            return;
        }
        server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server_.start(xvfb,
                      {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
        if (QTest::qWaitFor(
                [&] { return server_.canReadLine() || server_.state() == QProcess::NotRunning; },
                30000) &&
            server_.canReadLine()) {
            bool ok = false;
            const int number = server_.readLine().trimmed().toInt(&ok);
            if (ok) {
                name_ = QStringLiteral(":%1").arg(number);
            }
        }
    }
    ~PrivateDisplay() {
        server_.terminate();
        if (!server_.waitForFinished(30000)) {
            server_.kill();
            server_.waitForFinished();
        }
    }
    QString Name() const { return name_; }

private:
    QProcess server_;
    QString name_;
};

std::vector<Fault> Faults() {
    return {
        MakeFault<Fetched>(
            "line accepts and never answers",
            [](FaultBench& b, Fetched&) {
                // Held far past the call's time-out; stopping the sim ends the wait.
                b.sim().Script("fdx_tj", Reply(200, "1|never", {}, 120000));
            },
            [](FaultBench&, Fetched& row) {
                HttpRequest request;
                row.reply = FetchReply(request, SendSms());
                row.error = request.LastError();
            },
            [](FaultBench& b, Fetched& row) {
                EXPECT_EQ(row.reply, QString());
                EXPECT_EQ(b.sim().Requests().size(), 1u);
                // It gave up on the send's own time-out, not on a longer default.
                EXPECT_TRUE(row.error.contains(
                    QStringLiteral("receive time-out of %1 ms").arg(kSendSmsTimeoutMs)))
                    << row.error.toStdString();
            },
            kSendSmsTimeoutMs + 30000),
        MakeFault<Fetched>(
            "reset in the middle of a reply",
            [](FaultBench& b, Fetched&) {
                b.sim().Script(
                    "yh_qm",
                    test::RawReply("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n1|13800"));
            },
            [](FaultBench&, Fetched& row) { row.reply = FetchReply(Poll()); },
            // Half a reply is no reply: a status field cut short must not pass for an answer.
            [](FaultBench&, Fetched& row) { EXPECT_EQ(row.reply, QString()); }),
        MakeFault<Fetched>(
            "a 10 MiB reply",
            [](FaultBench& b, Fetched& row) {
                std::string body = "0|13800001111|";
                body.append(10 * 1024 * 1024, 'x');
                body += "|end";
                row.sent = body;
                b.sim().Script("yh_qm", Reply(200, body));
            },
            [](FaultBench&, Fetched& row) { row.reply = FetchReply(Poll()); },
            [](FaultBench&, Fetched& row) {
                // Compared without printing: a failure must not flood the log with 10 MiB.
                const std::string reply = row.reply.toStdString();
                EXPECT_EQ(reply.size(), row.sent.size());
                EXPECT_TRUE(reply == row.sent) << "the reply came through changed";
            }),
        MakeFault<Fetched>(
            "bytes that are not GBK",
            [](FaultBench& b, Fetched&) {
                // A lead byte before a byte no trail can be, a byte no GBK text holds, and a lead
                // byte cut off at the end. (A lead byte before "|" is a real GBK character.)
                b.sim().Script("yh_qm", Reply(200, std::string("1|\x81 x|\xff|ok|") + "\xd6"));
            },
            [](FaultBench&, Fetched& row) { row.reply = FetchReply(Poll()); },
            [](FaultBench&, Fetched& row) {
                // Every field stays in its place and the good ones come through intact.
                const QStringList fields = row.reply.split(QLatin1Char('|'));
                ASSERT_EQ(fields.size(), 5) << row.reply.toStdString();
                EXPECT_EQ(fields[0], QStringLiteral("1"));
                EXPECT_TRUE(fields[1].endsWith(QStringLiteral(" x"))) << fields[1].toStdString();
                EXPECT_FALSE(fields[2].isEmpty());
                EXPECT_EQ(fields[3], QStringLiteral("ok"));
                EXPECT_FALSE(fields[4].isEmpty());
            }),
        MakeFault<Fetched>(
            "zero bytes",
            [](FaultBench& b, Fetched&) {
                b.sim().Script("yh_qm", Reply(200, std::string("1|138\0|hidden", 13)));
            },
            [](FaultBench&, Fetched& row) { row.reply = FetchReply(Poll()); },
            [](FaultBench&, Fetched& row) { EXPECT_EQ(row.reply, QStringLiteral("1|138")); }),
        MakeFault<Fetched>(
            "a redirect loop",
            [](FaultBench& b, Fetched&) {
                b.sim().Script("yh_qm", Reply(302, "moved", {{"Location", "/yh_qm/again"}}));
            },
            [](FaultBench&, Fetched& row) { row.reply = FetchReply(Poll()); },
            [](FaultBench& b, Fetched& row) {
                // The loop ends by itself, and a redirect's own body never passes for a reply.
                EXPECT_EQ(row.reply, QString());
                EXPECT_GE(b.sim().Requests().size(), 2u);
                EXPECT_LE(b.sim().Requests().size(), 21u);
            }),
        MakeFault<Writers>(
            "two processes writing the store at once",
            [](FaultBench&, Writers&) {
                SetUpSettingsStore();
                SaveLogin(QStringLiteral("first"), QStringLiteral("pw-first"));
            },
            [](FaultBench&, Writers& row) {
                // Two clients saving their logins into one store, each reading back after
                // every save.
                const QString drive = Locations().DriveRoot();
                QProcess alice, bob;
                alice.setProcessChannelMode(QProcess::ForwardedChannels);
                bob.setProcessChannelMode(QProcess::ForwardedChannels);
                alice.start(STORE_WRITER, {drive, "alice", "300", "bob"});
                bob.start(STORE_WRITER, {drive, "bob", "300", "alice"});
                ASSERT_TRUE(alice.waitForFinished(60000));
                ASSERT_TRUE(bob.waitForFinished(60000));
                row.aliceExit = ExitCodeOf(alice);
                row.bobExit = ExitCodeOf(bob);
            },
            [](FaultBench&, Writers& row) {
                EXPECT_EQ(row.aliceExit, 0) << "alice read back a login that was not whole";
                EXPECT_EQ(row.bobExit, 0) << "bob read back a login that was not whole";
                // Neither ever read a mix of the two, and one whole login is left, alone.
                const QString saved = ReadSavedLogin();
                EXPECT_TRUE(saved == "alice|pw-alice" || saved == "bob|pw-bob")
                    << saved.toStdString();
                const QStringList files = FilesUnder(LoginRecordFolder());
                ASSERT_EQ(files.size(), 1) << files.join(' ').toStdString();
                EXPECT_TRUE(files[0].endsWith(QStringLiteral("用户.数据")));
            }),
        MakeFault<NoValues>(
            "disk full while saving the login",
            [](FaultBench& b, NoValues&) {
                // A file system of fixed size as the drive, filled up after a first save.
                const QString small = b.Dir() + QStringLiteral("/small");
                QDir().mkpath(small);
                if (mount("tmpfs", small.toLocal8Bit().constData(), "tmpfs", 0, "size=256k") != 0) {
                    GTEST_SKIP() << "cannot mount a small tmpfs here (not root?)";
                }
                b.AtEnd([small] { umount2(small.toLocal8Bit().constData(), MNT_DETACH); });
                b.UseDrive(small);
                SetUpSettingsStore();
                SaveLogin(QStringLiteral("old"), QStringLiteral("pw-old"));
                FillUp(small);
            },
            [](FaultBench&, NoValues&) {
                SaveLogin(QStringLiteral("new"), QString(2000, QLatin1Char('p')));
            },
            [](FaultBench&, NoValues&) {
                // The old login is still there, whole, and no half-written file is left behind.
                EXPECT_EQ(ReadSavedLogin(), QStringLiteral("old|pw-old"));
                const QStringList files = FilesUnder(LoginRecordFolder());
                ASSERT_EQ(files.size(), 1) << files.join(' ').toStdString();
                // With room again the next save goes through.
                QFile::remove(Locations().DriveRoot() + QStringLiteral("/filler"));
                SaveLogin(QStringLiteral("new"), QStringLiteral("pw-new"));
                EXPECT_EQ(ReadSavedLogin(), QStringLiteral("new|pw-new"));
            }),
        MakeFault<Unpacked>(
            "a truncated update archive",
            [](FaultBench& b, Unpacked&) {
                WriteFile(Locations().RunDirectory() + QStringLiteral("/lanxun"), "old program");
                std::string data(64 * 1024, '\0');
                for (size_t i = 0; i < data.size(); ++i) {
                    data[i] = static_cast<char>((i * 7919) >> 3);
                }
                const std::string zip = platformsim::PlatformSim::BuildZip(
                    {{"readme.txt", "new readme"}, {"lanxun", data}});
                // Cut where the download broke off, and cut inside the program's data with
                // the index kept, so that unpacking starts and fails halfway.
                WriteFile(b.Dir() + QStringLiteral("/half.zip"),
                          QByteArray::fromStdString(zip.substr(0, zip.size() / 2)));
                WriteFile(b.Dir() + QStringLiteral("/entry.zip"),
                          QByteArray::fromStdString(CutInsideLastEntry(zip, data.size() / 2)));
            },
            [](FaultBench& b, Unpacked& row) {
                for (const QString& name :
                     {QStringLiteral("half.zip"), QStringLiteral("entry.zip")}) {
                    const bool done = ExtractZip(b.Dir() + u'/' + name, Locations().RunDirectory(),
                                                 QStringLiteral("lanxun")) == ExtractResult::Done;
                    row.outcomes << name +
                                        (done ? QStringLiteral(": unpacked ")
                                              : QStringLiteral(": refused ")) +
                                        FilesUnder(Locations().RunDirectory()).join(u',') + u' ' +
                                        ReadFile(Locations().RunDirectory() +
                                                 QStringLiteral("/lanxun"));
                }
            },
            [](FaultBench&, Unpacked& row) {
                // Nothing of a cut archive lands: the old program is there as it was, alone.
                EXPECT_EQ(row.outcomes,
                          QStringList({QStringLiteral("half.zip: refused lanxun old program"),
                                       QStringLiteral("entry.zip: refused lanxun old program")}));
            }),
        MakeFault<Lookup>(
            "database server killed during a lookup",
            [](FaultBench& b, Lookup& row) {
                const QString folder = b.Dir() + QStringLiteral("/db");
                const int port = StartDatabase(folder);
                ASSERT_NE(port, 0) << "the template database did not start";
                b.AtEnd([folder] {
                    QProcess::execute("bash", {TEMPLATE_DB_SCRIPT, "stop", folder});
                });
                row.lookup = std::make_unique<TemplateLookupController>(
                    TemplateLookupController::Widgets{.picker = &row.picker,
                                                      .infoBox = &row.infoBox},
                    DatabaseSettingsFor(QStringLiteral("127.0.0.1:") + QString::number(port)));
                if (row.lookup->database().Connecting()) {
                    QSignalSpy ended(&row.lookup->database(),
                                     &TemplateDatabase::ConnectAttemptEnded);
                    ASSERT_TRUE(ended.wait(30000));
                }
                row.picker.addItem(kProject1001);
                row.lookup->LookUp();
                ASSERT_EQ(row.infoBox.toPlainText(), kTemplate1001);
                // Another session holds the table, so the next lookup waits inside the server.
                auto* holder = new QProcess;
                holder->start("mariadb", {"--no-defaults", "--socket=" + folder + "/mysqld.sock",
                                          "-u", "root", "ch", "-e",
                                          "LOCK TABLES xiangmu_liebiao WRITE; SELECT SLEEP(120);"});
                b.AtEnd([holder] {
                    holder->kill();
                    holder->waitForFinished();
                    delete holder;
                });
                ASSERT_TRUE(PollFor(
                    [folder] {
                        return Sql(folder,
                                   "SELECT COUNT(*) FROM information_schema.PROCESSLIST "
                                   "WHERE INFO LIKE 'SELECT SLEEP%'") == "1\n";
                    },
                    400));
                row.folder = folder;
            },
            [](FaultBench&, Lookup& row) {
                // The server dies while the lookup waits for its answer. The kill closes its
                // socket, so the client's read time-out is not what ends this wait.
                const QString folder = row.folder;
                bool killed = false;
                std::thread killer([folder, &killed] {
                    if (PollFor(
                            [folder] {
                                return Sql(folder,
                                           "SELECT COUNT(*) FROM information_schema.PROCESSLIST "
                                           "WHERE STATE LIKE 'Waiting for table%'") == "1\n";
                            },
                            400)) {
                        QFile pidFile(folder + QStringLiteral("/mysqld.pid"));
                        if (pidFile.open(QIODevice::ReadOnly)) {
                            killed = kill(pidFile.readAll().trimmed().toInt(), SIGKILL) == 0;
                        }
                    }
                });
                row.lookup->LookUp();
                killer.join();
                row.killedDuringLookup = killed;
                // And the next one, on the connection that is gone.
                row.lookup->LookUp();
            },
            [](FaultBench&, Lookup& row) {
                ASSERT_TRUE(row.killedDuringLookup)
                    << "the server was not killed in the middle of the lookup";
                // A lookup that finds nothing leaves the box as it was.
                EXPECT_EQ(row.infoBox.toPlainText(), kTemplate1001);
            },
            3 * TemplateDatabase::kTimeoutSeconds * 1000 + 30000),
        MakeFault<Workers>(
            "rows deleted under every worker", StartWorkers,
            [](FaultBench&, Workers& workers) {
                // The number disposed of and another one obtained; the send number released.
                NumberList& list = workers.window->numbers().List();
                list.Remove(list.Row(0).identity);
                list.Append(kNew, DateTimeText(CurrentClock().Now()), QStringLiteral("1003"));
                test::Child<QLineEdit>(workers.window, "编辑框_发短信_获取号码")->clear();
                test::Child<QLineEdit>(workers.window, "编辑框_发短信_取号时间")->clear();
                // Each worker has moved past the late answer: the row poller has answered for the
                // new number (not only marked it as being read), the region worker has come to it,
                // the send poller has ended two passes.
                const int passes = WorkersClock().PassPauses();
                ASSERT_TRUE(QTest::qWaitFor(
                    [&] {
                        const NumberRow row = list.Row(0);
                        return !row.status.isEmpty() && row.status != kReading &&
                               !row.homeRegion.isEmpty();
                    },
                    30000));
                ASSERT_TRUE(QTest::qWaitFor(
                    [&] { return WorkersClock().PassPauses() >= passes + 2; }, 30000));
            },
            [](FaultBench&, Workers& workers) {
                NumberList& list = workers.window->numbers().List();
                ASSERT_EQ(list.RowCount(), 1);
                const NumberRow row = list.Row(0);
                EXPECT_EQ(row.phone, kNew);
                // Still waiting for its SMS; the poller may be asking again right now.
                EXPECT_TRUE(row.status == QStringLiteral("没有收到短信") || row.status == kReading)
                    << row.status.toStdString();
                EXPECT_EQ(row.code, QString());
                EXPECT_EQ(row.smsText, QString());
                EXPECT_EQ(row.homeRegion, ProvinceOf(kNew));
                EXPECT_EQ(test::Child<QLineEdit>(workers.window, "编辑框_发短信_取码状态")->text(),
                          QString());
                EXPECT_EQ(test::Child<QLabel>(workers.window, "透明标签40")->text(), QString());
                EXPECT_EQ(test::Child<QPlainTextEdit>(workers.window, "编辑框_发短信_短信内容")
                              ->toPlainText(),
                          QString());
            }),
        MakeFault<Typing>(
            "target window closed while typing",
            [](FaultBench& b, Typing& row) {
                auto display = std::make_shared<PrivateDisplay>();
                if (display->Name().isEmpty()) {
                    GTEST_SKIP() << "no Xvfb to give the row a display of its own";
                }
                const QByteArray previous = qgetenv("DISPLAY");
                qputenv("DISPLAY", display->Name().toLocal8Bit());
                b.AtEnd([display, previous]() mutable {
                    qputenv("DISPLAY", previous);
                    display.reset();
                });
                auto manager = std::make_shared<test::WindowManager>();
                auto services = std::make_shared<test::FakeServices>();
                auto clock = std::make_shared<test::FastClock>(100);
                auto useClock = std::make_shared<test::ScopedClock>(*clock);
                row.window = new MainWindow(QPointer<QWidget>(), {});
                b.AtEnd([window = row.window, manager, services, clock, useClock] {
                    delete window.data();
                });
                ASSERT_TRUE(manager->Running()) << "no window manager: openbox is needed";
                row.bystander = std::make_unique<test::RecorderWindow>(QStringLiteral("旁观"), 0,
                                                                       QPoint(40, 640));
                // The chat window closes itself after ten characters.
                row.chat = std::make_unique<test::RecorderWindow>(QStringLiteral("聊天"), 10);
                ASSERT_NE(row.bystander->handle(), 0u);
                ASSERT_NE(row.chat->handle(), 0u);
                test::FixedPicker picker;
                picker.window = row.chat->handle();
                InstallPicker(&picker);
                row.window->forwarding().BeginCapture();
                row.window->forwarding().TrackPointer({});
                row.window->forwarding().EndCapture();
                InstallPicker(nullptr);
                ASSERT_EQ(row.window->forwarding().TargetWindow(), row.chat->handle());
                // The whole SMS is typed, not just its code: a long text to be cut off.
                test::Child<QRadioButton>(row.window, "单选框2")->setChecked(true);
                row.window->findChild<QPushButton*>(QStringLiteral("按钮1"))->click();
            },
            [](FaultBench&, Typing& row) {
                // After a run of plain letters, characters no key types: each takes the
                // keyboard a remapping and a round trip, so the typing is still under way,
                // key by key, when the chat window closes.
                QString sms = QStringLiteral("验证码1234") + QString(200, QLatin1Char('a'));
                for (char16_t c = 0x4e00; c < 0x4e00 + 800; ++c) {
                    sms += QChar(c);
                }
                // Forwarded from a thread of its own, as the row poller does.
                ForwardingController& forwarding = row.window->forwarding();
                std::atomic<bool> typed{false};
                std::thread typist([&forwarding, &typed, sms] {
                    forwarding.ForwardReceivedSms(1, "1", "F1", sms, "1234");
                    typed = true;
                });
                // The chat closes itself after ten characters, and the focus goes on to the
                // window left, as a window manager hands it on.
                row.chatClosed = row.chat->WaitForExit();
                row.bystanderFocused = X11Connection().Activate(row.bystander->handle());
                const bool ended = QTest::qWaitFor([&typed] { return typed.load(); }, 60000);
                typist.join();
                ASSERT_TRUE(ended);
                row.window->forwarding().TypeNumberLines({QStringLiteral("COM1 13800000001")});
            },
            [](FaultBench&, Typing& row) {
                EXPECT_TRUE(row.chatClosed) << "the chat window did not close";
                EXPECT_TRUE(row.bystanderFocused) << "the bystander did not get the focus";
                EXPECT_GE(row.chat->Received().size(), 10);
                // Nothing typed after the chat was gone reached the bystander, which had the
                // focus from then on: it got only the marker typed into it afterwards.
                Input().TypeText(row.bystander->handle(), QStringLiteral("END"));
                EXPECT_TRUE(row.bystander->WaitForReceived(QStringLiteral("END")))
                    << row.bystander->Received().toStdString();
                row.bystander.reset();
                row.chat.reset();
            }),
    };
}

class FaultTable : public FaultBench, public ::testing::WithParamInterface<Fault> {};

TEST_P(FaultTable, Holds) {
    GetParam().run(*this);
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultTable, ::testing::ValuesIn(Faults()),
                         [](const ::testing::TestParamInfo<Fault>& info) {
                             std::string name;
                             for (const char c : std::string(info.param.name)) {
                                 if (std::isalnum(static_cast<unsigned char>(c))) {
                                     name += c;
                                 } else if (!name.empty() && name.back() != '_') {
                                     name += '_';
                                 }
                             }
                             return name;
                         });

}  // namespace
}  // namespace lanxun
