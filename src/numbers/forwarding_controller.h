#pragma once

#include <QCursor>
#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <atomic>

#include "platform/input_simulator.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace lanxun {

// What forwarding one received SMS writes to the log and types into the target.
struct ForwardedSms {
    QString logLine;    // ends with CR LF
    QString typedText;  // ends with the separator
};

// The two texts of one forwarded SMS. The whole-SMS form starts both texts with the
// row's `sequence`; the single-code form starts its log line with the row's position
// instead, which differs from `sequence` once rows have been removed from the list.
ForwardedSms BuildForwardedSms(bool wholeSms, const QString& separator, int rowPosition,
                               const QString& sequence, const QString& replyField1,
                               const QString& smsText, const QString& code);

// Code forwarding, the lower area of the tab "取号": picking the target window with the
// cross-hair, the switch "启动"/"停止", and typing numbers and codes into the target
// window, a chat window that sends on Enter.
//
// ForwardReceivedSms and TypeNumberLines are the operations other controllers call
// (code polling and batch acquisition). They may be called from any thread, also from
// two at once: each read or write of a control is one call on the UI thread, and each
// typed text arrives whole, so two callers interleave by whole texts and key presses.
// They never show a message: a target that is 0 or gone simply receives nothing.
class ForwardingController : public QObject {
    Q_OBJECT

public:
    // forwardingState: 0 at start, "停止" sets 2, "启动" sets 3 (forwarding on).
    enum State { kInitial = 0, kStopped = 2, kRunning = 3 };

    struct Widgets {
        QLabel* captureBox = nullptr;      // 图片框_捕获鼠标, the cross-hair to drag
        QLineEdit* handleBox = nullptr;    // 编辑框_窗口句柄
        QLineEdit* titleBox = nullptr;     // 编辑框_窗口标题
        QRadioButton* wholeSms = nullptr;  // 单选框2 "整条短信"; otherwise the single code
        QLineEdit* separator = nullptr;    // 编辑框7
        QPlainTextEdit* log = nullptr;     // 编辑框5, the forwarding log
        QCursor crossHair;                 // the pointer while dragging
        QCursor pointer;                   // the capture box's own pointer
    };

    explicit ForwardingController(const Widgets& widgets, QObject* parent = nullptr);

    // A received SMS, handed over by code polling once it has written the row: when
    // forwarding is on, one line is added to the log and the text is typed into the
    // target window, then Shift+Enter and Enter send it. `rowPosition` is 1-based,
    // `replyField1` is field 1 of the yh_qm reply. Does nothing while forwarding is off.
    void ForwardReceivedSms(int rowPosition, const QString& sequence, const QString& replyField1,
                            const QString& smsText, const QString& code);

    // The number lines of a batch ("COM" + attempt + " " + number), typed whether
    // forwarding is on or not: each after a pause of 500 ms, followed by Shift+Enter, and
    // one Enter at the end (also for no lines), so that they arrive as one message.
    void TypeNumberLines(const QStringList& lines);

    // The cross-hair drag: pressed on the capture box, moved anywhere, released. While
    // it lasts the window under the pointer becomes the target and is shown.
    void BeginCapture();
    void TrackPointer(const QPoint& globalPos);
    void EndCapture();
    bool Capturing() const { return capturing_; }

    void Start() { state_ = kRunning; }
    void Stop() { state_ = kStopped; }
    int ForwardingState() const { return state_; }
    WindowHandle TargetWindow() const { return target_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Widgets widgets_;
    // Written on the UI thread, read by the forwarding threads.
    std::atomic<int> state_{kInitial};
    std::atomic<WindowHandle> target_{0};
    bool capturing_ = false;
    QPixmap picture_;  // the box's cross-hair picture, away while dragging
};

}  // namespace lanxun
