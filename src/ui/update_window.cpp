#include "ui/update_window.h"

#include "account/self_update.h"
#include "platform/modal_opener.h"
#include "ui/form_finishing.h"
#include "ui/forms.h"
#include "ui/login_window.h"
#include "ui_update_form.h"

namespace lanxun {

UpdateWindow::UpdateWindow(const QString& updateHost, QWidget* parent)
    : FramelessWindow(parent, Frame::System), form_(std::make_unique<Ui::UpdateForm>()) {
    form_->setupUi(this);
    SetUpForm(Form(FormId::Update));
    controller_ = std::make_unique<SelfUpdateController>(
        SelfUpdateController::Widgets{.window = this,
                                      .progress = form_->进度条1,
                                      .status = form_->透明标签3,
                                      .progressTimer = FormTimer(this, "时钟1")},
        updateHost);
    controller_->Start();
}

UpdateWindow::~UpdateWindow() = default;

void InstallSelfUpdate(LoginWindow& login, const QString& updateHost) {
    QWidget* loginWindow = &login;
    login.SetVersionCheck([loginWindow, updateHost](HttpRequest& request) {
        return RunVersionCheck(request, updateHost, loginWindow, [updateHost] {
            // The login window is never shown once the update has begun; the
            // start-up returns when this window is gone, and the program ends.
            ModalWindows().OpenModal(new UpdateWindow(updateHost));
        });
    });
}

}  // namespace lanxun
