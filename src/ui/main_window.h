#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "platform/worker.h"
#include "ui/frameless_window.h"

class QAbstractButton;

namespace Ui {
class MainForm;
}

namespace lanxun {

// The page numbers of the page control 高级选择夹1.
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

class MainWindow;

// Creates one background routine of the main window. The routines are started
// in list order at the first activation.
using WorkerFactory = std::function<std::unique_ptr<Worker>(MainWindow&)>;

// The client's background routines, in the order they start.
std::vector<WorkerFactory> BackgroundWorkers();

// "岚讯短信平台", where the user works after logging in. It owns its form, starts
// the background routines once, switches the pages and ends the program.
class MainWindow : public FramelessWindow {
    Q_OBJECT

public:
    // `loginWindow` is destroyed at the first activation.
    explicit MainWindow(QPointer<QWidget> loginWindow,
                        std::vector<WorkerFactory> workers = BackgroundWorkers());
    ~MainWindow() override;  // stops the routines, which use the form

    Ui::MainForm& form() { return *form_; }
    bool FirstActivationDone() const { return activated_; }

    // Shows a page; selecting a page never sends a request by itself.
    void SelectPage(int page);

signals:
    // A page was selected by its button or menu item and its content is to be
    // loaded. Emitted after the page is shown and before the focus moves.
    void ProjectListRequested();        // "项目列表"
    void DockingListRequested();        // "专属对接"
    void PublicDockingRequested();      // "公开专属"
    void WithdrawalRecordsRequested();  // "提现记录"
    void RechargeRecordsRequested();    // "充值记录"
    void SmsRecordsRequested();         // "短信记录"
    void ReferralRecordsRequested();    // "推荐人奖励明细"

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Asks "退出用户端"; OK ends the process at once.
    bool AcceptClose() override;

private:
    void ConnectTemplateDatabase();
    void PrepareCaptureBox();
    void ConnectPageButtons();
    void ConnectMenus();

    void RunFirstActivation();
    void FillStatusBar();
    void ApplyPagePresentation();
    void FillRegionPickers();
    void StartWorkers();

    // Page selection by a control: page, then its load request, then the focus
    // (nullptr keeps the focus where it is).
    void ShowPage(int page, void (MainWindow::*request)(), QWidget* focus);
    void OpenCustomerServiceChat();
    void OpenForumPage();
    void OpenDeveloperApi();

    std::unique_ptr<Ui::MainForm> form_;
    QPointer<QWidget> loginWindow_;
    std::vector<WorkerFactory> workerFactories_;
    std::vector<std::unique_ptr<Worker>> workers_;
    bool activated_ = false;
};

}  // namespace lanxun
