#include "ui/login_window.h"

#include "account/forum_link.h"
#include "account/login_state.h"
#include "platform/handler_scope.h"
#include "platform/modal_opener.h"
#include "platform/mouse_release.h"
#include "ui/announcement_window.h"
#include "ui/form_finishing.h"
#include "ui/forms.h"
#include "ui_login_form.h"

namespace lanxun {

LoginWindow::LoginWindow(ServerLines lines, OpenMainWindow openMainWindow, QWidget* parent)
    : FramelessWindow(parent),
      form_(std::make_unique<Ui::LoginForm>()),
      lines_(std::move(lines)),
      openMainWindow_(std::move(openMainWindow)) {
    form_->setupUi(this);
    SetUpForm(Form(FormId::Login));
    controller_ = std::make_unique<LoginController>(
        LoginController::Widgets{.window = this,
                                 .userName = form_->编辑框_用户名,
                                 .password = form_->编辑框_密码,
                                 .leftoverTimer = FormTimer(this, "时钟1")});

    connect(form_->按钮1, &QPushButton::clicked, this, &LoginWindow::LogIn);
    connect(form_->按钮_注册账户, &QPushButton::clicked, this, &LoginWindow::OpenRegistration);
    connect(form_->按钮_找回密码, &QPushButton::clicked, this,
            [this] { controller_->ShowFindPassword(); });
    OnLeftButtonReleased(form_->透明标签55, &OpenForumPage);
}

LoginWindow::~LoginWindow() = default;

void LoginWindow::SetVersionCheck(LoginController::VersionCheck check) {
    controller_->SetVersionCheck(std::move(check));
}

bool LoginWindow::RunStartup() {
    return controller_->RunStartup(lines_);
}

void LoginWindow::LogIn() {
    // A second click while the first login waits would log in and open the
    // announcement and the main window twice.
    if (loggingIn_) {
        return;
    }
    // Waits for the sign reply and the pause before the announcement.
    HandlerScope running(this);
    loggingIn_ = true;
    const bool loggedIn = controller_->Login();
    loggingIn_ = false;
    if (running.WindowClosing()) {
        return;  // closed meanwhile: it goes now, and the program with it; nothing opens
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
