#pragma once

#include <memory>

#include "ui/frameless_window.h"

namespace Ui {
class ApplyProjectForm;
}

namespace lanxun {

class ApplyProjectController;

// "申请项目": the radio buttons choose the page, each page's "确定" sends its application.
class ApplyProjectWindow : public FramelessWindow {
    Q_OBJECT

public:
    explicit ApplyProjectWindow(QWidget* parent = nullptr);
    ~ApplyProjectWindow() override;

    Ui::ApplyProjectForm& form() { return *form_; }

private:
    std::unique_ptr<Ui::ApplyProjectForm> form_;
    std::unique_ptr<ApplyProjectController> controller_;
};

}  // namespace lanxun
