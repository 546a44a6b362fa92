#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class QImage;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace lanxun {

class Worker;

// The window "支付宝充值": the platform's Alipay account to transfer to (cx) and the recharge by
// the transfer's order number (cz_tj) on page "手动充值"; the payment QR code for an amount (sc)
// on page "扫码充值", fetched by a worker of its own. A child of its window: closing the window
// stops that worker, so a QR code still on its way is dropped.
class RechargeController : public QObject {
    Q_OBJECT

public:
    struct Widgets {
        QWidget* window = nullptr;
        QLabel* accountLabel = nullptr;     // 透明标签55 "第一步："
        QLineEdit* orderNumber = nullptr;   // 编辑框_支付宝订单
        QLineEdit* qrAmount = nullptr;      // 编辑框_二维码充值金额
        QPushButton* qrRecharge = nullptr;  // 按钮_二维码充值
        QLabel* qrPicture = nullptr;        // 图片框2
        QLabel* qrBusyLabel = nullptr;      // 透明标签2 "正在生成二维码请稍后.."
    };

    RechargeController(const Widgets& widgets, QObject* parent);
    ~RechargeController() override;  // stops a QR recharge under way

    void LoadTransferAccount();  // page 0 became current
    void CopyTransferAccount();
    void RechargeByOrderNumber();
    // Checks the amount, then fetches the QR code on a worker.
    void StartQrRecharge();

    // A QR recharge is under way (its result not yet shown).
    bool QrRechargeRunning() const;

private:
    // Runs on the UI thread when the QR reply is in.
    void ShowQrReply(const QByteArray& reply, const QImage& image);

    Widgets widgets_;
    std::optional<QString> account_;  // as last received from cx
    std::unique_ptr<Worker> qrFetch_;
};

}  // namespace lanxun
