#include "ui/forms.h"

#include <QWidget>

#include "ui/form_extras.h"
#include "ui/ui_announcement_form.h"
#include "ui/ui_apply_project_form.h"
#include "ui/ui_change_password_form.h"
#include "ui/ui_developer_api_form.h"
#include "ui/ui_docking_help_form.h"
#include "ui/ui_login_form.h"
#include "ui/ui_main_form.h"
#include "ui/ui_personal_info_form.h"
#include "ui/ui_recharge_form.h"
#include "ui/ui_registration_form.h"
#include "ui/ui_security_form.h"
#include "ui/ui_update_form.h"
#include "ui/ui_withdrawal_form.h"

namespace lanxun {

namespace {

template <class Form>
void SetUp(QWidget* window) {
    Form ui;
    ui.setupUi(window);
}

}  // namespace

const std::vector<FormDefinition>& Forms() {
    static const std::vector<FormDefinition> forms = {
        {"LoginForm", SetUp<Ui::LoginForm>},
        {"RegistrationForm", SetUp<Ui::RegistrationForm>},
        {"MainForm", SetUp<Ui::MainForm>},
        {"RechargeForm", SetUp<Ui::RechargeForm>},
        {"ChangePasswordForm", SetUp<Ui::ChangePasswordForm>},
        {"PersonalInfoForm", SetUp<Ui::PersonalInfoForm>},
        {"SecurityForm", SetUp<Ui::SecurityForm>},
        {"WithdrawalForm", SetUp<Ui::WithdrawalForm>},
        {"ApplyProjectForm", SetUp<Ui::ApplyProjectForm>},
        {"AnnouncementForm", SetUp<Ui::AnnouncementForm>},
        {"UpdateForm", SetUp<Ui::UpdateForm>},
        {"DeveloperApiForm", SetUp<Ui::DeveloperApiForm>},
        {"DockingHelpForm", SetUp<Ui::DockingHelpForm>},
    };
    return forms;
}

bool SetUpNamedForm(const QString& className, QWidget* window) {
    for (const auto& form : Forms()) {
        if (className == QLatin1String(form.className)) {
            LoadFormResources();
            form.setUp(window);
            FinishForm(window);
            return true;
        }
    }
    return false;
}

}  // namespace lanxun
