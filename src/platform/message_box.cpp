#include "platform/message_box.h"

#include <QMessageBox>
#include <QPointer>

#include "platform/on_ui_thread.h"
#include "platform/service_slot.h"

namespace lanxun {
namespace {

// A text longer than this is cut for its box: a platform reply that size is no
// message, and laying out megabytes of text would freeze the window.
constexpr qsizetype kLongestShownText = 4000;

QString ShownText(const QString& text) {
    if (text.size() <= kLongestShownText) {
        return text;
    }
    qsizetype end = kLongestShownText;
    // Never split a character that takes two UTF-16 units.
    if (text.at(end - 1).isHighSurrogate()) {
        --end;
    }
    return text.left(end) + QStringLiteral("…");
}

class RealMessageBoxes final : public MessageBoxService {
public:
    bool Show(const Message& message) override {
        QMessageBox box(message.parent);
        box.setWindowTitle(message.title);
        // A reply that looks like HTML (a proxy's error page) is shown as it came.
        box.setTextFormat(Qt::PlainText);
        box.setText(message.text);
        box.setIcon(message.icon == MessageIcon::Question ? QMessageBox::Question
                                                          : QMessageBox::NoIcon);
        switch (message.buttons) {
            case MessageButtons::Ok:
                box.setStandardButtons(QMessageBox::Ok);
                break;
            case MessageButtons::YesNo:
                box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
                break;
            case MessageButtons::OkCancel:
                box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
                break;
        }
        const int answer = box.exec();
        return answer == QMessageBox::Ok || answer == QMessageBox::Yes;
    }
};

constinit ServiceSlot<MessageBoxService, RealMessageBoxes> slot;

}  // namespace

QString MessageBoxService::DefaultTitle() {
    return QStringLiteral("信息：");
}

bool MessageBoxService::ShowOnUiThread(const Message& message) {
    bool answer = false;
    // A parent that went away while the worker waited is dropped, not used.
    QPointer<QWidget> parent = message.parent;
    RunOnUiThread([&] {
        Message shown = message;
        shown.parent = parent.data();
        shown.text = ShownText(message.text);
        answer = Show(shown);
    });
    return answer;
}

void MessageBoxService::Information(QWidget* parent, const QString& text, const QString& title) {
    ShowOnUiThread({parent, text, title, MessageButtons::Ok, MessageIcon::Question});
}

bool MessageBoxService::YesNo(QWidget* parent, const QString& text, const QString& title,
                              MessageIcon icon) {
    return ShowOnUiThread({parent, text, title, MessageButtons::YesNo, icon});
}

bool MessageBoxService::OkCancel(QWidget* parent, const QString& text, const QString& title,
                                 MessageIcon icon) {
    return ShowOnUiThread({parent, text, title, MessageButtons::OkCancel, icon});
}

void MessageBoxService::Plain(QWidget* parent, const QString& text, const QString& title) {
    ShowOnUiThread({parent, text, title, MessageButtons::Ok, MessageIcon::None});
}

MessageBoxService& MessageBoxes() {
    return slot.Get();
}

void InstallMessageBoxes(MessageBoxService* service) {
    slot.Install(service);
}

}  // namespace lanxun
