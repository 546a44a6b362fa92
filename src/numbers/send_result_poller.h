#pragma once

#include <QPointer>
#include <QString>
#include <functional>

#include "platform/worker.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace lanxun {

class HttpRequest;

// The background routine of the tab "发短信": it watches the number obtained there and asks the
// platform (yh_qm) for the outcome of the SMS sent through it, until the sending is reported
// done ("成功") or failed ("失败"), or 300 seconds have passed since the number was obtained.
// Other texts the platform reports meanwhile go to the status and the result line, or to the
// SMS field. One pass every 5 seconds, at most one query a pass.
//
// Every read or write of a control is one call on the UI thread. A result is written only
// while the number and the acquisition time still read as they did when it was asked for, in
// the same call: a result never lands on a number obtained or cleared meanwhile.
class SendResultPoller : public Worker {
public:
    struct Widgets {
        QComboBox* projectPicker = nullptr;  // 组合框_发短信_项目列表
        QLineEdit* number = nullptr;         // 编辑框_发短信_获取号码
        QLineEdit* status = nullptr;         // 编辑框_发短信_取码状态
        QLineEdit* obtainedAt = nullptr;     // 编辑框_发短信_取号时间
        QLabel* resultLine = nullptr;        // 透明标签40
        QPlainTextEdit* smsText = nullptr;   // 编辑框_发短信_短信内容
    };

    static constexpr int kPassPauseMs = 5000;
    static constexpr int kQueryDelayMs = 400;

    explicit SendResultPoller(const Widgets& widgets);
    ~SendResultPoller() override;

protected:
    void Run() override;

private:
    struct Watched;
    void Pass(HttpRequest& request);
    // Runs `write` on the UI thread only while the fields still show `watched`.
    void WriteIfStill(const Watched& watched, const std::function<void()>& write);

    QPointer<QComboBox> projectPicker_;
    QPointer<QLineEdit> number_;
    QPointer<QLineEdit> status_;
    QPointer<QLineEdit> obtainedAt_;
    QPointer<QLabel> resultLine_;
    QPointer<QPlainTextEdit> smsText_;
};

}  // namespace lanxun
