#pragma once

#include <QString>

class QWidget;

namespace lanxun {

enum class MessageButtons { Ok, YesNo, OkCancel };
enum class MessageIcon { Question, None };

// One message box as the user is to see it.
struct Message {
    QWidget* parent = nullptr;
    QString text;
    QString title;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::Question;
};

// Every message the client shows goes through this service, so tests can read
// and answer them. The helpers show the text as plain text, cut when it is too
// long to be a message (a platform reply can be anything). They may be called
// from any thread; the box itself is always shown on the UI thread.
class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;

    // Shows the box and waits for the answer: true for OK or Yes.
    virtual bool Show(const Message& message) = 0;

    static QString DefaultTitle();

    // Question-mark icon, one OK button.
    void Information(QWidget* parent, const QString& text, const QString& title = DefaultTitle());
    // Yes and No; true for Yes.
    bool YesNo(QWidget* parent, const QString& text, const QString& title = DefaultTitle(),
               MessageIcon icon = MessageIcon::Question);
    // OK and Cancel; true for OK.
    bool OkCancel(QWidget* parent, const QString& text, const QString& title = DefaultTitle(),
                  MessageIcon icon = MessageIcon::Question);
    // One OK button and no icon, with a title of its own.
    void Plain(QWidget* parent, const QString& text, const QString& title);

private:
    bool ShowOnUiThread(const Message& message);
};

// The process-wide service; a test installs its own (nullptr restores the real one).
MessageBoxService& MessageBoxes();
void InstallMessageBoxes(MessageBoxService* service);

}  // namespace lanxun
