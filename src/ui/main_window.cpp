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
    return std::make_unique<BalanceRefresher>(
        BalanceRefresher::Widgets{StatusPart(bar, 1), StatusPart(bar, 2)});
}

// The send-result poller watches the fields of the tab "发短信".
std::unique_ptr<Worker> CreateSendResultPoller(MainWindow& window) {
    Ui::MainForm& f = window.form();
    return std::make_unique<SendResultPoller>(SendResultPoller::Widgets{
        f.组合框_发短信_项目列表, f.编辑框_发短信_获取号码, f.编辑框_发短信_取码状态,
        f.编辑框_发短信_取号时间, f.透明标签40, f.编辑框_发短信_短信内容});
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
    Ui::MainForm& f = *form_;

    std::vector<MainWindowController::WorkerFactory> routines;
    for (WorkerFactory& create : workers) {
        routines.push_back([this, create = std::move(create)] { return create(*this); });
    }
    shell_ = std::make_unique<MainWindowController>(
        MainWindowController::Widgets{this, f.状态条1, f.高级选择夹1, f.组合框_地区, f.组合框_地区1,
                                      f.超级按钮_收短信},
        std::move(loginWindow), std::move(routines));

    const auto funds = [this](const char* item) {
        return MainMenuItem(this, QStringLiteral("资金操作"), QString::fromUtf8(item));
    };
    navigator_ = std::make_unique<PageNavigator>(PageNavigator::Widgets{
        f.高级选择夹1, f.超级按钮_收短信, f.超级按钮_发短信, f.超级按钮_项目列表,
        f.超级按钮_专属对接, f.超级按钮_公开对接, f.超级按钮_启动服务5, funds("提现记录"),
        funds("充值记录"), funds("短信记录"), funds("推荐人奖励明细")});
    funds_ = std::make_unique<FundsController>(FundsController::Widgets{this});
    docking_ = std::make_unique<DockingPageController>(DockingPageController::Widgets{
        this, f.超级列表框_专属列表, f.进度条3, f.分组框_加入对接, f.编辑框_加入对接});
    publicDocking_ = std::make_unique<PublicDockingController>(PublicDockingController::Widgets{
        this, f.超级列表框_公开专属列表, f.超级列表框_公开专属列表1, f.编辑框_公开搜索, f.进度条7,
        f.超级按钮_公开对接});
    const auto projectMenu = [this](const char* menu) {
        return MainMenu(this, QString::fromUtf8(menu));
    };
    projectList_ = std::make_unique<ProjectListController>(ProjectListController::Widgets{
        this, f.超级列表框_项目列表_收短信, f.编辑框_项目列表_收短信_搜索项目,
        f.选择框_已收藏项目列表, f.进度条1, projectMenu("短信收藏项目"),
        projectMenu("取消收藏项目")});
    pickers_ = std::make_unique<ProjectPickersController>(
        ProjectPickersController::Widgets{this, f.组合框_取号_项目列表, f.编辑框1,
                                          f.组合框_发短信_项目列表, f.组合框_发送号码, f.编辑框3});
    const auto menu = [this](const char* name) { return MainMenu(this, QString::fromUtf8(name)); };
    const auto item = [this](const char* name, const char* caption) {
        return MainMenuItem(this, QString::fromUtf8(name), QString::fromUtf8(caption));
    };
    smsRecords_ = std::make_unique<RecordsPageController>(
        PagedList::Sms,
        RecordsPageController::Widgets{
            this, f.超级列表框_短信明细, f.进度条4, f.透明标签32, f.透明标签34,
            f.透明标签_短信明细_页数, f.编辑框_短信明细_搜索, f.按钮_短信明细_搜索,
            f.超级按钮_短信明细_刷新, f.超级按钮_短信明细_首页, f.超级按钮_短信明细_上一页,
            f.超级按钮_短信明细_下一页, f.超级按钮_短信明细_尾页, menu("资金明细复制"),
            item("资金明细复制", "复制手机号码(E)"), item("资金明细复制", "复制短信内容(W)")});
    referralRecords_ = std::make_unique<RecordsPageController>(
        PagedList::Referral,
        RecordsPageController::Widgets{
            this, f.超级列表框_推荐人明细, f.进度条6, f.透明标签32_推荐人, f.透明标签34_推荐人,
            f.透明标签_推荐人明细_页数, f.编辑框_推荐人明细_搜索, f.按钮_推荐人明细_搜索,
            f.超级按钮_推荐人明细_刷新, f.超级按钮_推荐人明细_首页, f.超级按钮_推荐人明细_上一页,
            f.超级按钮_推荐人明细_下一页, f.超级按钮_推荐人明细_尾页});
    fundRecords_ = std::make_unique<FundRecordsController>(FundRecordsController::Widgets{
        this, f.超级列表框_提现明细, f.进度条5, menu("提现刷新"), f.超级列表框_充值记录, f.进度条2,
        menu("复制订单"), item("复制订单", "复制订单号(F)")});

    // The numbers page is where the user starts (its button gets the focus at activation).
    navigator_->Select(kNumbersPage);
    // The capture box of code forwarding is live from the start, with its own pointer.
    f.图片框_捕获鼠标->setEnabled(true);
    f.图片框_捕获鼠标->setCursor(CapturePointerCursor());
    // The SMS template lookup opens its database connection here, once per process.
    templates_ = std::make_unique<TemplateLookupController>(
        TemplateLookupController::Widgets{f.组合框_取号_项目列表, f.编辑框2},
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
    const auto item = [this](const char* menu, const char* caption) {
        return MainMenuItem(this, QString::fromUtf8(menu), QString::fromUtf8(caption));
    };
    const auto modal = [](FramelessWindow* (*create)()) {
        return [create] { ModalWindows().OpenModal(create()); };
    };
    connect(f.超级按钮_启动服务5, &QPushButton::clicked, this,
            [this] { MainMenu(this, QStringLiteral("资金操作"))->popup(QCursor::pos()); });
    connect(f.超级按钮_安全中心, &QPushButton::clicked, this,
            [this] { MainMenu(this, QStringLiteral("安全中心"))->popup(QCursor::pos()); });
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
    connect(item("资金操作", "提现"), &QAction::triggered, this, [this] {
        ModalWindows().OpenModal(
            CreateWithdrawalWindow([this] { fundRecords_->LoadWithdrawals(); }));
    });
    connect(item("安全中心", "修改密码"), &QAction::triggered, this,
            modal(CreateChangePasswordWindow));
    connect(item("安全中心", "个人信息"), &QAction::triggered, this,
            modal(CreatePersonalInfoWindow));
    connect(item("安全中心", "安全设置"), &QAction::triggered, this, modal(CreateSecurityWindow));
}

// Where the pages' controllers take up their controls and the navigator's load requests
// (PageNavigator::ProjectListRequested and the others) as they arrive.
void MainWindow::ConnectControllers() {
    Ui::MainForm& f = *form_;
    connect(f.超级按钮_启动服务7, &QPushButton::clicked, this,
            [this] { funds_->OpenCustomerServiceChat(); });
    OnLeftButtonReleased(f.透明标签5, &OpenForumPage);

    PageNavigator* pages = navigator_.get();
    connect(pages, &PageNavigator::SmsRecordsRequested, smsRecords_.get(),
            &RecordsPageController::Refresh);
    connect(pages, &PageNavigator::ReferralRecordsRequested, referralRecords_.get(),
            &RecordsPageController::Refresh);
    connect(pages, &PageNavigator::WithdrawalRecordsRequested, fundRecords_.get(),
            &FundRecordsController::LoadWithdrawals);
    connect(pages, &PageNavigator::RechargeRecordsRequested, fundRecords_.get(),
            &FundRecordsController::LoadRecharges);
    // The lists' "刷新" items do what the menu items of "资金操作" do.
    const auto item = [this](const char* menu, const char* caption) {
        return MainMenuItem(this, QString::fromUtf8(menu), QString::fromUtf8(caption));
    };
    connect(item("提现刷新", "刷新(S)"), &QAction::triggered, item("资金操作", "提现记录"),
            &QAction::trigger);
    connect(item("复制订单", "刷新(Y)"), &QAction::triggered, item("资金操作", "充值记录"),
            &QAction::trigger);

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
    connect(MainMenuItem(this, QStringLiteral("短信收藏项目"), QStringLiteral("收藏(S)")),
            &QAction::triggered, this, [&list] { list.AddFavourite(); });
    connect(MainMenuItem(this, QStringLiteral("取消收藏项目"), QStringLiteral("取消收藏(A)")),
            &QAction::triggered, this, [&list] { list.RemoveFavourite(); });

    ProjectPickersController& pickers = *pickers_;
    connect(f.按钮_取号刷新, &QPushButton::clicked, this,
            [&pickers] { pickers.ReloadReceivePicker(); });
    connect(f.按钮, &QPushButton::clicked, this, [&pickers] { pickers.SearchReceivePicker(); });
    connect(f.按钮_发短信刷新, &QPushButton::clicked, this,
            [&pickers] { pickers.ReloadSendPicker(); });
    connect(f.按钮4, &QPushButton::clicked, this, [&pickers] { pickers.SearchSendPicker(); });
    // Only the user's pick looks the template up: `activated` is never emitted by code.
    connect(f.组合框_取号_项目列表, &QComboBox::activated, this, [this] { templates_->LookUp(); });
    forwarding_ = std::make_unique<ForwardingController>(ForwardingController::Widgets{
        f.图片框_捕获鼠标, f.编辑框_窗口句柄, f.编辑框_窗口标题, f.单选框2, f.编辑框7, f.按钮1,
        f.按钮2, f.编辑框5, CaptureCrossHairCursor(), CapturePointerCursor()});
    ConnectNumbersPage();
    ConnectDockingPages();
    ConnectNumberDisposal();
    ConnectSendSmsPage();
}

// "取号": acquisition's buttons and the loop mode.
void MainWindow::ConnectNumbersPage() {
    Ui::MainForm& f = *form_;
    numbers_ = std::make_unique<NumbersPageController>(
        NumbersPageController::Widgets{this, f.超级列表框_取码_列表框, f.透明标签_取号_状态提示,
                                       f.组合框_取号_项目列表, f.组合框_运营商, f.组合框_地区,
                                       f.组合框_卡型, f.编辑框_取号_获取数量, f.编辑框_取号_指定,
                                       f.选择框_取号_不过滤, f.编辑框6, f.按钮_取号_获取号码,
                                       f.按钮_取号_指定, f.按钮_取号_全部加黑, f.按钮_取号全部释放},
        forwarding_.get());
    NumbersPageController* page = numbers_.get();
    connect(f.按钮_取号_获取号码, &QPushButton::clicked, this, [page] { page->ObtainBatch(); });
    connect(f.按钮_取号_指定, &QPushButton::clicked, this, [page] { page->ObtainSpecified(); });
    connect(f.选择框_取号_不过滤, &QCheckBox::clicked, this, [page] { page->LoopModeClicked(); });
}

// "专属对接" and "公开专属": buttons, the right-click menus and the navigator's requests.
void MainWindow::ConnectDockingPages() {
    Ui::MainForm& f = *form_;
    DockingPageController* own = docking_.get();
    PublicDockingController* open = publicDocking_.get();
    const auto on = [this](const char* menu, const char* caption, auto action) {
        connect(MainMenuItem(this, QString::fromUtf8(menu), QString::fromUtf8(caption)),
                &QAction::triggered, this, action);
    };
    const auto popUp = [this](QTreeWidget* list, auto menuName) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this, [this, menuName] {
            if (QMenu* menu = MainMenu(this, menuName())) {
                menu->popup(QCursor::pos());
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
    popUp(f.超级列表框_专属列表, [own] { return own->MenuForSelection(); });
    on("暂停对接", "复制对接码", [own] { own->CopyCode(); });
    on("恢复对接", "复制对接码(Y)", [own] { own->CopyCode(); });
    on("暂停对接", "暂停对接(Z)", [own] { own->Pause(); });
    on("恢复对接", "恢复对接(H)", [own] { own->Resume(); });
    on("暂停对接", "删除对接(T)", [own] { own->Delete(); });
    on("恢复对接", "删除对接(P)", [own] { own->Delete(); });
    on("暂停对接", "刷新(W)", [own] { own->LoadList(); });
    on("恢复对接", "刷新(K)", [own] { own->LoadList(); });
    on("专属刷新", "刷新(Q)", [own] { own->LoadList(); });

    connect(navigator_.get(), &PageNavigator::PublicDockingRequested, this,
            [open] { open->StartLoad(); });
    connect(f.编辑框_公开搜索, &QLineEdit::textChanged, this, [open] { open->Filter(); });
    popUp(f.超级列表框_公开专属列表, [open] { return open->MenuForFullList(); });
    popUp(f.超级列表框_公开专属列表1, [open] { return open->MenuForFilteredList(); });
    on("公开加入专属", "加入专属(J)", [open] { open->JoinFromFullList(); });
    on("公开加入专属", "刷新(R)", [open] { open->StartLoad(); });
    on("专属", "加入专属", [open] { open->JoinFromFilteredList(); });
}

// The number list of the tab "取号": its menu "取号功能", the double click and the buttons
// that give back every number.
void MainWindow::ConnectNumberDisposal() {
    Ui::MainForm& f = *form_;
    const QString menuName = QStringLiteral("取号功能");
    disposal_ = std::make_unique<NumberDisposalController>(NumberDisposalController::Widgets{
        this,
        f.超级列表框_取码_列表框,
        f.组合框_取号_项目列表,
        f.透明标签_取号_状态提示,
        MainMenu(this, menuName),
        {f.按钮_取号_获取号码, f.按钮_取号_指定, f.按钮_取号_全部加黑, f.按钮_取号全部释放}});
    NumberDisposalController* disposal = disposal_.get();
    f.超级列表框_取码_列表框->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(f.超级列表框_取码_列表框, &QWidget::customContextMenuRequested, this,
            [disposal] { disposal->ShowMenu(QCursor::pos()); });
    connect(f.超级列表框_取码_列表框, &QTreeWidget::itemDoubleClicked, this,
            [disposal] { disposal->CopyCodeOrPhone(); });
    const auto on = [this, &menuName](const char* caption, auto action) {
        connect(MainMenuItem(this, menuName, QString::fromUtf8(caption)), &QAction::triggered, this,
                action);
    };
    on("复制手机号码(A)", [disposal] { disposal->CopyPhone(); });
    on("复制验证码(B)", [disposal] { disposal->CopyCode(); });
    on("复制全部手机号码(D)", [disposal] { disposal->CopyAllPhones(); });
    on("复制短信内容(C)", [disposal] { disposal->CopySmsText(); });
    on("再次使用号码", [disposal] { disposal->UseAgain(); });
    on("释放号码", [disposal] { disposal->DisposeSelected(Disposal::Release); });
    on("拉黑号码", [disposal] { disposal->DisposeSelected(Disposal::Blacklist); });
    connect(f.按钮_取号全部释放, &QPushButton::clicked, this,
            [disposal] { disposal->DisposeAll(Disposal::Release); });
    connect(f.按钮_取号_全部加黑, &QPushButton::clicked, this,
            [disposal] { disposal->DisposeAll(Disposal::Blacklist); });
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
        SendSmsPageController::Widgets{
            this, f.组合框_发短信_项目列表, f.组合框_发送号码, f.组合框_运营商1, f.组合框_地区1,
            f.组合框_卡型1, f.编辑框_发短信_获取号码, f.透明标签_发短信_号码所属,
            f.编辑框_发短信_指定, f.编辑框_发短信_发送内容, f.编辑框_发短信_短信内容,
            f.编辑框_发短信_取号时间, f.编辑框_发短信_取码状态, f.透明标签40,
            f.按钮_发短信_获取号码, f.按钮_发短信_指定, f.按钮_发短信_提交发短信内容},
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
