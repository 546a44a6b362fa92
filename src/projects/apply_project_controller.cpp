#include "projects/apply_project_controller.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include "account/login_state.h"
#include "api/platform_call.h"
#include "api/replies.h"
#include "platform/handler_scope.h"
#include "platform/message_box.h"

namespace lanxun {

namespace {

void Tell(QWidget* window, const char* text) {
    MessageBoxes().Information(window, QString::fromUtf8(text));
}

// A multi-line box's text with the platform's CR LF line breaks.
QString BoxText(const QPlainTextEdit* box) {
    return box->toPlainText().replace(u'\n', QStringLiteral("\r\n"));
}

}  // namespace

void ApplyProjectController::ApplyReceiveProject() {
    const QString name = widgets_.receiveName->text();
    if (name.isEmpty()) {
        Tell(widgets_.window, "请输入项目名称");
        return;
    }
    const QString smsTemplate = BoxText(widgets_.receiveTemplate);
    if (smsTemplate.isEmpty()) {
        Tell(widgets_.window, "请输入短信模板");
        return;
    }
    HandlerScope running(widgets_.window);
    const QString reply =
        FetchReply(ApplyReceiveProjectUrl(CurrentCredentials(), name, smsTemplate));
    if (ApplicationUnderReview(reply)) {
        widgets_.receiveName->clear();
        widgets_.receiveTemplate->clear();
    }
    MessageBoxes().Information(widgets_.window, reply);
}

void ApplyProjectController::ApplySendProject() {
    const QString name = widgets_.sendName->text();
    if (name.isEmpty()) {
        Tell(widgets_.window, "请输入项目名称");
        return;
    }
    const QString numbers = BoxText(widgets_.sendingNumbers);
    if (numbers.isEmpty()) {
        Tell(widgets_.window, "请输入发送号码");
        return;
    }
    HandlerScope running(widgets_.window);
    const QString reply = FetchReply(ApplySendProjectUrl(CurrentCredentials(), name, numbers));
    if (ApplicationUnderReview(reply)) {
        widgets_.sendName->clear();
        widgets_.sendingNumbers->clear();
    }
    MessageBoxes().Information(widgets_.window, reply);
}

}  // namespace lanxun
