#pragma once

#include <QString>
#include <memory>

#include "ui/frameless_window.h"

namespace Ui {
class DockingHelpForm;
}

namespace lanxun {

// The four steps of capturing the target window for code forwarding, with
// CR LF line breaks.
QString DockingHelpText();

// "对接帮助": the steps above and a button that closes the window.
class DockingHelpWindow : public FramelessWindow {
    Q_OBJECT

public:
    explicit DockingHelpWindow(QWidget* parent = nullptr);
    ~DockingHelpWindow() override;

private:
    std::unique_ptr<Ui::DockingHelpForm> form_;
};

}  // namespace lanxun
