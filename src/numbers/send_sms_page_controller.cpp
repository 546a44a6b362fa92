#include "numbers/send_sms_page_controller.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QWidget>

#include "account/login_state.h"
#include "api/http_request.h"
#include "api/platform_call.h"
#include "api/protocol.h"
#include "api/replies.h"
#include "numbers/home_region.h"
#include "numbers/loop_mode.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/gbk.h"
#include "platform/handler_scope.h"
#include "platform/message_box.h"
#include "projects/project_items.h"
#include "projects/send_project_list.h"

namespace lanxun {

namespace {

constexpr int kSettleDelayMs = 300;
// A number, blanks removed, must be longer than this many GBK bytes.
constexpr int kShortestRefusedNumberBytes = 6;

// The whole window and the handler's own button are disabled while the handler waits, and
// enabled again however it leaves.
class DisabledWhileBusy {
public:
    DisabledWhileBusy(QWidget* window, QAbstractButton* button) : window_(window), button_(button) {
        window_->setEnabled(false);
        button_->setEnabled(false);
    }
    ~DisabledWhileBusy() { End(); }
    DisabledWhileBusy(const DisabledWhileBusy&) = delete;
    DisabledWhileBusy& operator=(const DisabledWhileBusy&) = delete;

    void End() {
        if (button_) {
            button_->setEnabled(true);
        }
        if (window_) {
            window_->setEnabled(true);
        }
    }

private:
    QPointer<QWidget> window_;
    QPointer<QAbstractButton> button_;
};

bool TooShort(const QString& number) {
    return GbkByteLength(RemoveBlanks(number)) <= kShortestRefusedNumberBytes;
}

// The display name of a listed project as its picker item shows it: the item ends the name at
// the first " -", so a name that holds " -" reads back shortened.
QString PickedDisplayName(const QString& line) {
    const QString name = SendDisplayName(line);
    const qsizetype end = name.indexOf(QStringLiteral(" -"));
    return end < 0 ? name : name.left(end);
}

// The text box's line breaks as the platform's texts have them.
QString TextToSend(const QPlainTextEdit* box) {
    return box->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

}  // namespace

SendSmsPageController::SendSmsPageController(const Widgets& widgets,
                                             const SendProjectList& sendProjects)
    : widgets_(widgets), sendProjects_(sendProjects) {}

QString SendSmsPageController::RequestProjectId() const {
    const QString item = widgets_.projectPicker->currentText();
    const QString id = ProjectIdOfItem(item);
    return !item.isEmpty() && ProjectIdNumber(id) >= kLowestProjectId ? id : QString();
}

NumberOptions SendSmsPageController::Options() const {
    const QComboBox* op = widgets_.operatorPicker;
    const QComboBox* card = widgets_.cardPicker;
    return {IndexOptionValue(op->currentText(), op->currentIndex()),
            RegionOptionValue(widgets_.regionPicker->currentText()),
            IndexOptionValue(card->currentText(), card->currentIndex()), SendLoopMode()};
}

void SendSmsPageController::ChooseProject() {
    const QString displayName = TextBetween(widgets_.projectPicker->currentText(), u"]", u" -");
    if (displayName.isEmpty()) {
        return;  // the placeholder
    }
    // Only the lines of the project itself: a name contained in another project's name
    // ("QQ" in "QQ音乐") must not offer that project's sending numbers.
    QComboBox* numbers = widgets_.sendingNumbers;
    numbers->clear();
    const QStringList lines = sendProjects_.Lines();
    for (const SendingNumberItem& item : SendingNumberItems(lines)) {
        if (PickedDisplayName(lines[item.line]) == displayName) {
            numbers->addItem(item.number, item.line);
        }
    }
    numbers->setCurrentIndex(0);
}

void SendSmsPageController::ObtainNumber() {
    HandlerScope running(widgets_.window);
    widgets_.number->clear();
    widgets_.homeRegion->clear();
    widgets_.smsText->clear();
    widgets_.obtainedAt->clear();
    widgets_.status->clear();
    widgets_.resultLine->clear();
    widgets_.content->clear();

    DisabledWhileBusy busy(widgets_.window, widgets_.obtainButton);
    PumpDelay(kSettleDelayMs);
    if (running.WindowClosing()) {
        return;
    }
    const QString projectId = RequestProjectId();
    if (projectId.isEmpty()) {
        return;
    }
    const QString refusal = Acquire(running, NumberUrl(CurrentCredentials(), projectId, Options()));
    if (!refusal.isEmpty()) {
        busy.End();  // a box over a disabled window could not be answered
        MessageBoxes().Information(widgets_.window, refusal);
    }
}

void SendSmsPageController::ObtainSpecifiedNumber() {
    HandlerScope running(widgets_.window);
    // The number stays until a new one arrives.
    widgets_.homeRegion->clear();
    widgets_.status->clear();
    widgets_.smsText->clear();
    widgets_.obtainedAt->clear();
    widgets_.resultLine->clear();
    widgets_.content->clear();

    DisabledWhileBusy busy(widgets_.window, widgets_.specifyButton);
    PumpDelay(kSettleDelayMs);
    if (running.WindowClosing()) {
        return;
    }
    if (TooShort(widgets_.specified->text())) {
        busy.End();
        MessageBoxes().Information(widgets_.window, QStringLiteral("指定手机号码错误"));
        return;
    }
    const QString projectId = RequestProjectId();
    if (projectId.isEmpty()) {
        return;
    }
    // As typed, blanks and all.
    const QString refusal = Acquire(
        running,
        SpecifiedNumberUrl(CurrentCredentials(), projectId, Options(), widgets_.specified->text()));
    if (!refusal.isEmpty()) {
        busy.End();
        MessageBoxes().Information(widgets_.window, refusal);
    }
}

QString SendSmsPageController::Acquire(const HandlerScope& running, const EndpointCall& call) {
    const QString reply = FetchReply(call);
    if (running.WindowClosing()) {
        return {};
    }
    const NumberReply number = ReadNumberReply(reply);
    switch (number.kind) {
        case NumberReply::Kind::Nothing:
            return {};
        case NumberReply::Kind::Refused:
            // The send side shows the platform's text unchanged, "0|" and all.
            return reply;
        case NumberReply::Kind::Given:
            break;
    }
    widgets_.number->setText(number.phone);
    const QString region = LookUpHomeRegion(number.phone);
    if (running.WindowClosing()) {
        return {};
    }
    widgets_.homeRegion->setText(QStringLiteral("号码归属地: ") + region);
    // From here on SendResultPoller watches the number.
    widgets_.obtainedAt->setText(DateTimeText(CurrentClock().Now()));
    return {};
}

void SendSmsPageController::SetLoopMode(bool ticked) {
    SetSendLoopMode(LoopModeValue(ticked));
}

void SendSmsPageController::Submit() {
    HandlerScope running(widgets_.window);
    QWidget* window = widgets_.window;
    if (TooShort(widgets_.number->text())) {
        MessageBoxes().Information(window, QStringLiteral("手机号码错"));
        return;
    }
    const QString sendingNumber = widgets_.sendingNumbers->currentText();
    if (sendingNumber.isEmpty()) {
        MessageBoxes().Information(window, QStringLiteral("请选择发送号码"));
        return;
    }
    if (RemoveBlanks(widgets_.content->toPlainText()).isEmpty()) {
        MessageBoxes().Information(window, QStringLiteral("请输入发送内容"));
        return;
    }
    const QString projectId = RequestProjectId();
    if (projectId.isEmpty()) {
        return;
    }

    DisabledWhileBusy busy(window, widgets_.submitButton);
    PumpDelay(kSettleDelayMs);
    if (running.WindowClosing()) {
        return;
    }
    // Number and text as they stand now, blanks kept; the catalogue sends fdx_tj with its
    // own, shorter time-out.
    const QString reply =
        FetchReply(SendSmsUrl(CurrentCredentials(), projectId, sendingNumber,
                              widgets_.number->text(), TextToSend(widgets_.content)));
    if (running.WindowClosing()) {
        return;
    }
    busy.End();
    MessageBoxes().Information(window, reply);
}

void SendSmsPageController::Dispose(Disposal how) {
    HandlerScope running(widgets_.window);
    const QString projectId = RequestProjectId();
    if (projectId.isEmpty() || widgets_.number->text().isEmpty()) {
        return;
    }
    const QString question =
        how == Disposal::Release ? QStringLiteral("释放号码") : QStringLiteral("拉黑号码");
    // Yes and No without an icon, like the list side's confirmations.
    if (!MessageBoxes().YesNo(widgets_.window, question, MessageBoxService::DefaultTitle(),
                              MessageIcon::None) ||
        running.WindowClosing()) {
        return;
    }
    HttpRequest request;
    const QString reply = DisposeNumber(request, how, projectId, widgets_.number->text());
    if (running.WindowClosing()) {
        return;
    }
    if (!MessageSucceeded(reply)) {
        MessageBoxes().Information(widgets_.window, reply);
        return;
    }
    // The home region and the result line stay, as a record of what the number did.
    widgets_.number->clear();
    widgets_.specified->clear();
    widgets_.sendingNumbers->clear();
    widgets_.content->clear();
    widgets_.smsText->clear();
    widgets_.obtainedAt->clear();
    widgets_.status->clear();
}

void SendSmsPageController::CopyNumber() {
    Clipboard().SetText(widgets_.number->text());
}

void SendSmsPageController::CopySmsText() {
    const QString text = widgets_.smsText->toPlainText();
    if (!text.isEmpty()) {
        Clipboard().SetText(text);
    }
}

}  // namespace lanxun
