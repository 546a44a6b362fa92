#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>

#include "account/login_state.h"
#include "api/server_lines.h"
#include "platform_sim.h"
#include "support/fake_services.h"
#include "support/find_child.h"
#include "support/sim_lines.h"
#include "ui/main_window.h"
#include "ui/menus.h"
#include "ui/window_factory.h"

namespace lanxun {
namespace {

using test::Child;

// The windows wired to their controllers, against the local platform, the demo user logged in.
class DockingAndAccountWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.Start()) << sim.StartError();
        SetLines(test::SimLines(sim));
        LoginState& login = CurrentLogin();
        login.userName = "demo2026";
        login.password = "lanxun666";
        login.securityQuestion = "您母亲的名字是？";
    }
    void TearDown() override { sim.Stop(); }

    QStringList Targets() const { return test::SimTargets(sim); }

    test::FakeServices services;
    // 10 times: the platform time-outs follow the clock, and a reply held for a few hundred
    // ms must still arrive.
    test::FastClock clock{10};
    test::ScopedClock useClock{clock};
    platformsim::PlatformSim sim;
};

TEST_F(DockingAndAccountWindowsTest, TheDockingPagesAnswerTheirButtonsAndMenus) {
    MainWindow window(QPointer<QWidget>(), {});
    Child<QPushButton>(&window, "超级按钮_专属对接")->click();
    auto* own = Child<QTreeWidget>(&window, "超级列表框_专属列表");
    ASSERT_EQ(own->topLevelItemCount(), 3);
    own->topLevelItem(0)->setSelected(true);
    window.menus().runningDocking.pause->trigger();
    EXPECT_EQ(own->topLevelItem(0)->text(4), "暂停");
    window.menus().pausedDocking.copyCode->trigger();
    EXPECT_EQ(services.clipboard.Text(), "ZS2025B0901KS");

    Child<QPushButton>(&window, "超级按钮_加入对接")->click();
    EXPECT_TRUE(Child<QWidget>(&window, "分组框_加入对接")->isVisibleTo(&window));
    Child<QLineEdit>(&window, "编辑框_加入对接")->setText("ZS2026P0101PD");
    Child<QPushButton>(&window, "按钮_加入对接")->click();
    EXPECT_EQ(own->topLevelItemCount(), 4);
    EXPECT_EQ(own->topLevelItem(3)->text(3), "发短信");

    QSignalSpy spy(&window, &QObject::objectNameChanged);  // only to spin the loop below
    Child<QPushButton>(&window, "超级按钮_公开对接")->click();
    auto* full = Child<QTreeWidget>(&window, "超级列表框_公开专属列表");
    for (int i = 0; i < 600 && full->topLevelItemCount() == 0; ++i) {
        spy.wait(50);
    }
    ASSERT_EQ(full->topLevelItemCount(), 6);
    Child<QLineEdit>(&window, "编辑框_公开搜索")->setText("发");
    auto* filtered = Child<QTreeWidget>(&window, "超级列表框_公开专属列表1");
    EXPECT_TRUE(filtered->isVisibleTo(&window));
    ASSERT_EQ(filtered->topLevelItemCount(), 1);
    filtered->topLevelItem(0)->setSelected(true);
    window.menus().filteredDocking.join->trigger();
    EXPECT_EQ(services.messageBoxes.Texts().last(), "加入对接成功");
    EXPECT_EQ(Targets().last(), "/yh_zs_jr/username=demo2026&password=lanxun666&d=ZS2026A0005AL");
}

TEST_F(DockingAndAccountWindowsTest, RegistrationFillsTheLoginBoxesAndCloses) {
    QLineEdit loginUser, loginPassword;
    QPointer<QWidget> window = CreateRegistrationWindow(&loginUser, &loginPassword);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    const std::pair<const char*, const char*> boxes[] = {
        {"编辑框_用户名", "newuser77"},  {"编辑框_密码", "secret77"},
        {"编辑框_确认密码", "secret77"}, {"编辑框_联系QQ", "123456"},
        {"编辑框_真实姓名", "张三"},     {"编辑框_支付宝", "z@example.com"},
        {"编辑框_安全答案", "蓝色的"},
    };
    for (const auto& [name, text] : boxes) {
        Child<QLineEdit>(window, name)->setText(QString::fromUtf8(text));
    }
    Child<QPushButton>(window, "按钮_注册")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(loginUser.text(), "newuser77");
    EXPECT_EQ(loginPassword.text(), "secret77");
    EXPECT_EQ(services.messageBoxes.Texts(), QStringList{"注册成功"});
}

TEST_F(DockingAndAccountWindowsTest, TheSecurityCentreWindowsStartFromTheLogin) {
    std::unique_ptr<QWidget> password(CreateChangePasswordWindow());
    EXPECT_EQ(Child<QComboBox>(password.get(), "组合框_修改密码_安全问题")->currentText(),
              "您母亲的名字是？");
    Child<QLineEdit>(password.get(), "编辑框_修改密码_安全答案")->setText("王芳");
    Child<QLineEdit>(password.get(), "编辑框_修改密码_新密码")->setText("newpass9");
    Child<QLineEdit>(password.get(), "编辑框_修改密码_确认码")->setText("newpass9");
    Child<QPushButton>(password.get(), "按钮_修改密码_保存")->click();
    EXPECT_EQ(services.messageBoxes.Texts().last(), "修改成功,请重新登录。");

    CurrentLogin().contactQq = "10086123";
    std::unique_ptr<QWidget> info(CreatePersonalInfoWindow());
    EXPECT_EQ(Child<QLineEdit>(info.get(), "编辑框_修改个人资_联系QQ")->text(), "10086123");
    Child<QPushButton>(info.get(), "按钮_修改个人资_保存")->click();
    EXPECT_EQ(services.messageBoxes.Texts().last(), "请输入安全答案");

    std::unique_ptr<QWidget> security(CreateSecurityWindow());
    EXPECT_EQ(Child<QComboBox>(security.get(), "组合框_修改安全信息_旧问题")->count(), 1);
    EXPECT_EQ(Child<QComboBox>(security.get(), "组合框_修改安全信息_新问题")->count(), 4);
    Child<QPushButton>(security.get(), "按钮_修改安全信息_保存")->click();
    EXPECT_EQ(services.messageBoxes.Texts().last(), "请输入旧的安全答案");
}

}  // namespace
}  // namespace lanxun
