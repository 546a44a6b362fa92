#pragma once

#include <QString>

#include <memory>

#include "ui/frameless_window.h"

namespace Ui {
class AnnouncementForm;
}

namespace lanxun {

// "用户端公告": the announcement of this login, shown once after logging in.
class AnnouncementWindow : public FramelessWindow {
    Q_OBJECT

public:
    explicit AnnouncementWindow(const QString& announcement, QWidget* parent = nullptr);
    ~AnnouncementWindow() override;

    Ui::AnnouncementForm& form() { return *form_; }

private:
    std::unique_ptr<Ui::AnnouncementForm> form_;
};

}  // namespace lanxun
