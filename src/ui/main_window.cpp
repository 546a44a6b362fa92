#include "ui/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

#include "account/forum_link.h"
#include "db/template_lookup_controller.h"
#include "numbers/forwarding_controller.h"
#include "numbers/number_disposal_controller.h"
#include "numbers/numbers_page_controller.h"
#include "numbers/send_result_poller.h"
#include "numbers/send_sms_page_controller.h"
#include "platform/modal_opener.h"
#include "platform/mouse_release.h"
#include "projects/docking_page_controller.h"
#include "projects/docking_public_controller.h"
#include "projects/project_list_controller.h"
#include "projects/project_pickers_controller.h"
#include "records/balance_refresher.h"
#include "records/fund_records_controller.h"
#include "records/funds_controller.h"
#include "records/records_page_controller.h"
#include "ui/cursors.h"
#include "ui/forms.h"
#include "ui/main_window_controller.h"
#include "ui/menus.h"
#include "ui/status_bar.h"
#include "ui/window_factory.h"
#include "ui_main_form.h"

namespace lanxun {

namespace {

// The balance refresher writes status parts 1 and 2 only.
std::unique_ptr<Worker> CreateBalanceRefresher(MainWindow& window) {
    QStatusBar* bar = window.form().状态条1;
    return std::make_unique<BalanceRefresher>(BalanceRefresher::Widgets{
        .balancePart = StatusPart(bar, 1), .withdrawablePart = StatusPart(bar, 2)});
}

// The send-result poller watches the fields of the tab "发短信".
std::unique_ptr<Worker> CreateSendResultPoller(MainWindow& window) {
    Ui::MainForm& f = window.form();
    return std::make_unique<SendResultPoller>(
        SendResultPoller::Widgets{.projectPicker = f.组合框_发短信_项目列表,
                                  .number = f.编辑框_发短信_获取号码,
                                  .status = f.编辑框_发短信_取码状态,
                                  .obtainedAt = f.编辑框_发短信_取号时间,
                                  .resultLine = f.透明标签40,
                                  .smsText = f.编辑框_发短信_短信内容});
}

// Pops `menu` up at the mouse.
void PopUp(QMenu* menu) {
    menu->popup(QCursor::pos());
}

}  // namespace

std::vector<WorkerFactory> BackgroundWorkers() {
    // In this order: code polling, send-result polling, balance refresh, home-province
    // lookup, receive-side favourites, send-side favourites.
    return {
        [](MainWindow& window) { return window.numbers().CreatePollWorker(); },
        CreateSendResultPoller,
        CreateBalanceRefresher,
        [](MainWindow& window) { return window.numbers().CreateRegionWorker(); },
        [](MainWindow& window) { return window.pickers().CreateReceiveLoader(); },
        [](MainWindow& window) { return window.pickers().CreateSendLoader(); },
    };
}

MainWindow::MainWindow(QPointer<QWidget> loginWindow, std::vector<WorkerFactory> workers)
    : form_(std::make_unique<Ui::MainForm>()) {
    form_->setupUi(this);
    SetUpForm(Form(FormId::Main));
    menus_ = CreateMainMenus(this);
    Ui::MainForm& f = *form_;
    const MainMenus& m = menus_;

    std::vector<MainWindowController::WorkerFactory> routines;
    for (WorkerFactory& create : workers) {
        routines.push_back([this, create = std::move(create)] { return create(*this); });
    }
    shell_ = std::make_unique<MainWindowController>(
        MainWindowController::Widgets{.window = this,
                                      .statusBar = f.状态条1,
                                      .pages = f.高级选择夹1,
                                      .numbersRegions = f.组合框_地区,
                                      .sendSmsRegions = f.组合框_地区1,
                                      .numbersButton = f.超级按钮_收短信},
        std::move(loginWindow), std::move(routines));

    navigator_ = std::make_unique<PageNavigator>(
        PageNavigator::Widgets{.pages = f.高级选择夹1,
                               .numbersButton = f.超级按钮_收短信,
                               .sendSmsButton = f.超级按钮_发短信,
                               .projectListButton = f.超级按钮_项目列表,
                               .dockingButton = f.超级按钮_专属对接,
                               .publicDockingButton = f.超级按钮_公开对接,
                               .detailsButton = f.超级按钮_启动服务5,
                               .withdrawalRecordsItem = m.funds.withdrawalRecords,
                               .rechargeRecordsItem = m.funds.rechargeRecords,
                               .smsRecordsItem = m.funds.smsRecords,
                               .referralRecordsItem = m.funds.referralRecords});
    funds_ = std::make_unique<FundsController>(FundsController::Widgets{.window = this});
    docking_ = std::make_unique<DockingPageController>(
        DockingPageController::Widgets{.window = this,
                                       .list = f.超级列表框_专属列表,
                                       .progress = f.进度条3,
                                       .joinPanel = f.分组框_加入对接,
                                       .joinCode = f.编辑框_加入对接});
    publicDocking_ = std::make_unique<PublicDockingController>(
        PublicDockingController::Widgets{.window = this,
                                         .fullList = f.超级列表框_公开专属列表,
                                         .filteredList = f.超级列表框_公开专属列表1,
                                         .search = f.编辑框_公开搜索,
                                         .progress = f.进度条7,
                                         .pageButton = f.超级按钮_公开对接});
    projectList_ = std::make_unique<ProjectListController>(
        ProjectListController::Widgets{.window = this,
                                       .list = f.超级列表框_项目列表_收短信,
                                       .searchBox = f.编辑框_项目列表_收短信_搜索项目,
                                       .favouritesBox = f.选择框_已收藏项目列表,
                                       .progress = f.进度条1,
                                       .addMenu = m.addFavourite.menu,
                                       .removeMenu = m.removeFavourite.menu});
    pickers_ = std::make_unique<ProjectPickersController>(
        ProjectPickersController::Widgets{.window = this,
                                          .receivePicker = f.组合框_取号_项目列表,
                                          .receiveSearchBox = f.编辑框1,
                                          .sendPicker = f.组合框_发短信_项目列表,
                                          .sendingNumbers = f.组合框_发送号码,
                                          .sendSearchBox = f.编辑框3});
    smsRecords_ = std::make_unique<RecordsPageController>(
        PagedList::Sms, RecordsPageController::Widgets{.window = this,
                                                       .list = f.超级列表框_短信明细,
                                                       .progress = f.进度条4,
                                                       .countLabel = f.透明标签32,
                                                       .amountLabel = f.透明标签34,
                                                       .pageLabel = f.透明标签_短信明细_页数,
                                                       .searchBox = f.编辑框_短信明细_搜索,
                                                       .searchButton = f.按钮_短信明细_搜索,
                                                       .refreshButton = f.超级按钮_短信明细_刷新,
                                                       .firstButton = f.超级按钮_短信明细_首页,
                                                       .previousButton = f.超级按钮_短信明细_上一页,
                                                       .nextButton = f.超级按钮_短信明细_下一页,
                                                       .lastButton = f.超级按钮_短信明细_尾页,
                                                       .copyMenu = m.smsRecords.menu});
    referralRecords_ = std::make_unique<RecordsPageController>(
        PagedList::Referral,
        RecordsPageController::Widgets{.window = this,
                                       .list = f.超级列表框_推荐人明细,
                                       .progress = f.进度条6,
                                       .countLabel = f.透明标签32_推荐人,
                                       .amountLabel = f.透明标签34_推荐人,
                                       .pageLabel = f.透明标签_推荐人明细_页数,
                                       .searchBox = f.编辑框_推荐人明细_搜索,
                                       .searchButton = f.按钮_推荐人明细_搜索,
                                       .refreshButton = f.超级按钮_推荐人明细_刷新,
                                       .firstButton = f.超级按钮_推荐人明细_首页,
                                       .previousButton = f.超级按钮_推荐人明细_上一页,
                                       .nextButton = f.超级按钮_推荐人明细_下一页,
                                       .lastButton = f.超级按钮_推荐人明细_尾页});
    fundRecords_ = std::make_unique<FundRecordsController>(
        FundRecordsController::Widgets{.window = this,
                                       .withdrawals = f.超级列表框_提现明细,
                                       .withdrawalProgress = f.进度条5,
                                       .recharges = f.超级列表框_充值记录,
                                       .rechargeProgress = f.进度条2});

    // The numbers page is where the user starts (its button gets the focus at activation).
    navigator_->Select(kNumbersPage);
    // The capture box of code forwarding is live from the start, with its own pointer.
    f.图片框_捕获鼠标->setEnabled(true);
    f.图片框_捕获鼠标->setCursor(CapturePointerCursor());
    // The SMS template lookup opens its database connection here, once per process.
    templates_ = std::make_unique<TemplateLookupController>(
        TemplateLookupController::Widgets{.picker = f.组合框_取号_项目列表, .infoBox = f.编辑框2},
        BuildDatabaseSettings());
    ConnectWindowButtons();
    ConnectControllers();
}

MainWindow::~MainWindow() {
    // The routines use the form, which goes away with this window. All of them, the batch
    // too, are flagged before any is waited for.
    numbers_->RequestStopBatch();
    shell_->StopWorkers();
    numbers_->StopBatch();
}

bool MainWindow::FirstActivationDone() const {
    return shell_->FirstActivationDone();
}

// The buttons and menu items that pop up a menu or open a window of ui/.
void MainWindow::ConnectWindowButtons() {
    Ui::MainForm& f = *form_;
    const MainMenus& m = menus_;
    const auto modal = [](FramelessWindow* (*create)()) {
        return [create] { ModalWindows().OpenModal(create()); };
    };
    connect(f.超级按钮_启动服务5, &QPushButton::clicked, this, [&m] { PopUp(m.funds.menu); });
    connect(f.超级按钮_安全中心, &QPushButton::clicked, this,
            [&m] { PopUp(m.securityCentre.menu); });
    connect(f.超级按钮_开发者说明, &QPushButton::clicked, this, [] {
        // Not a child of this window: it stays open, and keeps the program alive, when the
        // main window is closed by its close box.
        FramelessWindow* window = CreateDeveloperApiWindow();
        window->show();
        window->activateWindow();
    });
    connect(f.超级按钮_启动服务1, &QPushButton::clicked, this, modal(CreateRechargeWindow));
    connect(f.按钮3, &QPushButton::clicked, this, modal(CreateDockingHelpWindow));
    connect(f.超级按钮1, &QPushButton::clicked, this, modal(CreateApplyProjectWindow));
    connect(m.funds.withdraw, &QAction::triggered, this, [this] {
        ModalWindows().OpenModal(
            CreateWithdrawalWindow([this] { fundRecords_->LoadWithdrawals(); }));
    });
    connect(m.securityCentre.changePassword, &QAction::triggered, this,
            modal(CreateChangePasswordWindow));
    connect(m.securityCentre.personalInfo, &QAction::triggered, this,
            modal(CreatePersonalInfoWindow));
    connect(m.securityCentre.securitySettings, &QAction::triggered, this,
            modal(CreateSecurityWindow));
}

// Where the pages' controllers take up their controls and the navigator's load requests
// (PageNavigator::ProjectListRequested and the others) as they arrive.
void MainWindow::ConnectControllers() {
    Ui::MainForm& f = *form_;
    const MainMenus& m = menus_;
    connect(f.超级按钮_启动服务7, &QPushButton::clicked, this,
            [this] { funds_->OpenCustomerServiceChat(); });
    OnLeftButtonReleased(f.透明标签5, &OpenForumPage);

    ProjectListController& list = *projectList_;
    connect(navigator_.get(), &PageNavigator::ProjectListRequested, this,
            [&list] { list.LoadFullList(); });
    connect(f.按钮_项目列表_收短信_刷新, &QPushButton::clicked, this,
            [&list] { list.LoadFullList(); });
    connect(f.按钮_项目列表_收短信_搜索, &QPushButton::clicked, this, [&list] { list.Search(); });
    connect(f.选择框_已收藏项目列表, &QCheckBox::clicked, this,
            [&list] { list.FavouritesBoxClicked(); });
    connect(f.超级列表框_项目列表_收短信, &QTreeWidget::customContextMenuRequested, this,
            [&list] { list.ShowRowMenu(QCursor::pos()); });
    connect(m.addFavourite.addFavourite, &QAction::triggered, this,
            [&list] { list.AddFavourite(); });
    connect(m.removeFavourite.removeFavourite, &QAction::triggered, this,
            [&list] { list.RemoveFavourite(); });

    ProjectPickersController& pickers = *pickers_;
    connect(f.按钮_取号刷新, &QPushButton::clicked, this,
            [&pickers] { pickers.ReloadReceivePicker(); });
    connect(f.按钮, &QPushButton::clicked, this, [&pickers] { pickers.SearchReceivePicker(); });
    connect(f.按钮_发短信刷新, &QPushButton::clicked, this,
            [&pickers] { pickers.ReloadSendPicker(); });
    connect(f.按钮4, &QPushButton::clicked, this, [&pickers] { pickers.SearchSendPicker(); });
    // Only the user's pick looks the template up: `activated` is never emitted by code.
    connect(f.组合框_取号_项目列表, &QComboBox::activated, this, [this] { templates_->LookUp(); });
    forwarding_ = std::make_unique<ForwardingController>(
        ForwardingController::Widgets{.captureBox = f.图片框_捕获鼠标,
                                      .handleBox = f.编辑框_窗口句柄,
                                      .titleBox = f.编辑框_窗口标题,
                                      .wholeSms = f.单选框2,
                                      .separator = f.编辑框7,
                                      .log = f.编辑框5,
                                      .crossHair = CaptureCrossHairCursor(),
                                      .pointer = CapturePointerCursor()});
    ForwardingController* forwarding = forwarding_.get();
    connect(f.按钮1, &QPushButton::clicked, this, [forwarding] { forwarding->Start(); });
    connect(f.按钮2, &QPushButton::clicked, this, [forwarding] { forwarding->Stop(); });
    ConnectNumbersPage();
    ConnectDockingPages();
    ConnectNumberDisposal();
    ConnectSendSmsPage();
    ConnectRecordsPages();
}

// "取号": acquisition's buttons and the loop mode.
void MainWindow::ConnectNumbersPage() {
    Ui::MainForm& f = *form_;
    numbers_ = std::make_unique<NumbersPageController>(
        NumbersPageController::Widgets{.window = this,
                                       .numberList = f.超级列表框_取码_列表框,
                                       .statusLabel = f.透明标签_取号_状态提示,
                                       .projects = f.组合框_取号_项目列表,
                                       .operators = f.组合框_运营商,
                                       .regions = f.组合框_地区,
                                       .cardTypes = f.组合框_卡型,
                                       .count = f.编辑框_取号_获取数量,
                                       .specified = f.编辑框_取号_指定,
                                       .loopMode = f.选择框_取号_不过滤,
                                       .numberLines = f.编辑框6,
                                       .obtain = f.按钮_取号_获取号码,
                                       .specify = f.按钮_取号_指定,
                                       .blacklistAll = f.按钮_取号_全部加黑,
                                       .releaseAll = f.按钮_取号全部释放},
        forwarding_.get());
    NumbersPageController* page = numbers_.get();
    connect(f.按钮_取号_获取号码, &QPushButton::clicked, this, [page] { page->ObtainBatch(); });
    connect(f.按钮_取号_指定, &QPushButton::clicked, this, [page] { page->ObtainSpecified(); });
    connect(f.选择框_取号_不过滤, &QCheckBox::clicked, this, [page] { page->LoopModeClicked(); });
}

// "专属对接" and "公开专属": buttons, the right-click menus and the navigator's requests.
void MainWindow::ConnectDockingPages() {
    Ui::MainForm& f = *form_;
    const MainMenus& m = menus_;
    DockingPageController* own = docking_.get();
    PublicDockingController* open = publicDocking_.get();
    const auto on = [this](QAction* item, auto action) {
        connect(item, &QAction::triggered, this, action);
    };
    const auto popUp = [this](QTreeWidget* list, auto menuFor) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this, [menuFor] {
            if (QMenu* menu = menuFor()) {
                PopUp(menu);
            }
        });
    };

    connect(navigator_.get(), &PageNavigator::DockingListRequested, this,
            [own] { own->LoadList(); });
    connect(f.超级按钮_专属_刷新, &QPushButton::clicked, this, [own] { own->LoadList(); });
    connect(f.超级按钮_加入对接, &QPushButton::clicked, this, [own] { own->ShowJoinPanel(); });
    connect(f.按钮_加入对接取消, &QPushButton::clicked, this, [own] { own->HideJoinPanel(); });
    connect(f.按钮_加入对接, &QPushButton::clicked, this, [own] { own->JoinByCode(); });
    connect(f.超级按钮_删除对接, &QPushButton::clicked, this, [own] { own->Delete(); });
    popUp(f.超级列表框_专属列表, [own, &m]() -> QMenu* {
        switch (own->MenuForSelection()) {
            case DockingMenu::Running:
                return m.runningDocking.menu;
            case DockingMenu::Paused:
                return m.pausedDocking.menu;
            case DockingMenu::Refresh:
                return m.dockingRefresh.menu;
        }
        return nullptr;
    });
    on(m.runningDocking.copyCode, [own] { own->CopyCode(); });
    on(m.pausedDocking.copyCode, [own] { own->CopyCode(); });
    on(m.runningDocking.pause, [own] { own->Pause(); });
    on(m.pausedDocking.resume, [own] { own->Resume(); });
    on(m.runningDocking.remove, [own] { own->Delete(); });
    on(m.pausedDocking.remove, [own] { own->Delete(); });
    on(m.runningDocking.refresh, [own] { own->LoadList(); });
    on(m.pausedDocking.refresh, [own] { own->LoadList(); });
    on(m.dockingRefresh.refresh, [own] { own->LoadList(); });

    connect(navigator_.get(), &PageNavigator::PublicDockingRequested, this,
            [open] { open->StartLoad(); });
    connect(f.编辑框_公开搜索, &QLineEdit::textChanged, this, [open] { open->Filter(); });
    popUp(f.超级列表框_公开专属列表,
          [open, &m] { return open->FullListOffersMenu() ? m.publicDocking.menu : nullptr; });
    popUp(f.超级列表框_公开专属列表1,
          [open, &m] { return open->FilteredListOffersMenu() ? m.filteredDocking.menu : nullptr; });
    on(m.publicDocking.join, [open] { open->JoinFromFullList(); });
    on(m.publicDocking.refresh, [open] { open->StartLoad(); });
    on(m.filteredDocking.join, [open] { open->JoinFromFilteredList(); });
}

// The number list of the tab "取号": its menu "取号功能", the double click and the buttons
// that give back every number.
void MainWindow::ConnectNumberDisposal() {
    Ui::MainForm& f = *form_;
    const NumberListMenu& m = menus_.numberList;
    disposal_ = std::make_unique<NumberDisposalController>(NumberDisposalController::Widgets{
        .window = this,
        .list = f.超级列表框_取码_列表框,
        .projectPicker = f.组合框_取号_项目列表,
        .statusLabel = f.透明标签_取号_状态提示,
        .menu = m.menu,
        .acquisitionButtons = {f.按钮_取号_获取号码, f.按钮_取号_指定, f.按钮_取号_全部加黑,
                               f.按钮_取号全部释放}});
    NumberDisposalController* disposal = disposal_.get();
    f.超级列表框_取码_列表框->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(f.超级列表框_取码_列表框, &QWidget::customContextMenuRequested, this,
            [disposal] { disposal->ShowMenu(QCursor::pos()); });
    connect(f.超级列表框_取码_列表框, &QTreeWidget::itemDoubleClicked, this,
            [disposal] { disposal->CopyCodeOrPhone(); });
    const auto on = [this](QAction* item, auto action) {
        connect(item, &QAction::triggered, this, action);
    };
    on(m.copyPhone, [disposal] { disposal->CopyPhone(); });
    on(m.copyCode, [disposal] { disposal->CopyCode(); });
    on(m.copyAllPhones, [disposal] { disposal->CopyAllPhones(); });
    on(m.copySmsText, [disposal] { disposal->CopySmsText(); });
    on(m.useAgain, [disposal] { disposal->UseAgain(); });
    on(m.release, [disposal] { disposal->DisposeSelected(Disposal::Release); });
    on(m.blacklist, [disposal] { disposal->DisposeSelected(Disposal::Blacklist); });
    connect(f.按钮_取号全部释放, &QPushButton::clicked, this,
            [disposal] { disposal->DisposeAll(Disposal::Release); });
    connect(f.按钮_取号_全部加黑, &QPushButton::clicked, this,
            [disposal] { disposal->DisposeAll(Disposal::Blacklist); });
}

// "明细统计": the paged SMS and referral lists, the withdrawal and recharge lists, their
// buttons, right-click menus and the navigator's requests.
void MainWindow::ConnectRecordsPages() {
    Ui::MainForm& f = *form_;
    const MainMenus& m = menus_;
    PageNavigator* pages = navigator_.get();
    connect(pages, &PageNavigator::SmsRecordsRequested, this, [this] { smsRecords_->Refresh(); });
    connect(pages, &PageNavigator::ReferralRecordsRequested, this,
            [this] { referralRecords_->Refresh(); });
    for (RecordsPageController* records : {smsRecords_.get(), referralRecords_.get()}) {
        const RecordsPageController::Widgets& w = records->widgets();
        connect(w.refreshButton, &QPushButton::clicked, this, [records] { records->Refresh(); });
        connect(w.searchButton, &QPushButton::clicked, this, [records] { records->Search(); });
        connect(w.firstButton, &QPushButton::clicked, this, [records] { records->FirstPage(); });
        connect(w.nextButton, &QPushButton::clicked, this, [records] { records->NextPage(); });
        connect(w.previousButton, &QPushButton::clicked, this,
                [records] { records->PreviousPage(); });
        connect(w.lastButton, &QPushButton::clicked, this, [records] { records->LastPage(); });
    }
    // Only the SMS list has a menu, "资金明细复制".
    RecordsPageController* sms = smsRecords_.get();
    f.超级列表框_短信明细->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(f.超级列表框_短信明细, &QWidget::customContextMenuRequested, this,
            [sms] { sms->ShowCopyMenu(); });
    connect(m.smsRecords.copyPhone, &QAction::triggered, this, [sms] { sms->CopyPhone(); });
    connect(m.smsRecords.copySmsText, &QAction::triggered, this, [sms] { sms->CopySmsText(); });

    FundRecordsController* funds = fundRecords_.get();
    connect(pages, &PageNavigator::WithdrawalRecordsRequested, this,
            [funds] { funds->LoadWithdrawals(); });
    connect(pages, &PageNavigator::RechargeRecordsRequested, this,
            [funds] { funds->LoadRecharges(); });
    // Both lists offer their menu on every right-click.
    const auto popUp = [this](QTreeWidget* list, QMenu* menu) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this, [menu] { PopUp(menu); });
    };
    popUp(f.超级列表框_提现明细, m.withdrawalRecords.menu);
    popUp(f.超级列表框_充值记录, m.rechargeRecords.menu);
    connect(m.rechargeRecords.copyOrderNumber, &QAction::triggered, this,
            [funds] { funds->CopyOrderNumber(); });
    // The lists' "刷新" items do what the menu items of "资金操作" do.
    connect(m.withdrawalRecords.refresh, &QAction::triggered, m.funds.withdrawalRecords,
            &QAction::trigger);
    connect(m.rechargeRecords.refresh, &QAction::triggered, m.funds.rechargeRecords,
            &QAction::trigger);
}

bool MainWindow::event(QEvent* event) {
    const bool handled = FramelessWindow::event(event);
    if (event->type() == QEvent::WindowActivate) {
        shell_->Activated();
    }
    return handled;
}

bool MainWindow::AcceptClose() {
    return shell_->ConfirmExit();
}

// "发短信": acquisition, submission, disposal and copies of the tab's one number.
void MainWindow::ConnectSendSmsPage() {
    Ui::MainForm& f = *form_;
    sendSms_ = std::make_unique<SendSmsPageController>(
        SendSmsPageController::Widgets{.window = this,
                                       .projectPicker = f.组合框_发短信_项目列表,
                                       .sendingNumbers = f.组合框_发送号码,
                                       .operatorPicker = f.组合框_运营商1,
                                       .regionPicker = f.组合框_地区1,
                                       .cardPicker = f.组合框_卡型1,
                                       .number = f.编辑框_发短信_获取号码,
                                       .homeRegion = f.透明标签_发短信_号码所属,
                                       .specified = f.编辑框_发短信_指定,
                                       .content = f.编辑框_发短信_发送内容,
                                       .smsText = f.编辑框_发短信_短信内容,
                                       .obtainedAt = f.编辑框_发短信_取号时间,
                                       .status = f.编辑框_发短信_取码状态,
                                       .resultLine = f.透明标签40,
                                       .obtainButton = f.按钮_发短信_获取号码,
                                       .specifyButton = f.按钮_发短信_指定,
                                       .submitButton = f.按钮_发短信_提交发短信内容},
        pickers_->sendProjectList());
    SendSmsPageController* send = sendSms_.get();
    // Only the user's pick fills the sending numbers: `activated` is never emitted by code.
    connect(f.组合框_发短信_项目列表, &QComboBox::activated, this,
            [send] { send->ChooseProject(); });
    connect(f.按钮_发短信_获取号码, &QPushButton::clicked, this, [send] { send->ObtainNumber(); });
    connect(f.按钮_发短信_指定, &QPushButton::clicked, this,
            [send] { send->ObtainSpecifiedNumber(); });
    connect(f.选择框_发短信_不过滤, &QCheckBox::clicked, this,
            [send](bool ticked) { send->SetLoopMode(ticked); });
    connect(f.按钮_发短信_提交发短信内容, &QPushButton::clicked, this, [send] { send->Submit(); });
    connect(f.按钮_发短信_全部释放, &QPushButton::clicked, this,
            [send] { send->Dispose(Disposal::Release); });
    connect(f.按钮_发短信_全部加黑, &QPushButton::clicked, this,
            [send] { send->Dispose(Disposal::Blacklist); });
    connect(f.按钮_发短信_复制手机号码, &QPushButton::clicked, this,
            [send] { send->CopyNumber(); });
    connect(f.按钮_发短信_复制短信, &QPushButton::clicked, this, [send] { send->CopySmsText(); });
}

}  // namespace lanxun
