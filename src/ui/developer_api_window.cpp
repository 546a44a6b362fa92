#include "ui/developer_api_window.h"

#include "api/developer_api.h"
#include "lanxun/build_config.h"
#include "ui/forms.h"
#include "ui_developer_api_form.h"

namespace lanxun {

DeveloperApiWindow::DeveloperApiWindow(QWidget* parent)
    : FramelessWindow(parent), form_(std::make_unique<Ui::DeveloperApiForm>()) {
    form_->setupUi(this);
    SetUpForm(Form(FormId::DeveloperApi));
    form_->编辑框1->setReadOnly(true);
    form_->编辑框1->setPlainText(DeveloperApiText(QString::fromUtf8(build::kPlatformHost)));
}

DeveloperApiWindow::~DeveloperApiWindow() = default;

}  // namespace lanxun
