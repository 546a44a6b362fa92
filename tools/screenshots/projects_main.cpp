// Renders the project features against the local platform's demo catalogue:
//   lanxun-project-screenshots <folder> [template-db script]
// the filled tab "项目列表", the "取号" picker open with the template of the first project shown
// (when the script can start the template database on the build's port), and "申请项目".

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>

#include "account/login_state.h"
#include "api/server_lines.h"
#include "db/template_database.h"
#include "db/template_lookup_controller.h"
#include "platform_sim.h"
#include "shot_platform.h"
#include "shot_support.h"
#include "ui/apply_project_window.h"
#include "ui/main_window.h"

namespace {

using shots::Child;
using shots::Settle;

bool RunScript(const QString& script, const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("bash"), QStringList{script} + arguments);
    return process.waitForFinished(180000) && process.exitCode() == 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDir folder;
    if (const int failed = shots::OpenOutputFolder(argc, argv, folder, "[template-db script]")) {
        return failed;
    }

    platformsim::PlatformSim sim;
    if (!shots::StartDemoPlatform(sim)) {
        return 1;
    }
    QTemporaryDir dbFolder;
    const QString script = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const bool database =
        !script.isEmpty() &&
        RunScript(script, {QStringLiteral("start"), dbFolder.path(),
                           QString::number(lanxun::BuildDatabaseSettings().port)});

    lanxun::LoginState& login = lanxun::CurrentLogin();
    login.balance = QStringLiteral("88.50");
    login.withdrawable = QStringLiteral("12.00");
    login.serviceQq = QStringLiteral("800012345");

    bool ok = true;
    {
        QPointer<lanxun::MainWindow> window = new lanxun::MainWindow(QPointer<QWidget>());
        window->show();
        window->activateWindow();
        Settle(2000);  // the two picker loaders
        if (database) {
            Settle(1000);
            window->templates().LookUp();  // as the user's pick of item 0
        }
        Child<QPushButton>(window, "超级按钮_项目列表")->click();
        Settle(300);
        ok = shots::SavePicture(window->grab(), folder, "projects-list") && ok;

        Child<QPushButton>(window, "超级按钮_收短信")->click();
        auto* picker = Child<QComboBox>(window, "组合框_取号_项目列表");
        picker->showPopup();
        Settle(500);
        QScreen* screen = window->screen();
        const QRect area = window->frameGeometry().united(picker->view()->window()->geometry());
        ok = shots::SavePicture(
                 screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()), folder,
                 "numbers-picker-open") &&
             ok;
        picker->hidePopup();
        delete window.data();
    }
    {
        auto* apply = new lanxun::ApplyProjectWindow;
        Child<QLineEdit>(apply, "编辑框_收码项目名")->setText(QStringLiteral("星河注册-登录"));
        Child<QPlainTextEdit>(apply, "编辑框_收码短信模板")
            ->setPlainText(QStringLiteral("【星河】你的注册验证码是352156，5分钟内有效。"));
        apply->show();
        Settle(400);
        ok = shots::SavePicture(apply->grab(), folder, "apply-project-filled") && ok;
        delete apply;
    }
    if (database) {
        RunScript(script, {QStringLiteral("stop"), dbFolder.path()});
    }
    return ok ? 0 : 1;
}
