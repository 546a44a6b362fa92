#include "support/fake_services.h"

#include <QPointer>
#include <QWidget>

namespace lanxun::test {

bool RecordingMessageBoxes::Show(const Message& message) {
    shown.push_back(message);
    if (onShow) {
        onShow(message);
    }
    if (answers.empty()) {
        return defaultAnswer;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

QStringList RecordingMessageBoxes::Texts() const {
    QStringList texts;
    for (const Message& message : shown) {
        texts << message.text;
    }
    return texts;
}

FastClock::FastClock(qint64 factor, QDateTime start, TimeOuts timeOuts)
    : factor_(std::max<qint64>(1, factor)), start_(std::move(start)), timeOuts_(timeOuts) {
    elapsed_.start();
}

QDateTime FastClock::Now() const {
    return start_.addMSecs(elapsed_.elapsed() * factor_);
}

qint64 FastClock::Ticks() const {
    return timeOuts_ == TimeOuts::Fast ? elapsed_.elapsed() * factor_ : elapsed_.elapsed();
}

qint64 FastClock::RealMs(qint64 ms) const {
    return (ms + factor_ - 1) / factor_;
}

void FakeModalWindows::OpenModal(QWidget* window) {
    if (!window) {
        return;
    }
    titles << window->windowTitle();
    objectNames << window->objectName();
    QPointer<QWidget> guard = window;
    if (onOpen) {
        onOpen(window);
    }
    delete guard.data();
}

FakeServices::FakeServices() {
    InstallMessageBoxes(&messageBoxes);
    InstallClipboard(&clipboard);
    InstallShell(&shell);
    InstallModalWindows(&modals);
    InstallProcessExit(&processExit);
}

FakeServices::~FakeServices() {
    InstallMessageBoxes(nullptr);
    InstallClipboard(nullptr);
    InstallShell(nullptr);
    InstallModalWindows(nullptr);
    InstallProcessExit(nullptr);
}

}  // namespace lanxun::test
