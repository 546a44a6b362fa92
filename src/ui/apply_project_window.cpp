#include "ui/apply_project_window.h"

#include <QPushButton>
#include <QRadioButton>

#include "projects/apply_project_controller.h"
#include "ui/forms.h"
#include "ui_apply_project_form.h"

namespace lanxun {

ApplyProjectWindow::ApplyProjectWindow(QWidget* parent)
    : FramelessWindow(parent), form_(std::make_unique<Ui::ApplyProjectForm>()) {
    form_->setupUi(this);
    SetUpForm(Form(FormId::ApplyProject));
    Ui::ApplyProjectForm& f = *form_;
    controller_ = std::make_unique<ApplyProjectController>(
        ApplyProjectController::Widgets{.window = this,
                                        .receiveName = f.编辑框_收码项目名,
                                        .receiveTemplate = f.编辑框_收码短信模板,
                                        .sendName = f.编辑框_发码项目名称,
                                        .sendingNumbers = f.编辑框_发码发送号码});
    connect(f.单选框1, &QRadioButton::clicked, this,
            [this] { form_->高级选择夹2->setCurrentIndex(0); });
    connect(f.单选框2, &QRadioButton::clicked, this,
            [this] { form_->高级选择夹2->setCurrentIndex(1); });
    connect(f.按钮_收码添加, &QPushButton::clicked, this,
            [this] { controller_->ApplyReceiveProject(); });
    connect(f.按钮_发码添加, &QPushButton::clicked, this,
            [this] { controller_->ApplySendProject(); });
}

ApplyProjectWindow::~ApplyProjectWindow() = default;

}  // namespace lanxun
