// A project list of 10 000 records on the tab "项目列表": fetched from the local platform and
// shown, and read from its text and shown, each beside a bare QStringList split of the same
// reply in the same run, so the figures read as ratios.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QString>
#include <QStringList>
#include <QTreeWidget>

#include "account/login_state.h"
#include "api/server_lines.h"
#include "platform/clock.h"
#include "platform/gbk.h"
#include "platform_sim.h"
#include "projects/project_list_controller.h"

namespace {

using namespace lanxun;

constexpr int kProjects = 10000;

// Blanks in names, as the platform sends them; every other project a send-SMS one.
QString ProjectListReply() {
    QString reply;
    for (int i = 0; i < kProjects; ++i) {
        reply += (i % 2 ? QStringLiteral("%1#c-短信 项目%1(发送号码:10690#10691)#c-1.50#c-x#c-1#c+")
                        : QStringLiteral("%1#c-微信 注册项目%1#c-0.50#c-x#c-0#c+"))
                     .arg(1000 + i);
    }
    return reply;
}

const QString& Reply() {
    static const QString reply = ProjectListReply();
    return reply;
}

// Delays take no time: the busy indication's pauses are not what is measured.
class NoWaitClock : public Clock {
public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
    qint64 Ticks() const override { return 0; }
    qint64 RealMs(qint64) const override { return 0; }
};

struct ListTab {
    QWidget window;
    QTreeWidget list;
    QLineEdit searchBox;
    QCheckBox favouritesBox;
    QProgressBar progress;
    QMenu addMenu, removeMenu;
    ProjectListController controller{ProjectListController::Widgets{.window = &window,
                                                                    .list = &list,
                                                                    .searchBox = &searchBox,
                                                                    .favouritesBox = &favouritesBox,
                                                                    .progress = &progress,
                                                                    .addMenu = &addMenu,
                                                                    .removeMenu = &removeMenu}};
    ListTab() { list.setColumnCount(5); }
};

void BM_BareSplit(benchmark::State& state) {
    const QString& reply = Reply();
    for (auto _ : state) {
        qsizetype fields = 0;
        for (const QString& record : reply.split(QStringLiteral("#c+"))) {
            fields += record.split(QStringLiteral("#c-")).size();
        }
        benchmark::DoNotOptimize(fields);
    }
}
BENCHMARK(BM_BareSplit)->Unit(benchmark::kMillisecond);

void BM_ReadAndShow(benchmark::State& state) {
    ListTab tab;
    for (auto _ : state) {
        tab.list.clear();
        tab.controller.ShowProjects(Reply());
        QCoreApplication::processEvents();
    }
    state.counters["rows"] = tab.list.topLevelItemCount();
}
BENCHMARK(BM_ReadAndShow)->Unit(benchmark::kMillisecond);

void BM_FetchReadAndShow(benchmark::State& state) {
    platformsim::PlatformSim sim;
    if (!sim.Start()) {
        state.SkipWithError("the local platform did not start");
        return;
    }
    sim.Script("liebiao_xm", {.body = ToGbk(Reply()).toStdString()});
    ServerLines lines;
    lines.projectLine = QString::fromStdString(sim.Address(platformsim::Line::Project));
    SetLines(lines);
    CurrentLogin().userName = QStringLiteral("demo2026");
    CurrentLogin().password = QStringLiteral("lanxun666");
    NoWaitClock clock;
    InstallClock(&clock);
    ListTab tab;
    for (auto _ : state) {
        tab.controller.LoadFullList();
        QCoreApplication::processEvents();
    }
    state.counters["rows"] = tab.list.topLevelItemCount();
    InstallClock(nullptr);
}
BENCHMARK(BM_FetchReadAndShow)->Unit(benchmark::kMillisecond);

}  // namespace
