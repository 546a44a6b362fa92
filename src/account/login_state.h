#pragma once

#include <QString>

#include "api/endpoints.h"

namespace lanxun {

// The logged-in user, one per process. Every field is a text exactly as the
// platform sent it. Filled by a sign reply of at least 11 fields; the account
// windows replace the four profile fields when the user changes them.
struct LoginState {
    QString userName;
    QString password;
    QString balance;
    QString withdrawable;
    QString securityQuestion;
    QString contactQq;
    QString legalName;
    QString alipayAccount;
    QString announcement;
    QString serviceQq;  // also set by the silent pre-login at start-up
};

// The process-wide login. It is written on the UI thread only (login, account
// windows); the user name and password no longer change once the main window
// is open, so workers may read those two.
LoginState& CurrentLogin();

// The first two query values of every platform request.
Credentials CurrentCredentials();

}  // namespace lanxun
