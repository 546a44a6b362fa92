// Renders the money pages with data from the local platform, started in this process on
// loopback: the SMS records on a later page, a search of the referral records, the recharge
// window with a QR code of 50, the withdrawal window.
//   lanxun-records-screenshots <folder>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>

#include "account/login_state.h"
#include "api/server_lines.h"
#include "platform_sim.h"
#include "records/recharge_controller.h"
#include "shot_platform.h"
#include "shot_support.h"
#include "ui/main_window.h"
#include "ui/menus.h"
#include "ui/window_factory.h"

namespace {

using shots::Child;
using shots::Settle;

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
    lanxun::LoginState& login = lanxun::CurrentLogin();
    login.balance = QStringLiteral("88.50");
    login.withdrawable = QStringLiteral("12.00");
    login.serviceQq = QStringLiteral("800012345");

    bool ok = true;
    {
        QPointer<lanxun::MainWindow> main =
            new lanxun::MainWindow(QPointer<QWidget>(), std::vector<lanxun::WorkerFactory>{});
        main->show();
        main->activateWindow();
        Settle(300);
        main->menus().funds.smsRecords->trigger();
        Child<QPushButton>(main, "超级按钮_短信明细_下一页")->click();
        Child<QPushButton>(main, "超级按钮_短信明细_下一页")->click();
        Settle(200);
        ok = shots::SaveWindow(main, folder, "records-sms") && ok;

        main->menus().funds.referralRecords->trigger();
        Child<QLineEdit>(main, "编辑框_推荐人明细_搜索")->setText(QStringLiteral("1002"));
        Child<QPushButton>(main, "按钮_推荐人明细_搜索")->click();
        Settle(200);
        ok = shots::SaveWindow(main, folder, "records-referral-search") && ok;
        delete main.data();
    }
    {
        QPointer<QWidget> recharge = lanxun::CreateRechargeWindow();
        recharge->show();
        Child<QTabWidget>(recharge, "高级选择夹1")->setCurrentIndex(1);
        Child<QLineEdit>(recharge, "编辑框_二维码充值金额")->setText(QStringLiteral("50"));
        Child<QPushButton>(recharge, "按钮_二维码充值")->click();
        auto* controller = recharge->findChild<lanxun::RechargeController*>();
        QElapsedTimer limit;
        limit.start();
        while (controller->QrRechargeRunning() && limit.elapsed() < 20000) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        Settle(200);
        ok = shots::SaveWindow(recharge, folder, "recharge-qr") && ok;
        delete recharge.data();
    }
    {
        QPointer<QWidget> withdrawal = lanxun::CreateWithdrawalWindow();
        withdrawal->show();
        Child<QLineEdit>(withdrawal, "编辑框4")->setText(QStringLiteral("12"));
        Settle(300);
        ok = shots::SaveWindow(withdrawal, folder, "withdrawal-amount") && ok;
        delete withdrawal.data();
    }
    sim.Stop();
    return ok ? 0 : 1;
}
