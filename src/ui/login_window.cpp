#include "ui/login_window.h"

#include <QEvent>
#include <QMouseEvent>
#include <QUrl>

#include "account/login_state.h"
#include "lanxun/build_config.h"
#include "platform/modal_opener.h"
#include "platform/shell_open.h"
#include "ui/announcement_window.h"
#include "ui/form_extras.h"
#include "ui_login_form.h"

namespace lanxun {

LoginWindow::LoginWindow(ServerLines lines, OpenMainWindow openMainWindow, QWidget* parent)
    : FramelessWindow(parent),
      form_(std::make_unique<Ui::LoginForm>()),
      lines_(std::move(lines)),
      openMainWindow_(std::move(openMainWindow)) {
    form_->setupUi(this);
    SetUpForm("图片框7", "图片框8", "图片框9");
    controller_ = std::make_unique<LoginController>(LoginController::Widgets{
        this, form_->编辑框_用户名, form_->编辑框_密码, FormTimer(this, "时钟1")});

    connect(form_->按钮1, &QPushButton::clicked, this, &LoginWindow::LogIn);
    connect(form_->按钮_注册账户, &QPushButton::clicked, this, &LoginWindow::OpenRegistration);
    connect(form_->按钮_找回密码, &QPushButton::clicked, this,
            [this] { controller_->ShowFindPassword(); });
    form_->透明标签55->installEventFilter(this);
}

LoginWindow::~LoginWindow() = default;

void LoginWindow::SetVersionCheck(LoginController::VersionCheck check) {
    controller_->SetVersionCheck(std::move(check));
}

bool LoginWindow::RunStartup() {
    return controller_->RunStartup(lines_);
}

bool LoginWindow::event(QEvent* event) {
    // Closed (close box, Esc, system close) while the login handler waits: the
    // window goes once the handler is done, not under it.
    if (event->type() == QEvent::DeferredDelete && loggingIn_) {
        closedWhileLoggingIn_ = true;
        return true;
    }
    return FramelessWindow::event(event);
}

bool LoginWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == form_->透明标签55 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Shell().Open(QUrl(QString::fromUtf8(build::kForumUrl)));
        return true;
    }
    return FramelessWindow::eventFilter(watched, event);
}

void LoginWindow::LogIn() {
    // A second click while the first login waits would log in and open the
    // announcement and the main window twice.
    if (loggingIn_) {
        return;
    }
    loggingIn_ = true;
    const bool loggedIn = controller_->Login();
    loggingIn_ = false;
    if (closedWhileLoggingIn_) {
        deleteLater();  // the program ends with it; nothing opens
        return;
    }
    if (!loggedIn) {
        return;
    }
    auto* announcement = new AnnouncementWindow(CurrentLogin().announcement);
    // However the announcement goes (close box, Esc), its end hands over.
    connect(announcement, &QObject::destroyed, this, &LoginWindow::HandOverToMainWindow);
    ModalWindows().OpenModal(announcement);
}

void LoginWindow::HandOverToMainWindow() {
    hide();
    if (openMainWindow_) {
        openMainWindow_(QPointer<QWidget>(this));
    }
}

void LoginWindow::OpenRegistration() {
    if (createRegistration_) {
        ModalWindows().OpenModal(createRegistration_());
    }
}

}  // namespace lanxun
