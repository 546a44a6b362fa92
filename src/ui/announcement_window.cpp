#include "ui/announcement_window.h"

#include "ui/forms.h"
#include "ui_announcement_form.h"

namespace lanxun {

AnnouncementWindow::AnnouncementWindow(const QString& announcement, QWidget* parent)
    : FramelessWindow(parent), form_(std::make_unique<Ui::AnnouncementForm>()) {
    form_->setupUi(this);
    SetUpForm(Form(FormId::Announcement));
    form_->编辑框1->setPlainText(announcement);
}

AnnouncementWindow::~AnnouncementWindow() = default;

}  // namespace lanxun
