#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>
#include <string>

#include "account/account_rules.h"
#include "account/login_state.h"
#include "account/registration_controller.h"
#include "api/endpoints.h"
#include "api/platform_call.h"
#include "api/replies.h"
#include "api/server_lines.h"
#include "platform/gbk.h"
#include "platform_sim.h"
#include "support/fake_services.h"
#include "support/sim_lines.h"
#include "support/sim_reply.h"

namespace lanxun {
namespace {

// A registration that passes every rule; each case changes what it tests.
Registration Valid() {
    Registration r;
    r.userName = "newuser01";
    r.password = "secret01";
    r.contactQq = "12345";
    r.legalName = "张三";
    r.alipayAccount = "zs@example.com";
    r.securityAnswer = "abc";
    return r;
}

TEST(RegistrationRules, EachRuleInItsOrder) {
    struct Case {
        const char* what;
        Registration r;
        QString confirmation;
        QString message;
    };
    const QString c16 = QStringLiteral("密码密码密码密码");   // 16 bytes
    const QString c17 = QStringLiteral("a密码密码密码密码");  // 17 bytes
    auto with = [](auto change) {
        Registration r = Valid();
        change(r);
        return r;
    };
    const Case cases[] = {
        {"valid", Valid(), "secret01", ""},
        {"chinese name", with([](Registration& r) { r.userName = "新用户newuser"; }), "x",
         "注册不支持中文或字符"},
        {"sign in name", with([](Registration& r) { r.userName = "new_user01"; }), "x",
         "注册不支持中文或字符"},
        {"full-width space in name", with([](Registration& r) { r.userName = "new\u3000user01"; }),
         "x", "注册不支持中文或字符"},
        {"emoji in name", with([](Registration& r) { r.userName = "newuser\U0001F600"; }), "x",
         "注册不支持中文或字符"},
        {"capitals, @ and .", with([](Registration& r) { r.userName = "New.User@QQ"; }), "secret01",
         ""},
        {"short name before short password", with([](Registration& r) {
             r.userName = "abcde";
             r.password = "x";
         }),
         "x", "用户名长度必须大于6位。"},
        {"short password", with([](Registration& r) { r.password = "abcde"; }), "abcde",
         "密码长度必须大于6位。"},
        {"short confirmation", Valid(), "secre", "确认密码长度必须大于6位。"},
        {"different confirmation", Valid(), "secret02", "密码与确认密码不一致。"},
        {"short answer", with([](Registration& r) { r.securityAnswer = "ab"; }), "secret01",
         "安全答案必须大于3位。"},
        {"chinese answer of 2 bytes", with([](Registration& r) { r.securityAnswer = "答"; }),
         "secret01", "安全答案必须大于3位。"},
        {"name of 16", with([](Registration& r) { r.userName = "abcdefghij123456"; }), "secret01",
         ""},
        {"name of 17", with([](Registration& r) { r.userName = "abcdefghij1234567"; }), "secret01",
         "用户名长度不能超过16位。"},
        {"password of 16 chinese bytes", with([&](Registration& r) { r.password = c16; }), c16, ""},
        {"password of 17 bytes after the name checks",
         with([&](Registration& r) { r.password = c17; }), c17, "密码长度不能超过16位。"},
        {"ascii password of 17", with([](Registration& r) { r.password = "abcdefghij1234567"; }),
         "abcdefghij1234567", "密码长度不能超过16位。"},
        {"long name before long password", with([](Registration& r) {
             r.userName = "abcdefghij1234567";
             r.password = "abcdefghij1234567";
         }),
         "abcdefghij1234567", "用户名长度不能超过16位。"},
        {"QQ of 4", with([](Registration& r) { r.contactQq = "1234"; }), "secret01",
         "QQ号位数必须大于6位"},
        {"QQ of 5 passes", with([](Registration& r) { r.contactQq = "12345"; }), "secret01", ""},
        {"empty legal name", with([](Registration& r) { r.legalName = ""; }), "secret01",
         "请输入支付宝姓名[用于开发者提现]"},
        {"empty alipay", with([](Registration& r) { r.alipayAccount = ""; }), "secret01",
         "请输入支付宝账号[用于开发者提现]"},
        {"no referrer", with([](Registration& r) { r.referrerId = ""; }), "secret01", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RegistrationInputError(c.r, c.confirmation), c.message) << c.what;
    }
}

std::string Gbk(const QString& text) {
    return ToGbk(text).toStdString();
}

class RegistrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.Start()) << sim.StartError();
        SetLines(test::SimLines(sim));
        question.addItems(SecurityQuestions());
    }
    void TearDown() override { sim.Stop(); }

    void Fill(const QString& name, const QString& pass, const QString& confirm) {
        userName.setText(name);
        password.setText(pass);
        confirmation.setText(confirm);
        answer.setText("蓝色 的");
        referrer.setText("1 0 8");
        contactQq.setText("1234 5678");
        legalName.setText("张 三");
        alipay.setText("zs@example.com ");
        question.setCurrentIndex(1);
    }
    QStringList Messages() const { return services.messageBoxes.Texts(); }

    test::FakeServices services;
    platformsim::PlatformSim sim;
    QWidget window;
    QLineEdit userName{&window}, password{&window}, confirmation{&window}, answer{&window},
        referrer{&window}, contactQq{&window}, legalName{&window}, alipay{&window};
    QComboBox question{&window};
    QLineEdit loginUserName, loginPassword;
    RegistrationController controller{{.window = &window,
                                       .userName = &userName,
                                       .password = &password,
                                       .confirmation = &confirmation,
                                       .answer = &answer,
                                       .referrer = &referrer,
                                       .contactQq = &contactQq,
                                       .legalName = &legalName,
                                       .alipay = &alipay,
                                       .question = &question,
                                       .loginUserName = &loginUserName,
                                       .loginPassword = &loginPassword}};
};

TEST_F(RegistrationTest, ANewAccountRegistersAndCanLogIn) {
    Fill("new user 01", "pass word1", "password1");
    ASSERT_TRUE(controller.Register());

    // Spaces removed and written back; the legal name, question and answer encoded.
    EXPECT_EQ(userName.text(), "newuser01");
    EXPECT_EQ(contactQq.text(), "12345678");
    EXPECT_EQ(legalName.text(), "张三");
    ASSERT_EQ(sim.Requests().size(), 1u);
    EXPECT_EQ(sim.Requests()[0].line, "accountLine");
    EXPECT_EQ(sim.Requests()[0].target,
              "/ZC/username=newuser01&password=password1&password1=password1&QQ=12345678"
              "&Fullname=%E5%BC%A0%E4%B8%89&account=zs@example.com&Referee=108"
              "&problem=%E4%BD%A0%E5%96%9C%E6%AC%A2%E7%9A%84%E9%A2%9C%E8%89%B2%EF%BC%9F"
              "&Answer=%E8%93%9D%E8%89%B2%E7%9A%84&type=1");
    EXPECT_EQ(Messages(), QStringList{"注册成功"});
    EXPECT_EQ(loginUserName.text(), "newuser01");
    EXPECT_EQ(loginPassword.text(), "password1");

    const std::optional<SignReply> sign =
        ReadSignReply(FetchReply(SignUrl("newuser01", "password1")));
    ASSERT_TRUE(sign.has_value());
    EXPECT_EQ(sign->securityQuestion, "你喜欢的颜色？");
    EXPECT_EQ(sign->legalName, "张三");
    EXPECT_EQ(sign->contactQq, "12345678");
}

TEST_F(RegistrationTest, ValuesWithSeparatorsGoOutAsTheyStand) {
    Fill("newuser02", "p&w=1#2|3", "p&w=1#2|3");
    alipay.setText("a&b=c#d|e");
    legalName.setText("李\u3000四&=#|😀");
    sim.Script("ZC", test::Reply(200, Gbk("注册失败:账号格式错误")));
    EXPECT_FALSE(controller.Register());
    ASSERT_EQ(sim.Requests().size(), 1u);
    // "#" reaches the server escaped; everything else unencoded stays as typed.
    EXPECT_EQ(sim.Requests()[0].target,
              "/ZC/username=newuser02&password=p&w=1%232|3&password1=p&w=1%232|3&QQ=12345678"
              "&Fullname=%E6%9D%8E%E3%80%80%E5%9B%9B%26%3D%23%7C%F0%9F%98%80&account=a&b=c%23d|e"
              "&Referee=108&problem=%E4%BD%A0%E5%96%9C%E6%AC%A2%E7%9A%84%E9%A2%9C%E8%89%B2%EF%BC%9F"
              "&Answer=%E8%93%9D%E8%89%B2%E7%9A%84&type=1");
    EXPECT_EQ(Messages(), QStringList{"注册失败:账号格式错误"});
}

TEST_F(RegistrationTest, ARefusalOrADownPlatformKeepsTheInput) {
    Fill("demo2026", "password1", "password1");
    EXPECT_FALSE(controller.Register());
    EXPECT_EQ(Messages(), QStringList{"用户名已存在"});

    sim.Script("ZC", test::Reply(200, Gbk("注册成功 ")));  // not exactly the success text
    EXPECT_FALSE(controller.Register());
    EXPECT_EQ(Messages().last(), "注册成功 ");

    sim.Stop();
    EXPECT_FALSE(controller.Register());
    EXPECT_EQ(Messages().last(), "");
    EXPECT_EQ(userName.text(), "demo2026");
    EXPECT_EQ(alipay.text(), "zs@example.com");
    EXPECT_EQ(loginUserName.text(), "");
}

TEST_F(RegistrationTest, ARuleBrokenSendsNothing) {
    Fill("newuser03", "password1", "password2");
    EXPECT_FALSE(controller.Register());
    question.setCurrentIndex(-1);
    Fill("newuser03", "password1", "password1");
    alipay.setText("   ");
    EXPECT_FALSE(controller.Register());
    EXPECT_EQ(Messages(),
              QStringList({"密码与确认密码不一致。", "请输入支付宝账号[用于开发者提现]"}));
    EXPECT_TRUE(sim.Requests().empty());
}

}  // namespace
}  // namespace lanxun
