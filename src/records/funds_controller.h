#pragma once

class QWidget;

namespace lanxun {

// The customer-service chat of the main window's button "客服中心". The balance refresher,
// the recharge and withdrawal windows' controllers and the record pages live beside it.
class FundsController {
public:
    struct Widgets {
        QWidget* window = nullptr;  // the main window, parent of the message boxes
    };

    explicit FundsController(const Widgets& widgets) : widgets_(widgets) {}

    // "客服中心": the QQ chat with the customer-service number of this login, through the
    // messenger's link scheme. Nothing is reported when no QQ client takes it.
    void OpenCustomerServiceChat();

private:
    Widgets widgets_;
};

}  // namespace lanxun
