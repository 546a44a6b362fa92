#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "platform/worker.h"
#include "ui/frameless_window.h"
#include "ui/menus.h"
#include "ui/page_navigator.h"

namespace Ui {
class MainForm;
}

namespace lanxun {

class DockingPageController;
class ForwardingController;
class FundsController;
class MainWindow;
class MainWindowController;
class NumberDisposalController;
class NumbersPageController;
class PublicDockingController;
class ProjectListController;
class ProjectPickersController;
class TemplateLookupController;
class FundRecordsController;
class RecordsPageController;
class SendSmsPageController;

// Creates one background routine of the main window. The routines are started
// in list order at the first activation.
using WorkerFactory = std::function<std::unique_ptr<Worker>(MainWindow&)>;

// The client's background routines, in the order they start.
std::vector<WorkerFactory> BackgroundWorkers();

// "岚讯短信平台", where the user works after logging in. It builds its form and the
// controllers of its pages and wires them to the controls; what happens lives in them.
class MainWindow : public FramelessWindow {
    Q_OBJECT

public:
    // `loginWindow` is destroyed at the first activation.
    explicit MainWindow(QPointer<QWidget> loginWindow,
                        std::vector<WorkerFactory> workers = BackgroundWorkers());
    ~MainWindow() override;  // stops the routines, which use the form

    Ui::MainForm& form() { return *form_; }
    // The window's pop-up menus and their items, as CreateMainMenus built them.
    const MainMenus& menus() const { return menus_; }
    PageNavigator& navigator() { return *navigator_; }
    ProjectListController& projectList() { return *projectList_; }
    ProjectPickersController& pickers() { return *pickers_; }
    TemplateLookupController& templates() { return *templates_; }
    // Code forwarding of the tab "取号", whose ForwardReceivedSms and TypeNumberLines the
    // number controllers call.
    ForwardingController& forwarding() { return *forwarding_; }
    // The number list's menu, copies and disposals on the tab "取号".
    NumberDisposalController& disposal() { return *disposal_; }
    // Acquisition on the tab "取号", and the page's routines (code polling, home province).
    NumbersPageController& numbers() { return *numbers_; }
    // The tab "发短信".
    SendSmsPageController& sendSms() { return *sendSms_; }
    bool FirstActivationDone() const;

protected:
    bool event(QEvent* event) override;
    bool AcceptClose() override;

private:
    void ConnectWindowButtons();
    void ConnectControllers();
    void ConnectDockingPages();
    void ConnectNumberDisposal();
    void ConnectNumbersPage();
    void ConnectSendSmsPage();
    void ConnectRecordsPages();

    std::unique_ptr<Ui::MainForm> form_;
    MainMenus menus_{};
    std::unique_ptr<MainWindowController> shell_;
    std::unique_ptr<PageNavigator> navigator_;
    // The subsystems' controllers, each given the controls it works on: built in the
    // constructor or in ConnectControllers, their lists loaded on the navigator's requests.
    std::unique_ptr<FundsController> funds_;
    std::unique_ptr<DockingPageController> docking_;
    std::unique_ptr<PublicDockingController> publicDocking_;
    std::unique_ptr<ProjectListController> projectList_;
    std::unique_ptr<ProjectPickersController> pickers_;
    std::unique_ptr<TemplateLookupController> templates_;
    std::unique_ptr<RecordsPageController> smsRecords_;
    std::unique_ptr<RecordsPageController> referralRecords_;
    std::unique_ptr<FundRecordsController> fundRecords_;
    std::unique_ptr<ForwardingController> forwarding_;
    std::unique_ptr<NumberDisposalController> disposal_;
    std::unique_ptr<NumbersPageController> numbers_;
    std::unique_ptr<SendSmsPageController> sendSms_;
};

}  // namespace lanxun
