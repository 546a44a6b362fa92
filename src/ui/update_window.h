#pragma once

#include <memory>

#include "ui/frameless_window.h"

namespace Ui {
class UpdateForm;
}

namespace lanxun {

class LoginWindow;
class SelfUpdateController;

// "用户端更新": the only window with a system frame. Its creation starts the
// self-update, which ends the process when the new executable has started.
class UpdateWindow : public FramelessWindow {
    Q_OBJECT

public:
    explicit UpdateWindow(const QString& updateHost, QWidget* parent = nullptr);
    ~UpdateWindow() override;

    Ui::UpdateForm& form() { return *form_; }

private:
    std::unique_ptr<Ui::UpdateForm> form_;
    std::unique_ptr<SelfUpdateController> controller_;
};

// Hooks the version check against `updateHost` into the login window's
// start-up; an offered update opens the update window modally.
void InstallSelfUpdate(LoginWindow& login, const QString& updateHost);

}  // namespace lanxun
