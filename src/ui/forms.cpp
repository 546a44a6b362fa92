#include "ui/forms.h"

#include <QLabel>
#include <QWidget>

#include "lanxun/build_config.h"
#include "ui/form_finishing.h"
#include "ui/form_resources.h"
#include "ui_announcement_form.h"
#include "ui_apply_project_form.h"
#include "ui_change_password_form.h"
#include "ui_developer_api_form.h"
#include "ui_docking_help_form.h"
#include "ui_login_form.h"
#include "ui_main_form.h"
#include "ui_personal_info_form.h"
#include "ui_recharge_form.h"
#include "ui_registration_form.h"
#include "ui_security_form.h"
#include "ui_update_form.h"
#include "ui_withdrawal_form.h"

namespace lanxun {

namespace {

template <class Form>
void SetUp(QWidget* window) {
    Form ui;
    ui.setupUi(window);
}

// The maker's web address after the line of 透明标签19. The window class adds the pop-up menus.
void FinishMainForm(QWidget* window) {
    if (auto* maker = window->findChild<QLabel*>(QStringLiteral("透明标签19"))) {
        const QString line = QStringLiteral("岚讯短信平台出品");
        if (maker->text() == line) {
            maker->setText(line + QLatin1Char(' ') + QString::fromUtf8(build::kForumUrl));
        }
    }
}

}  // namespace

const std::vector<FormDefinition>& Forms() {
    static const std::vector<FormDefinition> forms = {
        {.id = FormId::Login,
         .className = "LoginForm",
         .setUp = SetUp<Ui::LoginForm>,
         .titleBoxes = {"图片框7", "图片框8", "图片框9"},
         .timers = {"时钟1"}},  // interval set at start-up: deletes the update leftover
        {.id = FormId::Registration,
         .className = "RegistrationForm",
         .setUp = SetUp<Ui::RegistrationForm>,
         .titleBoxes = {"图片框20", "图片框21", "图片框22"}},
        {.id = FormId::Main,
         .className = "MainForm",
         .setUp = SetUp<Ui::MainForm>,
         .titleBoxes = {"图片框1", "图片框2", "图片框3"},
         .timers = {"时钟1"},  // never started
         .statusBar = "状态条1",
         .statusPartWidths = {180, 150, 180, 100, 420},
         .finish = FinishMainForm},
        {.id = FormId::Recharge,
         .className = "RechargeForm",
         .setUp = SetUp<Ui::RechargeForm>,
         .titleBoxes = {"图片框40", "图片框41", "图片框42"}},
        {.id = FormId::ChangePassword,
         .className = "ChangePasswordForm",
         .setUp = SetUp<Ui::ChangePasswordForm>,
         .titleBoxes = {"图片框77", "图片框78", "图片框79"}},
        {.id = FormId::PersonalInfo,
         .className = "PersonalInfoForm",
         .setUp = SetUp<Ui::PersonalInfoForm>,
         .titleBoxes = {"图片框60", "图片框61", "图片框62"}},
        {.id = FormId::Security,
         .className = "SecurityForm",
         .setUp = SetUp<Ui::SecurityForm>,
         .titleBoxes = {"图片框50", "图片框51", "图片框52"}},
        {.id = FormId::Withdrawal,
         .className = "WithdrawalForm",
         .setUp = SetUp<Ui::WithdrawalForm>,
         .titleBoxes = {"图片框90", "图片框91", "图片框92"}},
        {.id = FormId::ApplyProject,
         .className = "ApplyProjectForm",
         .setUp = SetUp<Ui::ApplyProjectForm>,
         .titleBoxes = {"图片框100", "图片框101", "图片框102"}},
        {.id = FormId::Announcement,
         .className = "AnnouncementForm",
         .setUp = SetUp<Ui::AnnouncementForm>,
         .titleBoxes = {"图片框70", "图片框71", "图片框72"}},
        {.id = FormId::Update,
         .className = "UpdateForm",
         .setUp = SetUp<Ui::UpdateForm>,
         .systemFrame = true,
         .timers = {"时钟1"}},  // ticks the self-update
        {.id = FormId::DeveloperApi,
         .className = "DeveloperApiForm",
         .setUp = SetUp<Ui::DeveloperApiForm>,
         .titleBoxes = {"图片框11", "图片框12", "图片框13"}},
        {.id = FormId::DockingHelp,
         .className = "DockingHelpForm",
         .setUp = SetUp<Ui::DockingHelpForm>,
         .titleBoxes = {"图片框30", "图片框31", "图片框32"}},
    };
    return forms;
}

const FormDefinition& Form(FormId id) {
    const FormDefinition& form = Forms().at(static_cast<size_t>(id));
    Q_ASSERT(form.id == id);
    return form;
}

const FormDefinition* FindForm(const QString& className) {
    for (const FormDefinition& form : Forms()) {
        if (className == QLatin1String(form.className)) {
            return &form;
        }
    }
    return nullptr;
}

void SetUpFormOnly(const FormDefinition& form, QWidget* window) {
    LoadFormResources();
    form.setUp(window);
    FinishForm(window, form);
}

}  // namespace lanxun
