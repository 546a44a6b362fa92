#include "numbers/number_disposal_controller.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>
#include <QWidget>

#include "account/login_state.h"
#include "api/endpoints.h"
#include "api/http_request.h"
#include "api/platform_call.h"
#include "api/protocol.h"
#include "api/replies.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/handler_scope.h"
#include "platform/message_box.h"
#include "projects/project_items.h"

namespace lanxun {

namespace {

// The whole window refuses input for the time of one handler, and takes it again on every
// way out of it.
class WindowDisabled {
public:
    explicit WindowDisabled(QWidget* window) : window_(window) { window_->setEnabled(false); }
    ~WindowDisabled() {
        if (window_) {
            window_->setEnabled(true);
        }
    }
    WindowDisabled(const WindowDisabled&) = delete;
    WindowDisabled& operator=(const WindowDisabled&) = delete;

private:
    QPointer<QWidget> window_;
};

}  // namespace

NumberDisposalController::NumberDisposalController(const Widgets& widgets)
    : widgets_(widgets), list_(widgets.list) {}

QString NumberDisposalController::PickedProjectId() const {
    return ProjectIdOfItem(widgets_.projectPicker->currentText());
}

int NumberDisposalController::PickedProjectValue() const {
    return ProjectIdNumber(PickedProjectId());
}

bool NumberDisposalController::MenuAllowed() const {
    // Stricter than the requests' own rule (1000 or more): project 1000 gets no menu.
    return PickedProjectValue() > kLowestProjectId;
}

void NumberDisposalController::ShowMenu(const QPoint& globalPos) {
    if (MenuAllowed()) {
        widgets_.menu->popup(globalPos);
    }
}

void NumberDisposalController::CopyCodeOrPhone() {
    const NumberRow row = list_.Selected();
    Clipboard().SetText(row.code.isEmpty() ? row.phone : row.code);
}

void NumberDisposalController::CopyPhone() {
    CopySelectedCell(&NumberRow::phone);
}

void NumberDisposalController::CopyCode() {
    CopySelectedCell(&NumberRow::code);
}

void NumberDisposalController::CopySmsText() {
    CopySelectedCell(&NumberRow::smsText);
}

void NumberDisposalController::CopySelectedCell(QString NumberRow::*cell) {
    if (MenuAllowed()) {
        Clipboard().SetText(list_.Selected().*cell);
    }
}

void NumberDisposalController::CopyAllPhones() {
    QString text;
    for (const QString& phone : list_.Phones()) {
        if (!phone.isEmpty()) {
            text += phone + QStringLiteral("\r\n");
        }
    }
    if (!text.isEmpty()) {
        Clipboard().SetText(text);
    }
}

void NumberDisposalController::UseAgain() {
    if (PickedProjectValue() < kLowestProjectId) {
        return;
    }
    const QString projectId = PickedProjectId();
    const NumberRow row = list_.Selected();
    if (row.phone.isEmpty()) {
        return;
    }
    HandlerScope running(widgets_.window);
    WindowDisabled disabled(widgets_.window);
    const QString reply =
        FetchReply(SpecifiedNumberUrl(CurrentCredentials(), projectId, row.phone));
    if (running.WindowClosing()) {
        return;
    }
    const NumberReply number = ReadNumberReply(reply);
    switch (number.kind) {
        case NumberReply::Kind::Nothing:
            break;
        case NumberReply::Kind::Refused:
            MessageBoxes().Information(widgets_.window, ReceiveSideRefusalText(reply));
            break;
        case NumberReply::Kind::Given:
            // The row read before the wait, wherever it is now; code and SMS text stay
            // until a new SMS replaces them, and the new identity drops any poll result
            // computed for the number's earlier life.
            list_.Renew(row.identity, number.phone, QStringLiteral("没有收到短信"),
                        DateTimeText(CurrentClock().Now()));
            break;
    }
}

void NumberDisposalController::DisposeSelected(Disposal how) {
    HandlerScope running(widgets_.window);
    if (!Confirm(how)) {
        return;
    }
    // Without a selection the request still goes out, with empty values, and nothing is
    // deleted.
    const NumberRow row = list_.Selected();
    HttpRequest request;
    DisposeNumber(request, how, row.projectId, row.phone);
    // The row that was read, not whatever has moved into its position meanwhile.
    if (row.Exists()) {
        list_.Remove(row.identity);
    }
}

void NumberDisposalController::DisposeAll(Disposal how) {
    HandlerScope running(widgets_.window);
    if (!Confirm(how)) {
        return;
    }
    SetAcquisitionButtonsEnabled(false);
    ReleaseList(list_, widgets_.statusLabel, how);
    SetAcquisitionButtonsEnabled(true);
}

bool NumberDisposalController::Confirm(Disposal how) {
    const QString question =
        how == Disposal::Release ? QStringLiteral("释放号码") : QStringLiteral("拉黑号码");
    // Yes and No without an icon, like every confirmation of a giving-back.
    return MessageBoxes().Show({widgets_.window, question, MessageBoxService::DefaultTitle(),
                                MessageButtons::YesNo, MessageIcon::None});
}

void NumberDisposalController::SetAcquisitionButtonsEnabled(bool enabled) {
    for (QWidget* button : widgets_.acquisitionButtons) {
        button->setEnabled(enabled);
    }
}

}  // namespace lanxun
