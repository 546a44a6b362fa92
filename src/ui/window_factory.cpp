#include "ui/window_factory.h"

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
    return new FormWindow<Ui::RegistrationForm>("图片框20", "图片框21", "图片框22");
}

FramelessWindow* CreateRechargeWindow() {
    return new FormWindow<Ui::RechargeForm>("图片框40", "图片框41", "图片框42");
}

FramelessWindow* CreateWithdrawalWindow() {
    return new FormWindow<Ui::WithdrawalForm>("图片框90", "图片框91", "图片框92");
}

FramelessWindow* CreateChangePasswordWindow() {
    return new FormWindow<Ui::ChangePasswordForm>("图片框77", "图片框78", "图片框79");
}

FramelessWindow* CreatePersonalInfoWindow() {
    return new FormWindow<Ui::PersonalInfoForm>("图片框60", "图片框61", "图片框62");
}

FramelessWindow* CreateSecurityWindow() {
    return new FormWindow<Ui::SecurityForm>("图片框50", "图片框51", "图片框52");
}

FramelessWindow* CreateDockingHelpWindow() {
    return new DockingHelpWindow;
}

FramelessWindow* CreateDeveloperApiWindow() {
    return new DeveloperApiWindow;
}

}  // namespace lanxun
