#pragma once

#include <QString>

#include <functional>

#include "api/server_lines.h"

class QLineEdit;
class QTimer;
class QWidget;

namespace lanxun {

class HttpRequest;

// The login window's logic: its start-up sequence, the login button and the
// find-password button, working on the window's two boxes and its timer 时钟1.
class LoginController {
public:
    struct Widgets {
        QWidget* window = nullptr;  // parent of the message boxes
        QLineEdit* userName = nullptr;
        QLineEdit* password = nullptr;
        QTimer* leftoverTimer = nullptr;  // 时钟1
    };

    // The version check of the start-up, on the request the pre-login reuses;
    // true when it handed over to the self-update, which ends the start-up.
    using VersionCheck = std::function<bool(HttpRequest& request)>;

    explicit LoginController(const Widgets& widgets);

    void SetVersionCheck(VersionCheck check) { versionCheck_ = std::move(check); }

    // The window's created event, run before it is first shown: the leftover
    // timer, the clean-up, the version check, the settings store, `lines` made
    // the process-wide server lines, the saved login restored into the boxes and
    // the silent pre-login that fetches the customer-service QQ. False when the
    // version check handed over to the self-update.
    bool RunStartup(const ServerLines& lines);

    // "登录". True when the user is logged in: LoginState filled, the login
    // saved, 时钟1 stopped and 200 ms waited; the announcement window opens next.
    // Otherwise the user has been told why and may try again.
    bool Login();

    // "找回密码": the customer-service QQ the pre-login or a login brought.
    void ShowFindPassword();

private:
    void ShowMessage(const QString& text);

    Widgets widgets_;
    VersionCheck versionCheck_;
};

}  // namespace lanxun
