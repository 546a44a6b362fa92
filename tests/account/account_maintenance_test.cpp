#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>
#include <string>

#include "account/account_maintenance.h"
#include "account/account_rules.h"
#include "account/login_state.h"
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

TEST(AccountRules, ChangePasswordInOrder) {
    struct Case {
        QString answer, newPassword, confirmation, message;
    };
    const Case cases[] = {
        {"", "x", "y", "请输入安全答案"},
        {"a", "abcde", "abcde", "新密码长度不够或新密码长度过长"},
        {"a", "abcdefghij123456", "abcdefghij123456", "新密码长度不够或新密码长度过长"},  // 16
        {"a", "a密码密码密码密码", "a密码密码密码密码", "新密码长度不够或新密码长度过长"},
        {"a", "abcdefghij12345", "abcde", "确认码长度不够"},
        {"a", "abcdefghij12345", "abcdefghij12346", "输入的新密码与确认码不一致"},
        {"a", "abcdefghij12345", "abcdefghij12345", ""},  // 15
        {"a", "密码密码密码x", "密码密码密码x", ""},      // 13 bytes
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChangePasswordInputError(c.answer, c.newPassword, c.confirmation), c.message)
            << c.newPassword.toStdString();
    }
}

TEST(AccountRules, ChangeSecurityAndProfileInOrder) {
    EXPECT_EQ(ChangeSecurityInputError("", ""), "请输入旧的安全答案");
    EXPECT_EQ(ChangeSecurityInputError("a", ""), "请输入新的安全答案");
    EXPECT_EQ(ChangeSecurityInputError("a", "b"), "");

    struct Case {
        QString answer, qq, name, alipay, message;
    };
    const Case cases[] = {
        {"", "", "", "", "请输入安全答案"},
        {"a", "12345", "n", "f", "请输入正确的联系QQ"},
        {"a", "99999", "n", "f", "请输入正确的联系QQ"},
        {"a", "", "n", "f", "请输入正确的联系QQ"},
        {"a", "abcdef", "n", "f", ""},  // six letters pass on length
        {"a", "100000", "n", "f", ""},
        {"a", "张三李", "n", "f", ""},  // 6 bytes
        {"a", "123456", "", "f", "请输入真实姓名"},
        {"a", "123456", "n", "", "请输入支付宝"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChangeProfileInputError(c.answer, c.qq, c.name, c.alipay), c.message)
            << c.qq.toStdString();
    }
}

std::string Gbk(const QString& text) {
    return ToGbk(text).toStdString();
}

// Logged in as the demo user on a fresh local platform.
class AccountWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.Start()) << sim.StartError();
        SetLines(test::SimLines(sim));
        const std::optional<SignReply> sign =
            ReadSignReply(FetchReply(SignUrl("demo2026", "lanxun666")));
        ASSERT_TRUE(sign.has_value());
        LoginState& login = CurrentLogin();
        login.userName = "demo2026";
        login.password = "lanxun666";
        login.securityQuestion = sign->securityQuestion;
        login.contactQq = sign->contactQq;
        login.legalName = sign->legalName;
        login.alipayAccount = sign->alipayAccount;
        sim.ClearRequests();
    }
    void TearDown() override { sim.Stop(); }

    QString Target() const {
        return sim.Requests().empty() ? QString()
                                      : QString::fromStdString(sim.Requests().back().target);
    }
    QStringList Messages() const { return services.messageBoxes.Texts(); }
    std::optional<SignReply> Sign(const QString& password) {
        return ReadSignReply(FetchReply(SignUrl("demo2026", password)));
    }

    test::FakeServices services;
    platformsim::PlatformSim sim;
    QWidget window;
};

class ChangePasswordTest : public AccountWindowTest {
protected:
    QComboBox question{&window};
    QLineEdit answer{&window}, newPassword{&window}, confirmation{&window};
    ChangePasswordController controller{{.window = &window,
                                         .question = &question,
                                         .answer = &answer,
                                         .newPassword = &newPassword,
                                         .confirmation = &confirmation}};
};

TEST_F(ChangePasswordTest, TheNewPasswordWorksAtTheNextLogin) {
    question.addItems(SecurityQuestions());
    controller.SetUp();
    EXPECT_EQ(question.count(), 1);
    EXPECT_EQ(question.currentText(), "您母亲的名字是？");

    answer.setText(" 王\u3000芳 ");
    newPassword.setText("new pass1");
    confirmation.setText("newpass1\u3000");
    controller.Save();
    EXPECT_EQ(Target(),
              "/xg_mm/username=demo2026&password=lanxun666&w=%E7%8E%8B%E8%8A%B3"
              "&p=newpass1");
    EXPECT_EQ(sim.Requests().back().line, "accountLine");
    EXPECT_EQ(Messages(), QStringList{"修改成功,请重新登录。"});
    EXPECT_EQ(answer.text(), "");
    EXPECT_EQ(newPassword.text(), "");
    EXPECT_EQ(confirmation.text(), "");
    EXPECT_EQ(CurrentLogin().password, "lanxun666");  // kept until the next login

    EXPECT_TRUE(Sign("newpass1").has_value());
    EXPECT_FALSE(Sign("lanxun666").has_value());
}

TEST_F(ChangePasswordTest, ARefusalIsShownAsReceivedAndKeepsTheBoxes) {
    answer.setText("wrong");
    newPassword.setText("newpass1");
    confirmation.setText("newpass1");
    controller.Save();
    sim.Script("xg_mm", test::Reply(200, Gbk("修改失败|0#c+")));
    controller.Save();
    sim.Stop();
    controller.Save();
    EXPECT_EQ(Messages(), QStringList({"安全答案错误", "修改失败|0#c+", ""}));
    EXPECT_EQ(answer.text(), "wrong");
    EXPECT_EQ(newPassword.text(), "newpass1");
}

TEST_F(ChangePasswordTest, ARuleBrokenSendsNothing) {
    answer.setText("\u3000 ");
    controller.Save();
    answer.setText("a");
    newPassword.setText("abcdefghij123456");
    confirmation.setText("abcdefghij123456");
    controller.Save();
    EXPECT_EQ(Messages(), QStringList({"请输入安全答案", "新密码长度不够或新密码长度过长"}));
    EXPECT_TRUE(sim.Requests().empty());
}

class SecurityTest : public AccountWindowTest {
protected:
    SecurityTest() {
        oldQuestion.addItems(SecurityQuestions());
        newQuestion.addItems(SecurityQuestions());
    }
    QComboBox oldQuestion{&window}, newQuestion{&window};
    QLineEdit oldAnswer{&window}, newAnswer{&window};
    SecurityController controller{{.window = &window,
                                   .oldQuestion = &oldQuestion,
                                   .oldAnswer = &oldAnswer,
                                   .newQuestion = &newQuestion,
                                   .newAnswer = &newAnswer}};
};

TEST_F(SecurityTest, TheNewQuestionIsShownAndSignedWith) {
    controller.SetUp();
    EXPECT_EQ(oldQuestion.count(), 1);
    EXPECT_EQ(oldQuestion.currentText(), "您母亲的名字是？");
    EXPECT_EQ(newQuestion.count(), 4);

    oldAnswer.setText("王芳");
    newQuestion.setCurrentIndex(3);
    newAnswer.setText("环游 世界");
    controller.Save();
    // Question and answers unencoded: the wire carries their UTF-8, escaped by the HTTP layer.
    EXPECT_EQ(Target(),
              "/xg_aq/username=demo2026&password=lanxun666&w=%E7%8E%8B%E8%8A%B3"
              "&xt=%E4%BD%A0%E7%9A%84%E6%A2%A6%E6%83%B3%E6%98%AF%E4%BB%80%E4%B9%88"
              "%EF%BC%9F&w1=%E7%8E%AF%E6%B8%B8%E4%B8%96%E7%95%8C");
    EXPECT_EQ(Messages(), QStringList{"安全信息修改成功"});
    EXPECT_EQ(CurrentLogin().securityQuestion, "你的梦想是什么？");
    EXPECT_EQ(oldQuestion.count(), 1);
    EXPECT_EQ(oldQuestion.currentText(), "你的梦想是什么？");
    EXPECT_EQ(oldAnswer.text(), "");
    EXPECT_EQ(newQuestion.currentIndex(), 0);
    EXPECT_EQ(newAnswer.text(), "");
    EXPECT_EQ(Sign("lanxun666")->securityQuestion, "你的梦想是什么？");

    // A window opened afresh shows the new question as the only old one.
    QComboBox reopenedOld, reopenedNew;
    QLineEdit a, b;
    SecurityController reopened{{.window = &window,
                                 .oldQuestion = &reopenedOld,
                                 .oldAnswer = &a,
                                 .newQuestion = &reopenedNew,
                                 .newAnswer = &b}};
    reopened.SetUp();
    EXPECT_EQ(reopenedOld.count(), 1);
    EXPECT_EQ(reopenedOld.currentText(), "你的梦想是什么？");
}

TEST_F(SecurityTest, ARefusalChangesNothing) {
    controller.SetUp();
    oldAnswer.setText("不对");
    newAnswer.setText("x");
    controller.Save();
    EXPECT_EQ(Messages(), QStringList{"安全答案错误"});
    EXPECT_EQ(CurrentLogin().securityQuestion, "您母亲的名字是？");
    EXPECT_EQ(oldAnswer.text(), "不对");
    oldAnswer.clear();
    controller.Save();
    EXPECT_EQ(Messages().last(), "请输入旧的安全答案");
    EXPECT_EQ(sim.Requests().size(), 1u);

    sim.Stop();
    oldAnswer.setText("王芳");
    controller.Save();
    EXPECT_EQ(Messages().last(), "");
    EXPECT_EQ(CurrentLogin().securityQuestion, "您母亲的名字是？");
    EXPECT_EQ(oldAnswer.text(), "王芳");
}

class PersonalInfoTest : public AccountWindowTest {
protected:
    QComboBox question{&window};
    QLineEdit answer{&window}, contactQq{&window}, legalName{&window}, alipay{&window};
    PersonalInfoController controller{{.window = &window,
                                       .question = &question,
                                       .answer = &answer,
                                       .contactQq = &contactQq,
                                       .legalName = &legalName,
                                       .alipay = &alipay}};
};

TEST_F(PersonalInfoTest, TheNewDataReachTheLoginAndTheNextSign) {
    controller.SetUp();
    EXPECT_EQ(question.currentText(), "您母亲的名字是？");
    EXPECT_EQ(contactQq.text(), "10086123");
    EXPECT_EQ(legalName.text(), "王小明");
    EXPECT_EQ(alipay.text(), "demo2026@example.com");

    answer.setText("王芳");
    contactQq.setText("abcdef");
    legalName.setText("王 大明");
    alipay.setText("a&b=c#d|e");
    controller.Save();
    EXPECT_EQ(Target(),
              "/xg_zl/username=demo2026&password=lanxun666&w=%E7%8E%8B%E8%8A%B3"
              "&q=abcdef&z=%E7%8E%8B%E5%A4%A7%E6%98%8E&f=a&b=c%23d|e");
    EXPECT_EQ(Messages(), QStringList{"资料修改成功"});
    EXPECT_EQ(answer.text(), "");
    // The login takes the boxes as shown, blanks and all.
    EXPECT_EQ(CurrentLogin().contactQq, "abcdef");
    EXPECT_EQ(CurrentLogin().legalName, "王 大明");
    EXPECT_EQ(CurrentLogin().alipayAccount, "a&b=c#d|e");
    const std::optional<SignReply> sign = Sign("lanxun666");
    ASSERT_TRUE(sign.has_value());
    EXPECT_EQ(sign->contactQq, "abcdef");
    EXPECT_EQ(sign->legalName, "王大明");
}

TEST_F(PersonalInfoTest, ARefusalKeepsTheLoginAndABadQqSendsNothing) {
    controller.SetUp();
    answer.setText("王芳");
    contactQq.setText("12345");
    controller.Save();
    EXPECT_TRUE(sim.Requests().empty());
    contactQq.setText("123456");
    sim.Script("xg_zl", test::Reply(200, Gbk("资料未改变")));
    controller.Save();
    EXPECT_EQ(Messages(), QStringList({"请输入正确的联系QQ", "资料未改变"}));
    EXPECT_EQ(answer.text(), "王芳");
    EXPECT_EQ(CurrentLogin().contactQq, "10086123");

    sim.Stop();
    controller.Save();
    EXPECT_EQ(Messages().last(), "");
    EXPECT_EQ(answer.text(), "王芳");
    EXPECT_EQ(CurrentLogin().contactQq, "10086123");
}

}  // namespace
}  // namespace lanxun
