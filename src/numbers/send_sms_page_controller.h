#pragma once

#include <QString>

#include "api/endpoints.h"
#include "numbers/release_list.h"

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace lanxun {

class HandlerScope;
class SendProjectList;

// The tab "发短信": one number at a time, obtained for a send-SMS project ("取号", "指定取号"),
// an SMS submitted through it to one of the project's sending numbers ("发送短信"), the
// number given back ("释放号码", "号码加黑") and copied. The result of a submission arrives
// through SendResultPoller, which watches the same fields.
//
// Every handler runs on the UI thread. The acquisitions and the submission disable the whole
// window while they wait and enable it again however they end; a handler whose window is
// closed while it waits only winds up.
class SendSmsPageController {
public:
    struct Widgets {
        QWidget* window = nullptr;            // the main window
        QComboBox* projectPicker = nullptr;   // 组合框_发短信_项目列表
        QComboBox* sendingNumbers = nullptr;  // 组合框_发送号码
        QComboBox* operatorPicker = nullptr;  // 组合框_运营商1
        QComboBox* regionPicker = nullptr;    // 组合框_地区1
        QComboBox* cardPicker = nullptr;      // 组合框_卡型1
        QLineEdit* number = nullptr;        // 编辑框_发短信_获取号码, the obtained number
        QLabel* homeRegion = nullptr;       // 透明标签_发短信_号码所属
        QLineEdit* specified = nullptr;     // 编辑框_发短信_指定
        QPlainTextEdit* content = nullptr;  // 编辑框_发短信_发送内容, the text to send
        QPlainTextEdit* smsText = nullptr;  // 编辑框_发短信_短信内容
        QLineEdit* obtainedAt = nullptr;    // 编辑框_发短信_取号时间
        QLineEdit* status = nullptr;        // 编辑框_发短信_取码状态
        QLabel* resultLine = nullptr;       // 透明标签40
        QAbstractButton* obtainButton = nullptr;   // 按钮_发短信_获取号码 "取号"
        QAbstractButton* specifyButton = nullptr;  // 按钮_发短信_指定 "指定取号"
        QAbstractButton* submitButton = nullptr;  // 按钮_发短信_提交发短信内容 "发送短信"
    };

    // `sendProjects` is the send picker's list of project lines; it outlives the controller.
    SendSmsPageController(const Widgets& widgets, const SendProjectList& sendProjects);

    // The user picked a project (not a fill by code): the sending-number picker gets the
    // numbers of that project, each with its line's index as item data, the first selected.
    void ChooseProject();

    // "取号": a new number with the tab's options.
    void ObtainNumber();
    // "指定取号": the number typed in 编辑框_发短信_指定, with the tab's options.
    void ObtainSpecifiedNumber();
    // 选择框_发短信_不过滤 clicked: the send side's loop mode.
    void SetLoopMode(bool ticked);

    // "发送短信".
    void Submit();

    // "释放号码" and "号码加黑", each behind its Yes/No confirmation.
    void Dispose(Disposal how);

    // "复制手机号码" and "复制短信".
    void CopyNumber();
    void CopySmsText();

private:
    // The ID text of the picked project when it is at least 1000, else empty.
    QString RequestProjectId() const;
    // The tab's operator, region, card and loop values.
    NumberOptions Options() const;
    // Sends an acquisition's yh_qh and shows what it gave: the number, its home region and
    // the time. A refusal is returned as received, for the caller to show once the window is
    // enabled again; nothing else returns a text.
    QString Acquire(const HandlerScope& running, const EndpointCall& call);

    Widgets widgets_;
    const SendProjectList& sendProjects_;
};

}  // namespace lanxun
