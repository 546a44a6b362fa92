#include "ui/main_window.h"

#include <QAction>
#include <QCursor>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "account/forum_link.h"
#include "numbers/forwarding_controller.h"
#include "platform/modal_opener.h"
#include "platform/mouse_release.h"
#include "records/funds_controller.h"
#include "ui/cursors.h"
#include "ui/forms.h"
#include "ui/main_window_controller.h"
#include "ui/menus.h"
#include "ui/window_factory.h"
#include "ui_main_form.h"

namespace lanxun {

std::vector<WorkerFactory> BackgroundWorkers() {
    // In this order: code polling, send-result polling, balance refresh, home-province
    // lookup, receive-side favourites, send-side favourites. Each arrives with its routine.
    return {};
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

    // The numbers page is where the user starts (its button gets the focus at activation).
    navigator_->Select(kNumbersPage);
    // The capture box of code forwarding is live from the start, with its own pointer.
    f.图片框_捕获鼠标->setEnabled(true);
    f.图片框_捕获鼠标->setCursor(CapturePointerCursor());
    // The SMS template lookup opens its database connection here, once per process.
    ConnectWindowButtons();
    ConnectControllers();
}

MainWindow::~MainWindow() {
    // The routines use the form, which goes away with this window.
    shell_->StopWorkers();
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
    connect(item("资金操作", "提现"), &QAction::triggered, this, modal(CreateWithdrawalWindow));
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
    forwarding_ = std::make_unique<ForwardingController>(ForwardingController::Widgets{
        f.图片框_捕获鼠标, f.编辑框_窗口句柄, f.编辑框_窗口标题, f.单选框2, f.编辑框7, f.按钮1,
        f.按钮2, f.编辑框5, CaptureCrossHairCursor(), CapturePointerCursor()});
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

}  // namespace lanxun
