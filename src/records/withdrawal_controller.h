#pragma once

#include <QObject>
#include <functional>

class QLineEdit;
class QWidget;

namespace lanxun {

// The window "澄信开发着提现": a withdrawal of referral income (tj). An accepted one ("处理中")
// reloads the withdrawal records and closes the window; a refused one leaves it open.
class WithdrawalController : public QObject {
    Q_OBJECT

public:
    struct Widgets {
        QWidget* window = nullptr;
        QLineEdit* amount = nullptr;  // 编辑框4
    };

    // `reloadWithdrawalRecords` reloads the main window's withdrawal records; may be empty.
    WithdrawalController(const Widgets& widgets, std::function<void()> reloadWithdrawalRecords,
                         QObject* parent);

    void Withdraw();  // 按钮5 "确定"

private:
    Widgets widgets_;
    std::function<void()> reloadWithdrawalRecords_;
};

}  // namespace lanxun
