#pragma once

#include <memory>

#include "ui/frameless_window.h"

namespace Ui {
class DeveloperApiForm;
}

namespace lanxun {

// "岚讯API对接": the platform's developer API as plain text, read-only so that
// it can be selected and copied but not changed by accident.
class DeveloperApiWindow : public FramelessWindow {
    Q_OBJECT

public:
    explicit DeveloperApiWindow(QWidget* parent = nullptr);
    ~DeveloperApiWindow() override;

private:
    std::unique_ptr<Ui::DeveloperApiForm> form_;
};

}  // namespace lanxun
