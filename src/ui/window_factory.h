#pragma once

#include <functional>
#include <memory>

#include "ui/forms.h"
#include "ui/frameless_window.h"

class QLineEdit;

namespace lanxun {

// A window that is its form and nothing more: the form's controls, the shared
// frame and the title boxes. The windows whose behaviour comes from elsewhere
// start out as this and get a class of their own when that behaviour arrives.
class FormWindow : public FramelessWindow {
    Q_OBJECT

public:
    explicit FormWindow(QWidget* parent = nullptr) : FramelessWindow(parent) {}

    // Builds the form `id`, whose generated class is `UiForm`, on this window, which keeps it.
    template <typename UiForm>
    UiForm& SetUp(FormId id) {
        auto form = std::make_shared<UiForm>();
        form->setupUi(this);
        SetUpForm(lanxun::Form(id));
        form_ = form;
        return *form;
    }

private:
    std::shared_ptr<void> form_;
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
