#include "numbers/forwarding_controller.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextCursor>

#include "platform/clock.h"
#include "platform/on_ui_thread.h"
#include "platform/window_picker.h"

namespace lanxun {

ForwardedSms BuildForwardedSms(bool wholeSms, const QString& separator, int rowPosition,
                               const QString& sequence, const QString& replyField1,
                               const QString& smsText, const QString& code) {
    const QString crlf = QStringLiteral("\r\n");
    const QString com = QStringLiteral("COM");
    if (wholeSms) {
        const QString text =
            com + sequence + separator + replyField1 + separator + smsText + separator;
        return {text + crlf, text};
    }
    return {com + QString::number(rowPosition) + separator + replyField1 + separator + code + crlf,
            com + sequence + separator + replyField1 + separator + code + separator};
}

ForwardingController::ForwardingController(const Widgets& widgets, QObject* parent)
    : QObject(parent), widgets_(widgets) {
    widgets_.captureBox->installEventFilter(this);
}

void ForwardingController::ForwardReceivedSms(int rowPosition, const QString& sequence,
                                              const QString& replyField1, const QString& smsText,
                                              const QString& code) {
    if (state_ != kRunning) {
        return;
    }
    // The choice and the separator as they stand now; the user may change them any time.
    const bool wholeSms = ReadOnUiThread([this] { return widgets_.wholeSms->isChecked(); });
    const QString separator = ReadOnUiThread([this] { return widgets_.separator->text(); });
    const ForwardedSms sms =
        BuildForwardedSms(wholeSms, separator, rowPosition, sequence, replyField1, smsText, code);

    RunOnUiThread([this, &sms] {
        // The box shows lines; the line's CR LF breaks become its own.
        QString shown = sms.logLine;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QTextCursor end(widgets_.log->document());
        end.movePosition(QTextCursor::End);
        end.insertText(shown);
    });
    Input().TypeText(target_, sms.typedText);
    Input().PressKey(target_, kEnterKey, kShiftKey);
    Input().PressKey(target_, kEnterKey, 0);
}

void ForwardingController::TypeNumberLines(const QStringList& lines) {
    for (const QString& line : lines) {
        PumpDelay(500);
        // Shift+Enter alone ends the line: typing the line's own CR LF as well would put
        // an empty line between the numbers.
        Input().TypeText(target_, line);
        Input().PressKey(target_, kEnterKey, kShiftKey);
    }
    Input().PressKey(target_, kEnterKey, 0);
}

void ForwardingController::BeginCapture() {
    // A second press while dragging (its release went elsewhere) would keep the empty box as
    // the picture to put back.
    if (capturing_) {
        return;
    }
    capturing_ = true;
    // The cross-hair seems to leave the box with the pointer.
    picture_ = widgets_.captureBox->pixmap();
    widgets_.captureBox->setPixmap(QPixmap());
    widgets_.captureBox->setCursor(widgets_.crossHair);
    // Every move is reported to the box wherever the pointer is on the screen.
    widgets_.captureBox->grabMouse(widgets_.crossHair);
}

void ForwardingController::TrackPointer(const QPoint& globalPos) {
    if (!capturing_) {
        return;
    }
    const WindowHandle window = Picker().WindowAt(globalPos);
    widgets_.handleBox->setText(QString::number(window));
    widgets_.titleBox->setText(Picker().Title(window));
    target_ = widgets_.handleBox->text().toULongLong();
}

void ForwardingController::EndCapture() {
    if (!capturing_) {
        return;
    }
    widgets_.captureBox->releaseMouse();
    capturing_ = false;
    widgets_.captureBox->setCursor(widgets_.pointer);
    widgets_.captureBox->setPixmap(picture_);
}

bool ForwardingController::eventFilter(QObject* watched, QEvent* event) {
    if (watched != widgets_.captureBox) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                BeginCapture();
                return true;
            }
            break;
        case QEvent::MouseMove:
            if (capturing_) {
                TrackPointer(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && capturing_) {
                EndCapture();
                return true;
            }
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace lanxun
