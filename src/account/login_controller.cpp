#include "account/login_controller.h"

#include <QLineEdit>
#include <QTimer>
#include <optional>

#include "account/login_rules.h"
#include "account/login_state.h"
#include "account/startup.h"
#include "api/endpoints.h"
#include "api/http_request.h"
#include "api/platform_call.h"
#include "api/replies.h"
#include "platform/clock.h"
#include "platform/message_box.h"

namespace lanxun {

namespace {

constexpr int kLeftoverIntervalMs = 100;
constexpr int kLeftoverRounds = 10;
constexpr int kPauseBeforeAnnouncementMs = 200;

}  // namespace

LoginController::LoginController(const Widgets& widgets) : widgets_(widgets) {
    QObject::connect(widgets_.leftoverTimer, &QTimer::timeout, [] { DeleteOldExecutable(); });
}

bool LoginController::RunStartup(const ServerLines& lines) {
    widgets_.leftoverTimer->start(kLeftoverIntervalMs);
    for (int round = 0; round < kLeftoverRounds; ++round) {
        DeleteUpdateLeftovers();
    }

    HttpRequest request;
    // The self-update's version check; it ends the start-up when it takes over.
    if (versionCheck_ && versionCheck_(request)) {
        return false;
    }

    SetUpSettingsStore();
    SetLines(lines);

    QString userName = widgets_.userName->text();
    QString password = widgets_.password->text();
    RestoreSavedLogin(ReadSavedLogin(), userName, password);
    widgets_.userName->setText(userName);
    widgets_.password->setText(password);

    // Silent pre-login with whatever the boxes hold: it only brings the
    // customer-service QQ for "找回密码".
    const QString reply = FetchReply(request, SignUrl(userName, password));
    if (const std::optional<SignReply> sign = ReadSignReply(reply)) {
        CurrentLogin().serviceQq = sign->serviceQq;
    }
    return true;
}

bool LoginController::Login() {
    const QString userName = RemoveSpaces(widgets_.userName->text());
    const QString password = RemoveSpaces(widgets_.password->text());
    widgets_.userName->setText(userName);
    widgets_.password->setText(password);

    const QString inputError = LoginInputError(userName, password);
    if (!inputError.isEmpty()) {
        ShowMessage(inputError);
        return false;
    }

    const QString reply = FetchReply(SignUrl(userName, password));
    const std::optional<SignReply> sign = ReadSignReply(reply);
    if (!sign) {
        ShowMessage(reply);
        return false;
    }

    LoginState& login = CurrentLogin();
    login.userName = userName;
    login.password = password;
    login.balance = sign->balance;
    login.withdrawable = sign->withdrawable;
    login.securityQuestion = sign->securityQuestion;
    login.contactQq = sign->contactQq;
    login.legalName = sign->legalName;
    login.alipayAccount = sign->alipayAccount;
    login.announcement = sign->announcement;
    login.serviceQq = sign->serviceQq;
    // Filled before the merchant check; nothing reads it after a refusal.
    if (sign->accountKind == QStringLiteral("商户")) {
        ShowMessage(QStringLiteral("商户帐号禁止登录澄信客户端"));
        return false;
    }

    SaveLogin(userName, password);
    widgets_.leftoverTimer->stop();
    PumpDelay(kPauseBeforeAnnouncementMs);
    return true;
}

void LoginController::ShowFindPassword() {
    MessageBoxes().Plain(
        widgets_.window,
        QStringLiteral("为保障用户资金安全!请联系客服QQ: ") + CurrentLogin().serviceQq,
        QStringLiteral("安全提示"));
}

void LoginController::ShowMessage(const QString& text) {
    MessageBoxes().Information(widgets_.window, text);
}

}  // namespace lanxun
