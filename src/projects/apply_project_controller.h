#pragma once

class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace lanxun {

// The window "申请项目": applications for a new receive-SMS or send-SMS project. The platform's
// reply is always shown; only "审核中" (accepted for review) empties the inputs.
class ApplyProjectController {
public:
    struct Widgets {
        QWidget* window = nullptr;                  // parent of the message boxes
        QLineEdit* receiveName = nullptr;           // 编辑框_收码项目名
        QPlainTextEdit* receiveTemplate = nullptr;  // 编辑框_收码短信模板
        QLineEdit* sendName = nullptr;              // 编辑框_发码项目名称
        QPlainTextEdit* sendingNumbers = nullptr;  // 编辑框_发码发送号码, "#" between numbers
    };

    explicit ApplyProjectController(const Widgets& widgets) : widgets_(widgets) {}

    // "确定" on the page "收码短信" and on the page "发码短信". UI thread; wait for the reply.
    void ApplyReceiveProject();
    void ApplySendProject();

private:
    Widgets widgets_;
};

}  // namespace lanxun
