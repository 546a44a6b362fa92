#include "ui/window_factory.h"

#include <QPushButton>
#include <QTabWidget>

#include "account/account_maintenance.h"
#include "account/registration_controller.h"
#include "records/recharge_controller.h"
#include "records/withdrawal_controller.h"
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

FramelessWindow* CreateRegistrationWindow(QLineEdit* loginUserName, QLineEdit* loginPassword) {
    auto* window = new FormWindow;
    Ui::RegistrationForm& f = window->SetUp<Ui::RegistrationForm>(FormId::Registration);
    auto* controller = new RegistrationController({.window = window,
                                                   .userName = f.编辑框_用户名,
                                                   .password = f.编辑框_密码,
                                                   .confirmation = f.编辑框_确认密码,
                                                   .answer = f.编辑框_安全答案,
                                                   .referrer = f.编辑框_推荐人ID,
                                                   .contactQq = f.编辑框_联系QQ,
                                                   .legalName = f.编辑框_真实姓名,
                                                   .alipay = f.编辑框_支付宝,
                                                   .question = f.组合框_安全问题,
                                                   .loginUserName = loginUserName,
                                                   .loginPassword = loginPassword},
                                                  window);
    QObject::connect(f.按钮_注册, &QPushButton::clicked, window, [window, controller] {
        if (controller->Register()) {
            window->close();
        }
    });
    return window;
}

FramelessWindow* CreateRechargeWindow() {
    auto* window = new FormWindow;
    Ui::RechargeForm& f = window->SetUp<Ui::RechargeForm>(FormId::Recharge);
    auto* controller = new RechargeController({.window = window,
                                               .accountLabel = f.透明标签55,
                                               .orderNumber = f.编辑框_支付宝订单,
                                               .qrAmount = f.编辑框_二维码充值金额,
                                               .qrRecharge = f.按钮_二维码充值,
                                               .qrPicture = f.图片框2,
                                               .qrBusyLabel = f.透明标签2},
                                              window);
    // The account to transfer to is asked for each time the page "手动充值" comes up.
    QObject::connect(f.高级选择夹1, &QTabWidget::currentChanged, controller,
                     [controller](int page) {
                         if (page == 0) {
                             controller->LoadTransferAccount();
                         }
                     });
    QObject::connect(f.按钮1, &QPushButton::clicked, controller,
                     &RechargeController::CopyTransferAccount);
    QObject::connect(f.按钮_支付宝充值, &QPushButton::clicked, controller,
                     &RechargeController::RechargeByOrderNumber);
    QObject::connect(f.按钮_二维码充值, &QPushButton::clicked, controller,
                     &RechargeController::StartQrRecharge);
    return window;
}

FramelessWindow* CreateWithdrawalWindow(std::function<void()> reloadWithdrawalRecords) {
    auto* window = new FormWindow;
    Ui::WithdrawalForm& f = window->SetUp<Ui::WithdrawalForm>(FormId::Withdrawal);
    auto* controller = new WithdrawalController({.window = window, .amount = f.编辑框4},
                                                std::move(reloadWithdrawalRecords), window);
    QObject::connect(f.按钮5, &QPushButton::clicked, controller, &WithdrawalController::Withdraw);
    return window;
}

FramelessWindow* CreateChangePasswordWindow() {
    auto* window = new FormWindow;
    Ui::ChangePasswordForm& f = window->SetUp<Ui::ChangePasswordForm>(FormId::ChangePassword);
    auto* controller = new ChangePasswordController({.window = window,
                                                     .question = f.组合框_修改密码_安全问题,
                                                     .answer = f.编辑框_修改密码_安全答案,
                                                     .newPassword = f.编辑框_修改密码_新密码,
                                                     .confirmation = f.编辑框_修改密码_确认码},
                                                    window);
    controller->SetUp();
    QObject::connect(f.按钮_修改密码_保存, &QPushButton::clicked, controller,
                     &ChangePasswordController::Save);
    return window;
}

FramelessWindow* CreatePersonalInfoWindow() {
    auto* window = new FormWindow;
    Ui::PersonalInfoForm& f = window->SetUp<Ui::PersonalInfoForm>(FormId::PersonalInfo);
    auto* controller = new PersonalInfoController({.window = window,
                                                   .question = f.组合框_修改个人资料_安全问题,
                                                   .answer = f.编辑框_修改个人资_安全答案,
                                                   .contactQq = f.编辑框_修改个人资_联系QQ,
                                                   .legalName = f.编辑框_修改个人资_真实姓名,
                                                   .alipay = f.编辑框_修改个人资_支付宝},
                                                  window);
    controller->SetUp();
    QObject::connect(f.按钮_修改个人资_保存, &QPushButton::clicked, controller,
                     &PersonalInfoController::Save);
    return window;
}

FramelessWindow* CreateSecurityWindow() {
    auto* window = new FormWindow;
    Ui::SecurityForm& f = window->SetUp<Ui::SecurityForm>(FormId::Security);
    auto* controller = new SecurityController({.window = window,
                                               .oldQuestion = f.组合框_修改安全信息_旧问题,
                                               .oldAnswer = f.编辑框_修改安全信息_旧答案,
                                               .newQuestion = f.组合框_修改安全信息_新问题,
                                               .newAnswer = f.编辑框_修改安全信息_新答案},
                                              window);
    controller->SetUp();
    QObject::connect(f.按钮_修改安全信息_保存, &QPushButton::clicked, controller,
                     &SecurityController::Save);
    return window;
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
