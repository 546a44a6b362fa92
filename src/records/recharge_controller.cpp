#include "records/recharge_controller.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include "account/login_state.h"
#include "api/http_request.h"
#include "api/platform_call.h"
#include "api/replies.h"
#include "platform/clipboard.h"
#include "platform/handler_scope.h"
#include "platform/message_box.h"
#include "platform/on_ui_thread.h"
#include "platform/worker.h"
#include "records/amount_rules.h"

namespace lanxun {

RechargeController::RechargeController(const Widgets& widgets, QObject* parent)
    : QObject(parent), widgets_(widgets) {}

void RechargeController::LoadTransferAccount() {
    HandlerScope running(widgets_.window);
    const QString reply = FetchReply(TransferAccountUrl(CurrentCredentials()));
    if (running.WindowClosing()) {
        return;
    }
    const std::optional<TransferAccountReply> account = ReadTransferAccountReply(reply);
    if (!account) {
        MessageBoxes().Information(widgets_.window, reply);
        return;
    }
    account_ = account->account;
    widgets_.accountLabel->setText(QStringLiteral("转账支付宝：") + account->account +
                                   QStringLiteral(" （") + account->holderName +
                                   QStringLiteral("）"));
}

void RechargeController::CopyTransferAccount() {
    if (account_) {
        Clipboard().SetText(*account_);
    }
}

void RechargeController::RechargeByOrderNumber() {
    const QString order = widgets_.orderNumber->text();
    if (order.isEmpty()) {
        MessageBoxes().Information(widgets_.window, QStringLiteral("请输入支付宝订单交易号"));
        return;
    }
    if (!OrderNumberLengthFits(order)) {
        MessageBoxes().Information(widgets_.window, QStringLiteral("支付宝订单交易号长度不符合"));
        return;
    }
    HandlerScope running(widgets_.window);
    const QString reply = FetchReply(ConfirmRechargeUrl(CurrentCredentials(), order));
    if (!running.WindowClosing()) {
        MessageBoxes().Information(widgets_.window, reply);
    }
}

void RechargeController::StartQrRecharge() {
    const QString amount = widgets_.qrAmount->text();
    if (BelowMinimumAmount(amount)) {
        MessageBoxes().Information(widgets_.window, QStringLiteral("充值金额不能少于10"));
        return;
    }
    widgets_.qrRecharge->setEnabled(false);
    widgets_.qrBusyLabel->show();

    // The worker is the controller's: the window's end stops it (ending its request), so a
    // result never arrives after the window has gone.
    const EndpointCall call = QrCodeUrl(CurrentCredentials(), amount);
    qrFetch_ = std::make_unique<FunctionWorker>([this, call] {
        HttpRequest request;
        const QByteArray reply = FetchReplyBytes(request, call);
        QImage image;
        if (!ReadQrCodeReply(reply).isError) {
            image = QImage::fromData(reply);  // decoded here, off the UI thread
        }
        RunOnUiThread([&] { ShowQrReply(reply, image); });
    });
    qrFetch_->Start();
}

RechargeController::~RechargeController() = default;

bool RechargeController::QrRechargeRunning() const {
    return qrFetch_ && !qrFetch_->Finished();
}

void RechargeController::ShowQrReply(const QByteArray& reply, const QImage& image) {
    HandlerScope running(widgets_.window);  // its message box waits
    const QrCodeReply read = ReadQrCodeReply(reply);
    if (read.isError) {
        MessageBoxes().Information(widgets_.window, read.errorMessage);
    } else {
        // An image that does not decode leaves the box empty rather than showing garbage.
        widgets_.qrPicture->setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
    }
    widgets_.qrRecharge->setEnabled(true);
    widgets_.qrBusyLabel->hide();
}

}  // namespace lanxun
