#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include "account/login_state.h"
#include "api/server_lines.h"
#include "lanxun/build_config.h"
#include "platform/gbk.h"
#include "platform_sim.h"
#include "support/fake_services.h"
#include "support/sim_lines.h"
#include "support/temp_locations.h"
#include "ui/login_window.h"

namespace lanxun {
namespace {

using platformsim::PlatformSim;

class LoginWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.Start());
        window = new LoginWindow(test::SimLines(sim), [this](QPointer<QWidget> login) {
            handedOver.push_back(login.data());
            loginVisibleAtHandOver = login && login->isVisible();
        });
        ASSERT_TRUE(window->RunStartup());
        window->show();
    }
    void TearDown() override {
        delete window.data();
        sim.Stop();
    }

    template <typename T>
    T* Child(const char* name) {
        T* child = window->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    void LogIn(const QString& userName, const QString& password) {
        Child<QLineEdit>("编辑框_用户名")->setText(userName);
        Child<QLineEdit>("编辑框_密码")->setText(password);
        QTest::mouseClick(Child<QPushButton>("按钮1"), Qt::LeftButton);
    }

    test::TempLocations locations;
    test::FakeServices services;
    PlatformSim sim;
    QPointer<LoginWindow> window;
    std::vector<QWidget*> handedOver;
    bool loginVisibleAtHandOver = true;
};

TEST_F(LoginWindowTest, LoginShowsTheAnnouncementThenHandsOverToTheMainWindow) {
    EXPECT_EQ(window->windowTitle(), "岚讯接码平台");
    QString announcementShown;
    bool loginWindowShownMeanwhile = false;
    services.modals.onOpen = [&](QWidget* announcement) {
        auto* text = announcement->findChild<QPlainTextEdit*>("编辑框1");
        announcementShown = text ? text->toPlainText() : "<no 编辑框1>";
        loginWindowShownMeanwhile = window->isVisible();
        EXPECT_TRUE(handedOver.empty());
    };
    LogIn("demo2026", "lanxun666");

    EXPECT_EQ(services.modals.titles, QStringList({"用户端公告"}));
    // The edit box keeps line breaks as "\n".
    QString announcement =
        FromGbk(QByteArray::fromStdString(PlatformSim::DemoAccount().announcement));
    announcement.replace("\r\n", "\n");
    ASSERT_TRUE(announcement.contains("800012345"));
    EXPECT_EQ(announcementShown, announcement);
    EXPECT_TRUE(loginWindowShownMeanwhile);
    ASSERT_EQ(handedOver.size(), 1u);
    EXPECT_EQ(handedOver[0], window.data());
    EXPECT_FALSE(loginVisibleAtHandOver);  // hidden before the main window opens
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(services.messageBoxes.shown.empty());
}

TEST_F(LoginWindowTest, ARefusedLoginKeepsTheWindowReady) {
    LogIn("merchant01", "kashang888");
    LogIn("demo2026", "wrong-pass");
    EXPECT_EQ(services.messageBoxes.Texts(),
              QStringList({"商户帐号禁止登录澄信客户端", "0|用户名或密码错误"}));
    EXPECT_TRUE(services.modals.titles.isEmpty());
    EXPECT_TRUE(handedOver.empty());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(LoginWindowTest, TheSmallButtons) {
    QTest::mouseClick(Child<QPushButton>("按钮_找回密码"), Qt::LeftButton);
    ASSERT_EQ(services.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(services.messageBoxes.shown[0].title, "安全提示");
    EXPECT_EQ(services.messageBoxes.shown[0].icon, MessageIcon::None);

    QTest::mouseClick(Child<QLabel>("透明标签55"), Qt::LeftButton);
    ASSERT_EQ(services.shell.opened.size(), 1u);
    EXPECT_EQ(services.shell.opened[0], QUrl(QString::fromUtf8(build::kForumUrl)));

    window->SetRegistrationWindow([] {
        auto* registration = new QWidget;
        registration->setWindowTitle("岚讯用户注册");
        return registration;
    });
    QTest::mouseClick(Child<QPushButton>("按钮_注册账户"), Qt::LeftButton);
    EXPECT_EQ(services.modals.titles, QStringList({"岚讯用户注册"}));
}

// A sign reply that takes its time, so that something can happen while the
// login handler waits for it.
void ScriptSlowSign(PlatformSim& sim) {
    sim.Script(
        "sign",
        {200, ToGbk("88.50|12.00|0|0|问题|10086|王|a@b|公告|800|用户").toStdString(), {}, 600});
}

TEST_F(LoginWindowTest, ClosedWhileTheLoginWaitsTheWindowGoesAndNothingOpens) {
    struct Case {
        const char* how;
        std::function<void(LoginWindow*)> close;
    } cases[] = {
        {"system close", [](LoginWindow* w) { w->close(); }},
        {"Esc", [](LoginWindow* w) { QTest::keyClick(w, Qt::Key_Escape); }},
        {"close box",
         [](LoginWindow* w) {
             QTest::mouseClick(w->findChild<QLabel*>(QStringLiteral("图片框9")), Qt::LeftButton);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        if (!window) {
            window = new LoginWindow(test::SimLines(sim), [this](QPointer<QWidget> login) {
                handedOver.push_back(login.data());
            });
            ASSERT_TRUE(window->RunStartup());
            window->show();
        }
        ScriptSlowSign(sim);
        QPointer<LoginWindow> target = window;
        // Fires inside the handler's wait for the reply.
        QTimer::singleShot(100, window, [&c, target] { c.close(target.data()); });
        LogIn("demo2026", "lanxun666");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        EXPECT_TRUE(window.isNull());
        EXPECT_TRUE(services.modals.titles.isEmpty());
        EXPECT_TRUE(handedOver.empty());
    }
}

TEST_F(LoginWindowTest, ASecondClickWhileTheLoginWaitsIsIgnored) {
    ScriptSlowSign(sim);
    sim.ClearRequests();
    QTimer::singleShot(100, window,
                       [this] { QTest::mouseClick(Child<QPushButton>("按钮1"), Qt::LeftButton); });
    LogIn("demo2026", "lanxun666");

    EXPECT_EQ(test::SimTargets(sim), QStringList({"/sign/username=demo2026&password=lanxun666"}));
    EXPECT_EQ(services.modals.titles, QStringList({"用户端公告"}));
    EXPECT_EQ(handedOver.size(), 1u);
}

}  // namespace
}  // namespace lanxun
