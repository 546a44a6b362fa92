// The tab "取号" under load, against the local platform on loopback:
//  (a) the UI thread's longest event-loop stall while it paints and takes input, with 16 rows
//      being polled, the home-province lookup running and batches of 16 under way, beside the
//      same window idle (no workers, no batch);
//  (b) the client's CPU while only the two workers run and no row needs a request, beside the
//      same window with no workers;
//  (c) the poll schedule's pace over 100 passes on a fast clock: each pass of 16 rows that need
//      no request should last 16 x 100 ms + 5000 ms of clock time, the last passes as long as
//      the first (no drift).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <ctime>
#include <memory>

#include "account/login_state.h"
#include "api/protocol.h"
#include "api/server_lines.h"
#include "numbers/home_region.h"
#include "numbers/numbers_page_controller.h"
#include "numbers/poll_worker.h"
#include "numbers/region_worker.h"
#include "platform/clock.h"
#include "platform/gbk.h"
#include "platform_sim.h"
#include "ui/main_window.h"

namespace {

using namespace lanxun;
using platformsim::Line;

// Delays `factor` times fast, time moving on accordingly.
class FastClock : public Clock {
public:
    explicit FastClock(qint64 factor) : factor_(factor), start_(QDateTime::currentDateTime()) {
        elapsed_.start();
    }
    QDateTime Now() const override { return start_.addMSecs(Ticks()); }
    qint64 Ticks() const override { return elapsed_.elapsed() * factor_; }
    qint64 RealMs(qint64 ms) const override { return ms / factor_; }

private:
    qint64 factor_;
    QDateTime start_;
    QElapsedTimer elapsed_;
};

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

platformsim::PlatformSim& Sim() {
    static platformsim::PlatformSim* sim = [] {
        auto* s = new platformsim::PlatformSim();
        s->Start();
        ServerLines lines;
        auto address = [s](Line line) { return QString::fromStdString(s->Address(line)); };
        lines.accountLine = address(Line::Account);
        lines.numberLine = address(Line::Number);
        lines.disposalLine = address(Line::Disposal);
        lines.pollLine = address(Line::Poll);
        SetLines(lines);
        SetSegmentHost(address(Line::Segment));
        CurrentLogin().userName = QStringLiteral("demo2026");
        CurrentLogin().password = QStringLiteral("lanxun666");
        return s;
    }();
    return *sim;
}

platformsim::ScriptedReply Delayed(std::string body, int delayMs) {
    platformsim::ScriptedReply reply;
    reply.body = std::move(body);
    reply.delayMs = delayMs;
    return reply;
}

// The longest gap between two turns of the UI thread's event loop while it repaints the number
// list and moves the mouse over it every turn, for `ms` real milliseconds.
double LongestStallMs(QWidget* list, int ms) {
    QElapsedTimer total;
    QElapsedTimer sinceLast;
    total.start();
    sinceLast.start();
    qint64 longest = 0;
    int x = 0;
    QTimer tick;
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceLast.nsecsElapsed());
        sinceLast.restart();
        x = (x + 7) % std::max(1, list->width());
        QTest::mouseMove(list, QPoint(x, list->height() / 2));
        list->repaint();
    });
    tick.start();
    while (total.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    tick.stop();
    return double(longest) / 1e6;
}

struct NumbersWindow {
    NumbersWindow() : window(new MainWindow(QPointer<QWidget>(), std::vector<WorkerFactory>{})) {
        window->show();
        auto* picker = window->findChild<QComboBox*>(QStringLiteral("组合框_取号_项目列表"));
        picker->addItem(QStringLiteral("[1003]抖音验证 - {价格}：0.40"));
        picker->setCurrentIndex(0);
        list = window->findChild<QTreeWidget*>(QStringLiteral("超级列表框_取码_列表框"));
        QTest::qWait(50);
    }
    ~NumbersWindow() { delete window.data(); }
    void StartWorkers() {
        auto* picker = window->findChild<QComboBox*>(QStringLiteral("组合框_取号_项目列表"));
        poller = std::make_unique<PollWorker>(list, picker, nullptr);
        regions = std::make_unique<RegionWorker>(list);
        poller->Start();
        regions->Start();
    }
    void Fill(int rows, const QString& status, bool located) {
        NumberList& numbers = window->numbers().List();
        numbers.Clear();
        for (int i = 0; i < rows; ++i) {
            const NumberRow row = numbers.Append(
                QStringLiteral("1381") + QString::number(1000 + i) + QStringLiteral("000"),
                DateTimeText(CurrentClock().Now()), QStringLiteral("1003"));
            numbers.Write(row.identity, {{NumberList::kStatus, status},
                                         {NumberList::kHomeRegion,
                                          located ? QStringLiteral("江苏") : QString()}});
        }
    }

    QPointer<MainWindow> window;
    QTreeWidget* list = nullptr;
    std::unique_ptr<PollWorker> poller;
    std::unique_ptr<RegionWorker> regions;
};

// (a) Loaded: 16 rows waiting for their SMS, provinces to look up, and a batch of 16 started
// whenever the last one ended. Every reply is held back 20 ms by the platform.
void BM_UiStall_WorkersAndBatch(benchmark::State& state) {
    FastClock clock(10);
    InstallClock(&clock);
    platformsim::PlatformSim& sim = Sim();
    sim.ClearScripts();
    sim.Script("yh_qh", Delayed("1|13812345678", 20));
    sim.Script("yh_sf", Delayed("1", 20));
    sim.Script("yh_qm", Delayed(ToGbk(QStringLiteral("0||没有收到短信")).toStdString(), 20));
    NumbersWindow page;
    page.Fill(16, QString(), false);
    page.StartWorkers();
    page.window->findChild<QLineEdit*>(QStringLiteral("编辑框_取号_获取数量"))
        ->setText(QStringLiteral("16"));
    QTimer batches;
    QObject::connect(&batches, &QTimer::timeout, [&page] {
        if (!page.window->numbers().BatchRunning()) {
            page.window->numbers().ObtainBatch();
        }
    });
    batches.start(10);
    double longest = 0;
    for (auto _ : state) {
        longest = std::max(longest, LongestStallMs(page.list, 3000));
    }
    batches.stop();
    page.window->numbers().StopBatch();
    page.poller.reset();
    page.regions.reset();
    state.counters["longest_stall_ms"] = longest;
    state.counters["requests"] = double(sim.Requests().size());
    sim.ClearRequests();
    InstallClock(nullptr);
}
BENCHMARK(BM_UiStall_WorkersAndBatch)->Iterations(3)->Unit(benchmark::kMillisecond);

// (a) Baseline: the same window, nothing running behind it.
void BM_UiStall_Idle(benchmark::State& state) {
    Sim();
    NumbersWindow page;
    page.Fill(16, QString(), false);
    double longest = 0;
    for (auto _ : state) {
        longest = std::max(longest, LongestStallMs(page.list, 3000));
    }
    state.counters["longest_stall_ms"] = longest;
}
BENCHMARK(BM_UiStall_Idle)->Iterations(3)->Unit(benchmark::kMillisecond);

// (b) CPU share of one core over 15 s on the real clock: 16 rows that need no request.
double CpuShare(bool workers) {
    Sim().ClearRequests();
    NumbersWindow page;
    page.Fill(16, QStringLiteral("短信已达到"), true);
    if (workers) {
        page.StartWorkers();
    }
    QTest::qWait(500);
    const double cpuBefore = ProcessCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QTest::qWait(15000);
    const double share = (ProcessCpuSeconds() - cpuBefore) / (double(wall.elapsed()) / 1000.0);
    return share;
}

void BM_Cpu_WorkersWithNothingToAsk(benchmark::State& state) {
    double share = 0;
    for (auto _ : state) {
        share = CpuShare(true);
    }
    state.counters["cpu_percent"] = share * 100;
    state.counters["requests"] = double(Sim().Requests().size());
}
BENCHMARK(BM_Cpu_WorkersWithNothingToAsk)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Cpu_NoWorkers(benchmark::State& state) {
    double share = 0;
    for (auto _ : state) {
        share = CpuShare(false);
    }
    state.counters["cpu_percent"] = share * 100;
}
BENCHMARK(BM_Cpu_NoWorkers)->Iterations(1)->Unit(benchmark::kMillisecond);

// (c) 100 passes over 16 rows that need no request, on a clock `state.range(0)` times fast. The
// clock time of each pass is taken where the next one begins. What a pass takes beyond its pauses
// (the UI-thread reads of each row) is real time, so a faster clock magnifies it: two speeds side
// by side tell that part from the schedule itself.
void BM_PollPace_100Passes(benchmark::State& state) {
    FastClock clock(state.range(0));
    InstallClock(&clock);
    Sim();
    NumbersWindow page;
    page.Fill(16, QStringLiteral("短信已达到"), true);
    auto* picker = page.window->findChild<QComboBox*>(QStringLiteral("组合框_取号_项目列表"));
    std::vector<qint64> starts;
    for (auto _ : state) {
        PollWorker poller(page.list, picker, nullptr);
        poller.Start();
        int seen = 0;
        starts.clear();
        QTimer wake;  // looks at the count at least every millisecond, without spinning
        wake.start(1);
        while (starts.size() < 101) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            const int passes = poller.Passes();
            if (passes != seen) {
                seen = passes;
                starts.push_back(clock.Ticks());
            }
        }
    }
    const double expected = 16 * PollWorker::kPauseAfterRowMs + PollWorker::kPauseAfterPassMs;
    const double mean = double(starts.back() - starts.front()) / 100.0;
    const auto meanOf = [&](size_t from) {
        return double(starts[from + 10] - starts[from]) / 10.0;
    };
    state.counters["expected_pass_ms"] = expected;
    state.counters["mean_pass_ms"] = mean;
    state.counters["pace_ratio"] = mean / expected;
    state.counters["first10_mean_ms"] = meanOf(0);
    state.counters["last10_mean_ms"] = meanOf(90);
    // Real milliseconds a pass takes beyond its pauses.
    state.counters["overhead_real_ms"] = (mean - expected) / double(state.range(0));
    InstallClock(nullptr);
}
BENCHMARK(BM_PollPace_100Passes)->Arg(100)->Arg(20)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
