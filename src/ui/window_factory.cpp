#include "ui/window_factory.h"

#include "ui/apply_project_window.h"
#include "ui/developer_api_window.h"
#include "ui/docking_help_window.h"
#include "ui_change_password_form.h"
#include "ui_personal_info_form.h"
#include "ui_recharge_form.h"
#include "ui_registration_form.h"
#include "ui_security_form.h"
#include "ui_withdrawal_form.h"

namespace lanxun {

FramelessWindow* CreateRegistrationWindow() {
    return new FormWindow<Ui::RegistrationForm>(FormId::Registration);
}

FramelessWindow* CreateRechargeWindow() {
    return new FormWindow<Ui::RechargeForm>(FormId::Recharge);
}

FramelessWindow* CreateWithdrawalWindow() {
    return new FormWindow<Ui::WithdrawalForm>(FormId::Withdrawal);
}

FramelessWindow* CreateChangePasswordWindow() {
    return new FormWindow<Ui::ChangePasswordForm>(FormId::ChangePassword);
}

FramelessWindow* CreatePersonalInfoWindow() {
    return new FormWindow<Ui::PersonalInfoForm>(FormId::PersonalInfo);
}

FramelessWindow* CreateSecurityWindow() {
    return new FormWindow<Ui::SecurityForm>(FormId::Security);
}

FramelessWindow* CreateDockingHelpWindow() {
    return new DockingHelpWindow;
}

FramelessWindow* CreateDeveloperApiWindow() {
    return new DeveloperApiWindow;
}

FramelessWindow* CreateApplyProjectWindow() {
    return new ApplyProjectWindow;
}

}  // namespace lanxun
