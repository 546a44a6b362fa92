#include "account/account_maintenance.h"

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include "account/account_rules.h"
#include "account/login_state.h"
#include "api/endpoints.h"
#include "api/platform_call.h"
#include "api/protocol.h"
#include "api/replies.h"
#include "platform/handler_scope.h"
#include "platform/message_box.h"

namespace lanxun {

namespace {

// The question the user logged in with, shown as the box's only item.
void ShowOnlyQuestion(QComboBox* box, const QString& question) {
    box->clear();
    box->addItem(question);
    box->setCurrentIndex(0);
}

void Tell(QWidget* window, const QString& text) {
    MessageBoxes().Information(window, text);
}

}  // namespace

// ---- 修改密码 ----

ChangePasswordController::ChangePasswordController(const Widgets& widgets, QObject* parent)
    : QObject(parent), widgets_(widgets) {}

void ChangePasswordController::SetUp() {
    widgets_.answer->setFocus();
    ShowOnlyQuestion(widgets_.question, CurrentLogin().securityQuestion);
}

void ChangePasswordController::Save() {
    HandlerScope running(widgets_.window);
    const QString answer = RemoveBlanks(widgets_.answer->text());
    const QString newPassword = RemoveBlanks(widgets_.newPassword->text());
    const QString confirmation = RemoveBlanks(widgets_.confirmation->text());
    const QString error = ChangePasswordInputError(answer, newPassword, confirmation);
    if (!error.isEmpty()) {
        Tell(widgets_.window, error);
        return;
    }
    const QString reply = FetchReply(ChangePasswordUrl(CurrentCredentials(), answer, confirmation));
    if (running.WindowClosing()) {
        return;
    }
    if (!MessageSucceeded(reply)) {
        Tell(widgets_.window, reply);
        return;
    }
    widgets_.answer->clear();
    widgets_.newPassword->clear();
    widgets_.confirmation->clear();
    Tell(widgets_.window, QStringLiteral("修改成功,请重新登录。"));
}

// ---- 个人信息 ----

PersonalInfoController::PersonalInfoController(const Widgets& widgets, QObject* parent)
    : QObject(parent), widgets_(widgets) {}

void PersonalInfoController::SetUp() {
    const LoginState& login = CurrentLogin();
    ShowOnlyQuestion(widgets_.question, login.securityQuestion);
    widgets_.contactQq->setText(login.contactQq);
    widgets_.legalName->setText(login.legalName);
    widgets_.alipay->setText(login.alipayAccount);
    widgets_.answer->setFocus();
}

void PersonalInfoController::Save() {
    HandlerScope running(widgets_.window);
    const QString answer = RemoveBlanks(widgets_.answer->text());
    const QString contactQq = RemoveBlanks(widgets_.contactQq->text());
    const QString legalName = RemoveBlanks(widgets_.legalName->text());
    const QString alipay = RemoveBlanks(widgets_.alipay->text());
    const QString error = ChangeProfileInputError(answer, contactQq, legalName, alipay);
    if (!error.isEmpty()) {
        Tell(widgets_.window, error);
        return;
    }
    const QString reply =
        FetchReply(ChangeProfileUrl(CurrentCredentials(), answer, contactQq, legalName, alipay));
    if (running.WindowClosing()) {
        return;
    }
    if (MessageSucceeded(reply)) {
        widgets_.answer->clear();
        LoginState& login = CurrentLogin();
        login.contactQq = widgets_.contactQq->text();
        login.legalName = widgets_.legalName->text();
        login.alipayAccount = widgets_.alipay->text();
    }
    Tell(widgets_.window, reply);
}

// ---- 安全设置 ----

SecurityController::SecurityController(const Widgets& widgets, QObject* parent)
    : QObject(parent), widgets_(widgets) {}

void SecurityController::SetUp() {
    ShowOnlyQuestion(widgets_.oldQuestion, CurrentLogin().securityQuestion);
    if (widgets_.newQuestion->count() == 0) {
        widgets_.newQuestion->addItems(SecurityQuestions());
    }
    widgets_.oldAnswer->setFocus();
}

void SecurityController::Save() {
    HandlerScope running(widgets_.window);
    const QString oldAnswer = RemoveBlanks(widgets_.oldAnswer->text());
    const QString newAnswer = RemoveBlanks(widgets_.newAnswer->text());
    const QString error = ChangeSecurityInputError(oldAnswer, newAnswer);
    if (!error.isEmpty()) {
        Tell(widgets_.window, error);
        return;
    }
    const QString newQuestion =
        widgets_.newQuestion->currentIndex() < 0 ? QString() : widgets_.newQuestion->currentText();
    const QString reply =
        FetchReply(ChangeSecurityUrl(CurrentCredentials(), oldAnswer, newQuestion, newAnswer));
    if (running.WindowClosing()) {
        return;
    }
    if (MessageSucceeded(reply)) {
        CurrentLogin().securityQuestion = newQuestion;
        ShowOnlyQuestion(widgets_.oldQuestion, newQuestion);
        widgets_.oldAnswer->clear();
        widgets_.newQuestion->setCurrentIndex(0);
        widgets_.newAnswer->clear();
    }
    Tell(widgets_.window, reply);
}

}  // namespace lanxun
