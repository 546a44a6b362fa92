#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <string>

#include "account/login_controller.h"
#include "account/login_state.h"
#include "account/startup.h"
#include "api/server_lines.h"
#include "platform/gbk.h"
#include "platform_sim.h"
#include "support/fake_services.h"
#include "support/sim_lines.h"
#include "support/temp_locations.h"

namespace lanxun {
namespace {

using platformsim::PlatformSim;
using platformsim::ScriptedReply;

std::string Gbk(const QString& text) {
    return ToGbk(text).toStdString();
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class LoginControllerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sim.Start()); }
    void TearDown() override { sim.Stop(); }

    // Start-up as the window's created event runs it, then a clean request log.
    void StartUp() {
        ASSERT_TRUE(controller.RunStartup(test::SimLines(sim)));
        sim.ClearRequests();
        services.messageBoxes.shown.clear();
    }
    bool LogIn(const QString& userName, const QString& password) {
        user.setText(userName);
        password_.setText(password);
        return controller.Login();
    }
    QString SavedLoginFile() const {
        return locations.DriveRoot() + "/设置/商户信息/211195/187167/用户.数据";
    }
    QStringList Targets() const { return test::SimTargets(sim); }
    QStringList Messages() const { return services.messageBoxes.Texts(); }

    test::TempLocations locations;
    test::FakeServices services;
    PlatformSim sim;
    QWidget window;
    QLineEdit user{&window};
    QLineEdit password_{&window};
    QTimer timer;
    LoginController controller{
        {.window = &window, .userName = &user, .password = &password_, .leftoverTimer = &timer}};
};

// ---- start-up ----

TEST_F(LoginControllerTest, FirstStartSendsAnEmptyPreLoginAndEmptiesTheBoxes) {
    user.setText("typed");
    password_.setText("typed");
    ASSERT_TRUE(controller.RunStartup(test::SimLines(sim)));

    EXPECT_EQ(user.text(), "");
    EXPECT_EQ(password_.text(), "");
    EXPECT_EQ(Targets(), QStringList({"/sign/username=&password="}));
    EXPECT_EQ(sim.Requests().at(0).line, "accountLine");
    EXPECT_EQ(CurrentLogin().serviceQq, "");
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(Lines(), test::SimLines(sim));
    EXPECT_TRUE(timer.isActive());
    EXPECT_EQ(timer.interval(), 100);
    for (const char* table : {"归属地", "用户", "标识", "商户信息"}) {
        EXPECT_TRUE(QFileInfo(locations.DriveRoot() + "/设置/" + QString::fromUtf8(table)).isDir());
    }
}

TEST_F(LoginControllerTest, SavedLoginIsRestoredAndThePreLoginTakesOnlyTheServiceQq) {
    SetUpSettingsStore();
    SaveLogin("demo2026", "lanxun666");
    ASSERT_TRUE(controller.RunStartup(test::SimLines(sim)));

    EXPECT_EQ(user.text(), "demo2026");
    EXPECT_EQ(password_.text(), "lanxun666");
    EXPECT_EQ(Targets(), QStringList({"/sign/username=demo2026&password=lanxun666"}));
    EXPECT_EQ(CurrentLogin().serviceQq, "800012345");
    EXPECT_EQ(CurrentLogin().balance, "");
    EXPECT_EQ(CurrentLogin().userName, "");
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(LoginControllerTest, ASavedPasswordWithABarComesBackUpToIt) {
    SetUpSettingsStore();
    SaveLogin("demo2026", "lan|xun666");
    ASSERT_TRUE(controller.RunStartup(test::SimLines(sim)));
    EXPECT_EQ(password_.text(), "lan");
    EXPECT_EQ(Targets(), QStringList({"/sign/username=demo2026&password=lan"}));
}

TEST_F(LoginControllerTest, PreLoginFailuresAreSilent) {
    const ScriptedReply replies[] = {
        {200, "1|2|3|4|5|6|7|8|9"},  // too few fields
        {200, "", {}, 0, true},      // connection closed without a reply
        {500, "\xFF\xFE\x80"},
    };
    for (const ScriptedReply& reply : replies) {
        sim.Script("sign", reply);
        ASSERT_TRUE(controller.RunStartup(test::SimLines(sim)));
        EXPECT_EQ(CurrentLogin().serviceQq, "");
        EXPECT_TRUE(Messages().isEmpty());
    }
}

TEST_F(LoginControllerTest, TheOldExecutableIsDeletedWhileTheWindowWaits) {
    StartUp();
    const QString leftover = locations.RunDirectory() + "/" + OwnExecutableName() + ".gx";
    QFile file(leftover);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !QFileInfo::exists(leftover); }, 5000));
}

TEST_F(LoginControllerTest, AStoreThatCannotBeMadeOnlyLosesTheSavedLogin) {
    QFile blocker(locations.DriveRoot() + "/设置");  // a file where the store belongs
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    user.setText("typed");
    ASSERT_TRUE(controller.RunStartup(test::SimLines(sim)));
    EXPECT_EQ(user.text(), "");
    EXPECT_EQ(Targets(), QStringList({"/sign/username=&password="}));

    EXPECT_TRUE(LogIn("demo2026", "lanxun666"));
    EXPECT_EQ(CurrentLogin().balance, "88.50");
    EXPECT_TRUE(QFileInfo(locations.DriveRoot() + "/设置").isFile());
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(LoginControllerTest, AVersionCheckThatHandsOverEndsTheStartUp) {
    bool checked = false;
    controller.SetVersionCheck([&](HttpRequest&) {
        checked = true;
        return true;
    });
    EXPECT_FALSE(controller.RunStartup(test::SimLines(sim)));
    EXPECT_TRUE(checked);
    EXPECT_TRUE(Targets().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(locations.DriveRoot() + "/设置"));
    EXPECT_EQ(Lines(), ServerLines());

    controller.SetVersionCheck([](HttpRequest&) { return false; });
    EXPECT_TRUE(controller.RunStartup(test::SimLines(sim)));
    EXPECT_EQ(Targets().size(), 1);
}

// ---- login ----

TEST_F(LoginControllerTest, DemoLoginFillsTheStateSavesItAndStopsTheTimer) {
    StartUp();
    ASSERT_TRUE(LogIn(" demo 2026", "lanxun666 "));

    EXPECT_EQ(user.text(), "demo2026");  // spaces removed and written back
    EXPECT_EQ(password_.text(), "lanxun666");
    EXPECT_EQ(Targets(), QStringList({"/sign/username=demo2026&password=lanxun666"}));
    EXPECT_TRUE(Messages().isEmpty());
    const LoginState& login = CurrentLogin();
    const platformsim::Account demo = PlatformSim::DemoAccount();
    EXPECT_EQ(login.userName, "demo2026");
    EXPECT_EQ(login.password, "lanxun666");
    EXPECT_EQ(login.balance, "88.50");
    EXPECT_EQ(login.withdrawable, "12.00");
    EXPECT_EQ(login.securityQuestion, FromGbk(QByteArray::fromStdString(demo.securityQuestion)));
    EXPECT_EQ(login.contactQq, "10086123");
    EXPECT_EQ(login.legalName, "王小明");
    EXPECT_EQ(login.alipayAccount, "demo2026@example.com");
    EXPECT_EQ(login.announcement, FromGbk(QByteArray::fromStdString(demo.announcement)));
    EXPECT_EQ(login.serviceQq, "800012345");
    EXPECT_EQ(FileBytes(SavedLoginFile()), "demo2026|lanxun666");
    EXPECT_FALSE(timer.isActive());

    // The next start finds it.
    user.clear();
    password_.clear();
    ASSERT_TRUE(controller.RunStartup(test::SimLines(sim)));
    EXPECT_EQ(user.text(), "demo2026");
    EXPECT_EQ(password_.text(), "lanxun666");
}

TEST_F(LoginControllerTest, BrokenInputRulesSendNothing) {
    StartUp();
    EXPECT_FALSE(LogIn("demo", "lanxun666"));
    EXPECT_FALSE(LogIn(QString("demo") + QChar(0x3000) + "2026", "lanxun666"));
    EXPECT_FALSE(LogIn("demo2026", "  lan  "));
    EXPECT_EQ(Messages(),
              QStringList({"用户名长度少于6位。", "用户名不支持中文或字符", "密码长度少于6位。"}));
    EXPECT_EQ(password_.text(), "lan");
    EXPECT_EQ(services.messageBoxes.shown.at(0).title, "信息：");
    EXPECT_EQ(services.messageBoxes.shown.at(0).icon, MessageIcon::Question);
    EXPECT_TRUE(Targets().isEmpty());
    EXPECT_TRUE(timer.isActive());
}

TEST_F(LoginControllerTest, TenFieldsAreAnErrorAndElevenLogIn) {
    StartUp();
    sim.Script("sign", {200, "a|b|c|d|e|f|g|h|i|j"});
    EXPECT_FALSE(LogIn("demo2026", "lanxun666"));
    EXPECT_EQ(Messages(), QStringList({"a|b|c|d|e|f|g|h|i|j"}));
    EXPECT_EQ(CurrentLogin().userName, "");
    EXPECT_FALSE(QFileInfo::exists(SavedLoginFile()));

    sim.Script("sign", {200, Gbk("0|1|2|3|问题|5|名字|7|公告|9|用户|11|12")});
    EXPECT_TRUE(LogIn("demo2026", "lanxun666"));
    EXPECT_EQ(Messages().size(), 1);
    EXPECT_EQ(CurrentLogin().balance, "0");
    EXPECT_EQ(CurrentLogin().withdrawable, "1");
    EXPECT_EQ(CurrentLogin().securityQuestion, "问题");
    EXPECT_EQ(CurrentLogin().contactQq, "5");
    EXPECT_EQ(CurrentLogin().legalName, "名字");
    EXPECT_EQ(CurrentLogin().alipayAccount, "7");
    EXPECT_EQ(CurrentLogin().announcement, "公告");
    EXPECT_EQ(CurrentLogin().serviceQq, "9");
}

TEST_F(LoginControllerTest, AMerchantIsRefusedAfterTheStateWasFilled) {
    StartUp();
    EXPECT_FALSE(LogIn("merchant01", "kashang888"));
    EXPECT_EQ(Messages(), QStringList({"商户帐号禁止登录澄信客户端"}));
    EXPECT_EQ(CurrentLogin().userName, "merchant01");
    EXPECT_EQ(CurrentLogin().balance, "1024.00");
    EXPECT_FALSE(QFileInfo::exists(SavedLoginFile()));
    EXPECT_TRUE(timer.isActive());
}

TEST_F(LoginControllerTest, BadSignRepliesAreShownAndNothingIsSaved) {
    StartUp();
    const std::string huge(1 << 20, 'x');
    struct Case {
        const char* what;
        ScriptedReply reply;
        QString shown;
    } cases[] = {
        {"empty", {200, ""}, ""},
        {"no reply", {200, "", {}, 0, true}, ""},
        {"server error page", {500, Gbk("服务器错误")}, "服务器错误"},
        {"binary up to its zero byte",
         {200, std::string("\x01|\x02\0|||||||||||", 16)},
         "\x01|\x02"},
        {"ten separators", {200, "||||||||||"}, "||||||||||"},
        {"huge", {200, huge}, QString(4000, u'x') + "…"},
    };
    for (const Case& c : cases) {
        services.messageBoxes.shown.clear();
        sim.Script("sign", c.reply);
        EXPECT_FALSE(LogIn("demo2026", "lanxun666")) << c.what;
        EXPECT_EQ(Messages(), QStringList({c.shown})) << c.what;
    }
    EXPECT_FALSE(QFileInfo::exists(SavedLoginFile()));
    EXPECT_EQ(CurrentLogin().userName, "");
}

TEST_F(LoginControllerTest, ElevenEmptyFieldsLogInWithEmptyValues) {
    StartUp();
    sim.Script("sign", {200, "|||||||||||"});
    EXPECT_TRUE(LogIn("demo2026", "lanxun666"));
    EXPECT_EQ(CurrentLogin().userName, "demo2026");
    EXPECT_EQ(CurrentLogin().balance, "");
}

TEST_F(LoginControllerTest, PasswordsGoIntoTheUrlUnescaped) {
    StartUp();
    struct Case {
        QString password;
        QString target;  // as the platform received it
    } cases[] = {
        {"ab&cd|ef", "/sign/username=demo2026&password=ab&cd|ef"},
        {"ab#cdef", "/sign/username=demo2026&password=ab%23cdef"},
        {"密码1234", "/sign/username=demo2026&password=%E5%AF%86%E7%A0%811234"},
        {QString("ab") + QChar(0x3000) + "cdef",
         "/sign/username=demo2026&password=ab%E3%80%80cdef"},
    };
    for (const Case& c : cases) {
        sim.ClearRequests();
        services.messageBoxes.shown.clear();
        EXPECT_FALSE(LogIn("demo2026", c.password)) << c.target.toStdString();
        EXPECT_EQ(Targets(), QStringList({c.target}));
        EXPECT_EQ(Messages(), QStringList({"0|用户名或密码错误"})) << c.target.toStdString();
    }
}

TEST_F(LoginControllerTest, FindPasswordNamesTheServiceQq) {
    StartUp();
    controller.ShowFindPassword();
    SetUpSettingsStore();
    SaveLogin("demo2026", "lanxun666");
    ASSERT_TRUE(controller.RunStartup(test::SimLines(sim)));
    controller.ShowFindPassword();

    ASSERT_EQ(services.messageBoxes.shown.size(), 2u);
    const Message& before = services.messageBoxes.shown[0];
    EXPECT_EQ(before.text, "为保障用户资金安全!请联系客服QQ: ");
    EXPECT_EQ(before.title, "安全提示");
    EXPECT_EQ(before.icon, MessageIcon::None);
    EXPECT_EQ(before.buttons, MessageButtons::Ok);
    EXPECT_EQ(services.messageBoxes.shown[1].text, "为保障用户资金安全!请联系客服QQ: 800012345");
}

}  // namespace
}  // namespace lanxun
