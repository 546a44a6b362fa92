#include "ui/window_factory.h"

#include "records/recharge_controller.h"
#include "records/withdrawal_controller.h"
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
    auto* window = new FormWindow<Ui::RechargeForm>(FormId::Recharge);
    Ui::RechargeForm& f = window->form();
    new RechargeController(
        {window, f.高级选择夹1, f.透明标签55, f.按钮1, f.编辑框_支付宝订单, f.按钮_支付宝充值,
         f.编辑框_二维码充值金额, f.按钮_二维码充值, f.图片框2, f.透明标签2},
        window);
    return window;
}

FramelessWindow* CreateWithdrawalWindow(std::function<void()> reloadWithdrawalRecords) {
    auto* window = new FormWindow<Ui::WithdrawalForm>(FormId::Withdrawal);
    Ui::WithdrawalForm& f = window->form();
    new WithdrawalController({window, f.编辑框4, f.按钮5}, std::move(reloadWithdrawalRecords),
                             window);
    return window;
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

}  // namespace lanxun
