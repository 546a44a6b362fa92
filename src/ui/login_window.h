#pragma once

#include <QPointer>

#include <functional>
#include <memory>

#include "account/login_controller.h"
#include "api/server_lines.h"
#include "ui/frameless_window.h"

namespace Ui {
class LoginForm;
}

namespace lanxun {

// "岚讯接码平台": the first window of the program. Its start-up runs before it
// is shown; a successful login opens the announcement modally, and when that
// window goes the login window hides and hands over to the main window.
class LoginWindow : public FramelessWindow {
    Q_OBJECT

public:
    // Opens the main window (non-modal); it destroys `loginWindow` at its first
    // activation.
    using OpenMainWindow = std::function<void(QPointer<QWidget> loginWindow)>;
    // Creates the registration window "岚讯用户注册", opened modally by "注册账户".
    using CreateWindow = std::function<QWidget*()>;

    LoginWindow(ServerLines lines, OpenMainWindow openMainWindow, QWidget* parent = nullptr);
    ~LoginWindow() override;

    void SetRegistrationWindow(CreateWindow create) { createRegistration_ = std::move(create); }
    void SetVersionCheck(LoginController::VersionCheck check);

    // The created event; call once before show(). False when the self-update
    // took over, in which case the window is not to be shown.
    bool RunStartup();

    Ui::LoginForm& form() { return *form_; }
    LoginController& controller() { return *controller_; }

private:
    void LogIn();
    void OpenRegistration();
    void HandOverToMainWindow();

    std::unique_ptr<Ui::LoginForm> form_;
    std::unique_ptr<LoginController> controller_;
    ServerLines lines_;
    OpenMainWindow openMainWindow_;
    CreateWindow createRegistration_;
    bool loggingIn_ = false;
};

}  // namespace lanxun
