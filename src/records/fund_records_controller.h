#pragma once

class QProgressBar;
class QTreeWidget;
class QWidget;

namespace lanxun {

// The two unpaged lists of the main window: "提现记录" (tx_mx: records at ",", fields at "|")
// and "充值记录" (cz_mx: records at "|", fields at ","). No totals, no paging.
class FundRecordsController {
public:
    struct Widgets {
        QWidget* window = nullptr;                   // the main window, disabled while a list loads
        QTreeWidget* withdrawals = nullptr;          // 超级列表框_提现明细
        QProgressBar* withdrawalProgress = nullptr;  // 进度条5
        QTreeWidget* recharges = nullptr;            // 超级列表框_充值记录
        QProgressBar* rechargeProgress = nullptr;    // 进度条2
    };

    explicit FundRecordsController(const Widgets& widgets) : widgets_(widgets) {}

    // Reloads the withdrawal records, whichever page is shown (also after an accepted
    // withdrawal).
    void LoadWithdrawals();
    void LoadRecharges();
    // Column 1 of the selected recharge, when there is one.
    void CopyOrderNumber();

private:
    Widgets widgets_;
};

}  // namespace lanxun
