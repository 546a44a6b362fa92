#include "ui/main_window.h"

#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QUrl>

#include "account/login_state.h"
#include "account/startup.h"
#include "lanxun/build_config.h"
#include "numbers/loop_mode.h"
#include "platform/message_box.h"
#include "platform/modal_opener.h"
#include "platform/process.h"
#include "platform/shell_open.h"
#include "ui/form_extras.h"
#include "ui/menus.h"
#include "ui/region_list.h"
#include "ui/window_factory.h"
#include "ui_main_form.h"

namespace lanxun {

std::vector<WorkerFactory> BackgroundWorkers() {
    // In this order: code polling, send-result polling, balance refresh, home-province
    // lookup, receive-side favourites, send-side favourites. Each arrives with its routine.
    return {};
}

MainWindow::MainWindow(QPointer<QWidget> loginWindow, std::vector<WorkerFactory> workers)
    : form_(std::make_unique<Ui::MainForm>()),
      loginWindow_(std::move(loginWindow)),
      workerFactories_(std::move(workers)) {
    form_->setupUi(this);
    SetUpForm("图片框1", "图片框2", "图片框3");
    // The numbers page is where the user starts (its button gets the focus at activation).
    SelectPage(kNumbersPage);
    ConnectTemplateDatabase();
    PrepareCaptureBox();
    ConnectPageButtons();
    ConnectMenus();
}

MainWindow::~MainWindow() {
    // The routines use the form, which goes away with this window.
    for (auto& worker : workers_) {
        worker->Stop();
    }
    workers_.clear();
}

void MainWindow::SelectPage(int page) {
    form_->高级选择夹1->setCurrentIndex(page);
}

void MainWindow::ConnectTemplateDatabase() {
    // The SMS template lookup opens its database connection here, once per process.
}

void MainWindow::PrepareCaptureBox() {
    form_->图片框_捕获鼠标->setEnabled(true);
    form_->图片框_捕获鼠标->setCursor(CapturePointerCursor());
}

void MainWindow::ConnectPageButtons() {
    Ui::MainForm& f = *form_;
    connect(f.超级按钮_收短信, &QPushButton::clicked, this,
            [this] { ShowPage(kNumbersPage, nullptr, form_->超级按钮_收短信); });
    connect(f.超级按钮_发短信, &QPushButton::clicked, this,
            [this] { ShowPage(kSendSmsPage, nullptr, form_->超级按钮_发短信); });
    connect(f.超级按钮_项目列表, &QPushButton::clicked, this, [this] {
        ShowPage(kProjectListPage, &MainWindow::ProjectListRequested, form_->超级按钮_项目列表);
    });
    connect(f.超级按钮_专属对接, &QPushButton::clicked, this, [this] {
        ShowPage(kDockingPage, &MainWindow::DockingListRequested, form_->超级按钮_专属对接);
    });
    connect(f.超级按钮_公开对接, &QPushButton::clicked, this, [this] {
        ShowPage(kPublicDockingPage, &MainWindow::PublicDockingRequested, form_->超级按钮_公开对接);
    });
    connect(f.超级按钮_启动服务5, &QPushButton::clicked, this,
            [this] { MainMenu(this, QStringLiteral("资金操作"))->popup(QCursor::pos()); });
    connect(f.超级按钮_安全中心, &QPushButton::clicked, this,
            [this] { MainMenu(this, QStringLiteral("安全中心"))->popup(QCursor::pos()); });
    connect(f.超级按钮_开发者说明, &QPushButton::clicked, this, &MainWindow::OpenDeveloperApi);
    connect(f.超级按钮_启动服务7, &QPushButton::clicked, this,
            &MainWindow::OpenCustomerServiceChat);
    connect(f.超级按钮_启动服务1, &QPushButton::clicked, this,
            [] { ModalWindows().OpenModal(CreateRechargeWindow()); });
    connect(f.按钮3, &QPushButton::clicked, this,
            [] { ModalWindows().OpenModal(CreateDockingHelpWindow()); });
    f.透明标签5->installEventFilter(this);
}

void MainWindow::ConnectMenus() {
    const auto item = [this](const char* menu, const char* caption) {
        return MainMenuItem(this, QString::fromUtf8(menu), QString::fromUtf8(caption));
    };
    QWidget* details = form_->超级按钮_启动服务5;

    connect(item("资金操作", "提现"), &QAction::triggered, this,
            [] { ModalWindows().OpenModal(CreateWithdrawalWindow()); });
    connect(item("资金操作", "提现记录"), &QAction::triggered, this, [this, details] {
        ShowPage(kWithdrawalRecordsPage, &MainWindow::WithdrawalRecordsRequested, details);
    });
    // This item alone leaves the focus where it is.
    connect(item("资金操作", "充值记录"), &QAction::triggered, this, [this] {
        ShowPage(kRechargeRecordsPage, &MainWindow::RechargeRecordsRequested, nullptr);
    });
    connect(item("资金操作", "短信记录"), &QAction::triggered, this, [this, details] {
        ShowPage(kSmsRecordsPage, &MainWindow::SmsRecordsRequested, details);
    });
    connect(item("资金操作", "推荐人奖励明细"), &QAction::triggered, this, [this, details] {
        ShowPage(kReferralRecordsPage, &MainWindow::ReferralRecordsRequested, details);
    });

    connect(item("安全中心", "修改密码"), &QAction::triggered, this,
            [] { ModalWindows().OpenModal(CreateChangePasswordWindow()); });
    connect(item("安全中心", "个人信息"), &QAction::triggered, this,
            [] { ModalWindows().OpenModal(CreatePersonalInfoWindow()); });
    connect(item("安全中心", "安全设置"), &QAction::triggered, this,
            [] { ModalWindows().OpenModal(CreateSecurityWindow()); });
}

void MainWindow::ShowPage(int page, void (MainWindow::*request)(), QWidget* focus) {
    SelectPage(page);
    if (request) {
        (this->*request)();
    }
    if (focus) {
        focus->setFocus(Qt::OtherFocusReason);
    }
}

bool MainWindow::event(QEvent* event) {
    const bool handled = FramelessWindow::event(event);
    if (event->type() == QEvent::WindowActivate && !activated_) {
        activated_ = true;
        RunFirstActivation();
    }
    return handled;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == form_->透明标签5 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        OpenForumPage();
        return true;
    }
    return FramelessWindow::eventFilter(watched, event);
}

void MainWindow::RunFirstActivation() {
    if (loginWindow_) {
        // Deferred: the login window may still be on the call stack that opened us.
        loginWindow_->deleteLater();
        loginWindow_.clear();
    }
    FillStatusBar();
    ApplyPagePresentation();
    FillRegionPickers();
    SetGetLoopMode(QStringLiteral("1"));
    form_->超级按钮_收短信->setFocus(Qt::OtherFocusReason);
    StartWorkers();
}

void MainWindow::FillStatusBar() {
    const LoginState& login = CurrentLogin();
    const QString texts[kStatusPartCount] = {
        QStringLiteral("用户:") + login.userName,
        QStringLiteral("余额:") + login.balance,
        QStringLiteral("可提现:") + login.withdrawable,
        QStringLiteral("版本:") + QString::fromUtf8(kClientVersion),
        QStringLiteral("客服QQ:") + login.serviceQq,
    };
    for (int i = 0; i < kStatusPartCount; ++i) {
        if (QLabel* part = StatusPart(form_->状态条1, i)) {
            part->setText(texts[i]);
        }
    }
}

void MainWindow::ApplyPagePresentation() {
    // The client switches pages itself: no page headers a click could use (the empty
    // page 1 must stay unreachable) and no frame around the pages.
    QTabWidget* pages = form_->高级选择夹1;
    pages->tabBar()->hide();
    pages->setDocumentMode(true);
}

void MainWindow::FillRegionPickers() {
    QComboBox* numbersSide = form_->组合框_地区;
    QComboBox* sendSide = form_->组合框_地区1;
    const QStringList items = RegionPickerItems();
    for (const QString& item : items) {
        numbersSide->addItem(item);
        sendSide->addItem(item);
    }
    numbersSide->setCurrentIndex(0);
    sendSide->setCurrentIndex(0);
}

void MainWindow::StartWorkers() {
    for (const WorkerFactory& create : workerFactories_) {
        if (std::unique_ptr<Worker> worker = create(*this)) {
            worker->Start();
            workers_.push_back(std::move(worker));
        }
    }
}

bool MainWindow::AcceptClose() {
    if (!MessageBoxes().OkCancel(this, QStringLiteral("退出用户端"),
                                 MessageBoxService::DefaultTitle(), MessageIcon::None)) {
        return false;
    }
    // The client's own process, never another copy found by its file name.
    EndOwnProcess();
    return true;  // reached only when the process could not be ended: close normally
}

void MainWindow::OpenCustomerServiceChat() {
    const QString qq = CurrentLogin().serviceQq;
    Shell().Open(
        QUrl(QStringLiteral("tencent://message/?uin=") + qq + QStringLiteral("&Site=&Menu=yes")));
}

void MainWindow::OpenForumPage() {
    Shell().Open(QUrl(QString::fromUtf8(build::kForumUrl)));
}

void MainWindow::OpenDeveloperApi() {
    // Not a child of this window: it stays open, and keeps the program alive, when the
    // main window is closed by its close box.
    FramelessWindow* window = CreateDeveloperApiWindow();
    window->show();
    window->activateWindow();
}

}  // namespace lanxun
