// The pictures that need the platform: both docking tabs with the local platform's dockings
// after a join and a pause, and the registration window filled in.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "account/login_state.h"
#include "api/server_lines.h"
#include "client_lines.h"
#include "platform/message_box.h"
#include "platform_sim.h"
#include "shot_support.h"
#include "ui/main_window.h"
#include "ui/menus.h"
#include "ui/window_factory.h"

namespace {

using shots::Child;
using shots::Settle;

// The confirmations say Yes; nothing is shown over the windows being pictured.
class AnswerYes : public lanxun::MessageBoxService {
public:
    bool Show(const lanxun::Message&) override { return true; }
};

}  // namespace

bool ShootWithPlatform(const QDir& folder,
                       bool (*save)(QWidget* window, const QDir& folder, const QString& name)) {
    platformsim::PlatformSim sim;
    if (!sim.Start()) {
        return false;
    }
    lanxun::SetLines(lanxun::SimLines(sim));
    lanxun::LoginState& login = lanxun::CurrentLogin();
    login.userName = QStringLiteral("demo2026");
    login.password = QStringLiteral("lanxun666");
    AnswerYes answers;
    lanxun::InstallMessageBoxes(&answers);

    bool ok = true;
    {
        lanxun::MainWindow window(QPointer<QWidget>(), {});
        window.show();
        window.activateWindow();
        Settle(400);

        Child<QPushButton>(&window, "超级按钮_公开对接")->click();
        Settle(1500);
        auto* publicList = Child<QTreeWidget>(&window, "超级列表框_公开专属列表");
        if (QTreeWidgetItem* item = publicList->topLevelItem(1)) {
            item->setSelected(true);
            window.menus().publicDocking.join->trigger();
        }
        ok = save(&window, folder, QStringLiteral("docking-public")) && ok;
        Child<QLineEdit>(&window, "编辑框_公开搜索")->setText(QStringLiteral("发"));
        Settle(200);
        ok = save(&window, folder, QStringLiteral("docking-public-filtered")) && ok;

        Child<QPushButton>(&window, "超级按钮_专属对接")->click();
        auto* own = Child<QTreeWidget>(&window, "超级列表框_专属列表");
        if (QTreeWidgetItem* item = own->topLevelItem(0)) {
            item->setSelected(true);
            window.menus().runningDocking.pause->trigger();
        }
        Settle(200);
        ok = save(&window, folder, QStringLiteral("docking-own")) && ok;
        Child<QPushButton>(&window, "超级按钮_加入对接")->click();
        Child<QLineEdit>(&window, "编辑框_加入对接")->setText(QStringLiteral("ZS2026P0100MT"));
        Settle(200);
        ok = save(&window, folder, QStringLiteral("docking-join")) && ok;
    }

    QWidget* registration = lanxun::CreateRegistrationWindow();
    const std::pair<const char*, const char*> boxes[] = {
        {"编辑框_用户名", "newuser2026"},  {"编辑框_密码", "secret2026"},
        {"编辑框_确认密码", "secret2026"}, {"编辑框_联系QQ", "12345678"},
        {"编辑框_真实姓名", "张三"},       {"编辑框_支付宝", "zhangsan@example.com"},
        {"编辑框_安全答案", "蓝色"},       {"编辑框_推荐人ID", "20260001"},
    };
    for (const auto& [name, text] : boxes) {
        Child<QLineEdit>(registration, name)->setText(QString::fromUtf8(text));
    }
    Child<QComboBox>(registration, "组合框_安全问题")->setCurrentIndex(1);
    registration->show();
    registration->activateWindow();
    Settle(400);
    ok = save(registration, folder, QStringLiteral("registration-filled")) && ok;
    delete registration;

    lanxun::InstallMessageBoxes(nullptr);
    return ok;
}
