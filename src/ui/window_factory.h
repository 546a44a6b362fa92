#pragma once

#include <functional>

#include "ui/forms.h"
#include "ui/frameless_window.h"

class QLineEdit;

namespace lanxun {

// A window that is its form and nothing more: the form's controls, the shared
// frame and the title boxes. The windows whose behaviour comes from elsewhere
// start out as this and get a class of their own when that behaviour arrives.
template <typename UiForm>
class FormWindow : public FramelessWindow {
public:
    explicit FormWindow(FormId id, QWidget* parent = nullptr) : FramelessWindow(parent) {
        form_.setupUi(this);
        SetUpForm(lanxun::Form(id));
    }

    UiForm& form() { return form_; }

private:
    UiForm form_;
};

// The windows opened from the login and main windows, each created afresh for every opening.
// "岚讯用户注册"; a registration that succeeds puts the new name and password into the
// login window's boxes, when they are given.
FramelessWindow* CreateRegistrationWindow(QLineEdit* loginUserName = nullptr,
                                          QLineEdit* loginPassword = nullptr);
FramelessWindow* CreateRechargeWindow();  // "支付宝充值"
// "澄信开发着提现"; an accepted withdrawal runs `reloadWithdrawalRecords` before it closes.
FramelessWindow* CreateWithdrawalWindow(std::function<void()> reloadWithdrawalRecords = {});
FramelessWindow* CreateChangePasswordWindow();  // "修改密码"
FramelessWindow* CreatePersonalInfoWindow();    // "个人信息"
FramelessWindow* CreateSecurityWindow();        // "安全设置"
FramelessWindow* CreateDockingHelpWindow();     // "对接帮助"
FramelessWindow* CreateDeveloperApiWindow();    // "岚讯API对接"
FramelessWindow* CreateApplyProjectWindow();    // "申请项目"

}  // namespace lanxun
