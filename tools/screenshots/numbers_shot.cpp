// Renders the tab "取号" after a batch of three numbers has been polled to its codes, against
// the local platform run in-process (its replies scripted: three numbers, then each number's
// SMS):
//   lanxun-numbers-screenshot <folder>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <cstdio>

#include "account/login_state.h"
#include "api/server_lines.h"
#include "numbers/home_region.h"
#include "numbers/numbers_page_controller.h"
#include "platform_sim.h"
#include "shot_platform.h"
#include "shot_support.h"
#include "ui/main_window.h"

namespace {

// Waits with events flowing until `done` or `ms` have passed.
template <typename Done>
bool WaitFor(Done done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) {
            return false;
        }
        shots::Settle(50);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDir folder;
    if (const int failed = shots::OpenOutputFolder(argc, argv, folder)) {
        return failed;
    }

    platformsim::PlatformSim sim;
    if (!shots::StartDemoPlatform(sim)) {
        return 1;
    }
    lanxun::CurrentLogin().balance = QStringLiteral("88.50");

    const QStringList phones{"13915200468", "13861070235", "15052180917"};
    const QStringList codes{"472913", "805166", "239047"};
    std::vector<platformsim::ScriptedReply> numbers;
    for (int i = 0; i < phones.size(); ++i) {
        numbers.push_back(shots::GbkReply(QStringLiteral("1|") + phones[i]));
        sim.Script(
            QStringLiteral("/yh_qm/username=demo2026&password=lanxun666&id=1003&phone=%1")
                .arg(phones[i])
                .toStdString(),
            shots::GbkReply(QStringLiteral("1|1|【抖音】验证码%1，用于手机号登录，5分钟内有效。")
                                .arg(codes[i])));
    }
    sim.ScriptSequence("yh_qh", numbers);

    QPointer<lanxun::MainWindow> window = new lanxun::MainWindow(QPointer<QWidget>());
    window->show();
    window->activateWindow();
    auto* picker = shots::Child<QComboBox>(window, "组合框_取号_项目列表");
    if (!WaitFor([&] { return picker->count() > 0; }, 30000)) {
        std::fprintf(stderr, "the project picker stayed empty\n");
        return 1;
    }
    shots::Child<QLineEdit>(window, "编辑框_取号_获取数量")->setText(QStringLiteral("3"));
    shots::Child<QPushButton>(window, "按钮_取号_获取号码")->click();
    lanxun::NumberList& list = window->numbers().List();
    const bool done = WaitFor(
        [&] {
            if (list.RowCount() != phones.size()) {
                return false;
            }
            for (int i = 0; i < phones.size(); ++i) {
                const lanxun::NumberRow row = list.Row(i);
                if (row.code.isEmpty() || row.homeRegion.isEmpty()) {
                    return false;
                }
            }
            return true;
        },
        60000);
    if (!done) {
        std::fprintf(stderr, "the numbers did not reach their codes\n");
        return 1;
    }
    shots::Settle(300);
    const bool ok = shots::SaveWindow(window, folder, QStringLiteral("numbers-codes"));
    delete window.data();
    return ok ? 0 : 1;
}
