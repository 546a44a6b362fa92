#include "account/login_state.h"

namespace lanxun {

LoginState& CurrentLogin() {
    static LoginState state;
    return state;
}

Credentials CurrentCredentials() {
    const LoginState& login = CurrentLogin();
    return {login.userName, login.password};
}

}  // namespace lanxun
