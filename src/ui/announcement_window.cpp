#include "ui/announcement_window.h"

#include "ui_announcement_form.h"

namespace lanxun {

AnnouncementWindow::AnnouncementWindow(const QString& announcement, QWidget* parent)
    : FramelessWindow(parent), form_(std::make_unique<Ui::AnnouncementForm>()) {
    form_->setupUi(this);
    SetUpForm("图片框70", "图片框71", "图片框72");
    form_->编辑框1->setPlainText(announcement);
}

AnnouncementWindow::~AnnouncementWindow() = default;

}  // namespace lanxun
