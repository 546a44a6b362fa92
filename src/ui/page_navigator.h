#pragma once

#include <QObject>

class QAction;
class QPushButton;
class QTabWidget;
class QWidget;

namespace lanxun {

// The page numbers of the main window's page control 高级选择夹1.
enum MainPage : int {
    kProjectListPage = 0,
    kEmptyPage = 1,  // exists, never selected
    kDockingPage = 2,
    kNumbersPage = 3,
    kSendSmsPage = 4,
    kSmsRecordsPage = 5,
    kWithdrawalRecordsPage = 6,
    kReferralRecordsPage = 7,
    kRechargeRecordsPage = 8,
    kPublicDockingPage = 9,
};

// The main window's page switching: the bottom row of buttons and the record items of the
// menu "资金操作". Each shows its page, asks for the page's content where the page loads on
// selection (the signals, which the pages' controllers take up), then moves the focus.
// Selecting a page never sends a request by itself.
class PageNavigator : public QObject {
    Q_OBJECT

public:
    struct Widgets {
        QTabWidget* pages = nullptr;                 // 高级选择夹1
        QPushButton* numbersButton = nullptr;        // 超级按钮_收短信
        QPushButton* sendSmsButton = nullptr;        // 超级按钮_发短信
        QPushButton* projectListButton = nullptr;    // 超级按钮_项目列表
        QPushButton* dockingButton = nullptr;        // 超级按钮_专属对接
        QPushButton* publicDockingButton = nullptr;  // 超级按钮_公开对接
        QPushButton* detailsButton = nullptr;        // 超级按钮_启动服务5 "明细统计"
        QAction* withdrawalRecordsItem = nullptr;    // "资金操作" items
        QAction* rechargeRecordsItem = nullptr;
        QAction* smsRecordsItem = nullptr;
        QAction* referralRecordsItem = nullptr;
    };

    explicit PageNavigator(const Widgets& widgets, QObject* parent = nullptr);

    void Select(int page);
    int Current() const;

signals:
    // Emitted after the page is shown and before the focus moves.
    void ProjectListRequested();        // "项目列表"
    void DockingListRequested();        // "专属对接"
    void PublicDockingRequested();      // "公开专属"
    void WithdrawalRecordsRequested();  // "提现记录"
    void RechargeRecordsRequested();    // "充值记录"
    void SmsRecordsRequested();         // "短信记录"
    void ReferralRecordsRequested();    // "推荐人奖励明细"

private:
    // Page, then its load request (nullptr: none), then the focus (nullptr: it stays).
    void Show(int page, void (PageNavigator::*request)(), QWidget* focus);
    void ConnectButton(QPushButton* button, int page, void (PageNavigator::*request)());
    void ConnectItem(QAction* item, int page, void (PageNavigator::*request)(), QWidget* focus);

    Widgets widgets_;
};

}  // namespace lanxun
