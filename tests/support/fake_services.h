#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <deque>
#include <functional>
#include <vector>

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/modal_opener.h"
#include "platform/process.h"
#include "platform/shell_open.h"

class QWidget;

namespace lanxun::test {

// Records every message box and answers it without showing anything.
class RecordingMessageBoxes : public MessageBoxService {
public:
    bool Show(const Message& message) override;

    // Answers given in turn; when they run out, `defaultAnswer`.
    std::deque<bool> answers;
    bool defaultAnswer = true;
    // Runs while the box would be open (the box's parent is still alive).
    std::function<void(const Message&)> onShow;

    std::vector<Message> shown;
    QStringList Texts() const;
};

class FakeClipboard : public ClipboardService {
public:
    void SetText(const QString& text) override { text_ = text; }
    QString Text() override { return text_; }

private:
    QString text_;
};

class RecordingShell : public ShellService {
public:
    bool Open(const QUrl& url) override {
        opened.push_back(url);
        return result;
    }
    std::vector<QUrl> opened;
    bool result = true;
};

// Time runs `factor` times faster than real time: a delay of `factor` ms takes
// one real millisecond, and Now() moves on accordingly. Ticks(), which the request
// time-outs count, run at real speed unless a test asks for fast ones: a request
// under a sanitizer or a loaded machine must not run out of time because the test
// wanted short pauses.
class FastClock : public Clock {
public:
    enum class TimeOuts { Real, Fast };
    explicit FastClock(qint64 factor, QDateTime start = QDateTime::currentDateTime(),
                       TimeOuts timeOuts = TimeOuts::Real);
    QDateTime Now() const override;
    qint64 Ticks() const override;
    qint64 RealMs(qint64 ms) const override;

private:
    qint64 factor_;
    QDateTime start_;
    TimeOuts timeOuts_;
    QElapsedTimer elapsed_;
};

// Records each modal window, lets the test act on it while it is "open", then
// destroys it (as closing it would) before returning.
class FakeModalWindows : public ModalOpener {
public:
    void OpenModal(QWidget* window) override;

    std::function<void(QWidget*)> onOpen;
    QStringList titles;       // window titles in the order opened
    QStringList objectNames;  // and their object names
};

class RecordingProcessExit : public ProcessExit {
public:
    void EndOwnProcess() override { ++calls; }
    int calls = 0;
};

// Installs every fake above for the lifetime of the object (one per test).
struct FakeServices {
    FakeServices();
    ~FakeServices();
    FakeServices(const FakeServices&) = delete;
    FakeServices& operator=(const FakeServices&) = delete;

    RecordingMessageBoxes messageBoxes;
    FakeClipboard clipboard;
    RecordingShell shell;
    FakeModalWindows modals;
    RecordingProcessExit processExit;
};

// Installs a clock for the lifetime of the object.
class ScopedClock {
public:
    explicit ScopedClock(Clock& clock) { InstallClock(&clock); }
    ~ScopedClock() { InstallClock(nullptr); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
};

}  // namespace lanxun::test
