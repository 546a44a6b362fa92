#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <string>

#include "numbers/numbers_page_controller.h"
#include "platform/worker.h"
#include "support/find_child.h"
#include "support/main_window_sim_test.h"
#include "support/sim_reply.h"

namespace lanxun {
namespace {

using test::Child;
using test::Reply;

// The worker threads alive in this process, by the name every worker thread carries.
int WorkerThreads() {
    int count = 0;
    const QString tasks = QStringLiteral("/proc/self/task/");
    for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile name(tasks + task + QStringLiteral("/comm"));
        if (name.open(QIODevice::ReadOnly) &&
            name.readAll().trimmed() == QByteArray(Worker::kThreadName)) {
            ++count;
        }
    }
    return count;
}

// Held until the local platform stops, at the end of the suite.
platformsim::ScriptedReply Held() {
    return Reply(200, "", {}, /*delayMs=*/600000);
}

// The main window on the real clock, so that a request ends only by its abort or by its full
// platform time-out.
class MainWindowStopTest : public test::MainWindowSimTest {
protected:
    void SetUp() override {
        InstallClock(nullptr);
        threadsBefore_ = WorkerThreads();
        MainWindowSimTest::SetUp();
    }

    // How many requests the platform received whose target holds `word`.
    static int Requests(const std::string& word) {
        int count = 0;
        for (const platformsim::RecordedRequest& request : sim_->Requests()) {
            count += request.target.find(word) != std::string::npos ? 1 : 0;
        }
        return count;
    }

    int threadsBefore_ = 0;
};

// The window's end flags every routine and the batch, each ends its request in flight, and
// none sends another: its destruction returns long before any held request could time out,
// with every thread it started gone and nothing more sent.
TEST_F(MainWindowStopTest, DestructionEndsEveryRoutineAndItsRequestInFlight) {
    auto* picker = Child<QComboBox>(window_, "组合框_取号_项目列表");
    ASSERT_TRUE(QTest::qWaitFor([&] { return picker->count() > 0; }, 30000));

    // Two numbers come at once, the third is held: the batch is under way and the list gives
    // the code poller and the home-province lookup a request each, both held too.
    sim_->ScriptSequence("yh_qh",
                         {Reply(200, "1|13810010000"), Reply(200, "1|13810020000"), Held()});
    for (const char* word : {"yh_qm", "yh_gx", "yh_sf", "yh_lh", "fdx_tj", "xiangmu_ysc",
                             "/cc/json/mobile_tel_segment.htm"}) {
        sim_->Script(word, Held());
    }
    Child<QLineEdit>(window_, "编辑框_取号_获取数量")->setText(QStringLiteral("3"));
    Child<QPushButton>(window_, "按钮_取号_获取号码")->click();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return Requests("yh_qh") == 3 && Requests("yh_qm") > 0 &&
                   Requests("mobile_tel_segment") > 0;
        },
        30000));
    ASSERT_TRUE(window_->numbers().BatchRunning());
    ASSERT_GT(WorkerThreads(), threadsBefore_);
    const size_t sentBeforeTheStop = sim_->Requests().size();

    QElapsedTimer timer;
    timer.start();
    delete window_.data();
    const qint64 destructionMs = timer.elapsed();

    // A functional bound, far from both sides: the aborts take a polling interval (tens of
    // ms), while without them the destruction waits for the platform time-outs (seconds).
    EXPECT_LT(destructionMs, 1000);
    EXPECT_EQ(WorkerThreads(), threadsBefore_);
    EXPECT_EQ(sim_->Requests().size(), sentBeforeTheStop);
    RecordProperty("destruction_ms", std::to_string(destructionMs));
}

}  // namespace
}  // namespace lanxun
