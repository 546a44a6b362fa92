#include "account/registration_controller.h"

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include "account/account_rules.h"
#include "account/login_rules.h"
#include "api/endpoints.h"
#include "api/platform_call.h"
#include "api/replies.h"
#include "platform/handler_scope.h"
#include "platform/message_box.h"

namespace lanxun {

namespace {

// The box's text without ASCII spaces, written back so the user sees what is sent.
QString TakeWithoutSpaces(QLineEdit* box) {
    const QString text = RemoveSpaces(box->text());
    box->setText(text);
    return text;
}

}  // namespace

RegistrationController::RegistrationController(const Widgets& widgets, QObject* parent)
    : QObject(parent), widgets_(widgets) {}

bool RegistrationController::Register() {
    HandlerScope running(widgets_.window);
    Registration r;
    r.userName = TakeWithoutSpaces(widgets_.userName);
    r.password = TakeWithoutSpaces(widgets_.password);
    const QString confirmation = TakeWithoutSpaces(widgets_.confirmation);
    r.securityAnswer = TakeWithoutSpaces(widgets_.answer);
    r.referrerId = TakeWithoutSpaces(widgets_.referrer);
    r.contactQq = TakeWithoutSpaces(widgets_.contactQq);
    r.legalName = TakeWithoutSpaces(widgets_.legalName);
    r.alipayAccount = TakeWithoutSpaces(widgets_.alipay);

    const QString error = RegistrationInputError(r, confirmation);
    if (!error.isEmpty()) {
        MessageBoxes().Information(widgets_.window, error);
        return false;
    }
    // The text of the selected item; nothing selected sends an empty question.
    r.securityQuestion =
        widgets_.question->currentIndex() < 0 ? QString() : widgets_.question->currentText();

    const QString reply = FetchReply(RegisterUrl(r));
    if (running.WindowClosing()) {
        return false;
    }
    const bool registered = RegistrationSucceeded(reply);
    if (registered) {
        if (widgets_.loginUserName != nullptr) {
            widgets_.loginUserName->setText(r.userName);
        }
        if (widgets_.loginPassword != nullptr) {
            widgets_.loginPassword->setText(r.password);
        }
    }
    MessageBoxes().Information(widgets_.window, reply);
    return registered && !running.WindowClosing();
}

}  // namespace lanxun
