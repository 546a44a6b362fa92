#include "records/withdrawal_controller.h"

#include <QLineEdit>

#include "account/login_state.h"
#include "api/platform_call.h"
#include "api/replies.h"
#include "platform/handler_scope.h"
#include "platform/message_box.h"
#include "records/amount_rules.h"

namespace lanxun {

WithdrawalController::WithdrawalController(const Widgets& widgets,
                                           std::function<void()> reloadWithdrawalRecords,
                                           QObject* parent)
    : QObject(parent),
      widgets_(widgets),
      reloadWithdrawalRecords_(std::move(reloadWithdrawalRecords)) {}

void WithdrawalController::Withdraw() {
    const QString amount = widgets_.amount->text();
    if (BelowMinimumAmount(amount)) {
        MessageBoxes().Information(widgets_.window, QStringLiteral("提现金额最低10元起"));
        return;
    }
    HandlerScope running(widgets_.window);
    const QString reply = FetchReply(WithdrawUrl(CurrentCredentials(), amount));
    const bool accepted = WithdrawalAccepted(reply);
    // The records are the main window's: an accepted withdrawal shows there even when this
    // window was closed while the reply was awaited.
    if (accepted && reloadWithdrawalRecords_) {
        reloadWithdrawalRecords_();
    }
    if (running.WindowClosing()) {
        return;
    }
    MessageBoxes().Information(widgets_.window, reply);
    if (!accepted) {
        return;
    }
    widgets_.window->close();  // carried out when this handler returns
}

}  // namespace lanxun
