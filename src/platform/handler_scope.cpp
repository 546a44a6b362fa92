#include "platform/handler_scope.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace lanxun {

// Watches one window's deferred deletions; a child of that window, so it goes with it.
class DeletionGuard : public QObject {
    Q_OBJECT

public:
    explicit DeletionGuard(QWidget* window) : QObject(window), window_(window) {
        setObjectName(QStringLiteral("lanxunDeletionGuard"));
        window->installEventFilter(this);
    }

    static DeletionGuard* Of(const QWidget* window, bool create) {
        if (window == nullptr) {
            return nullptr;
        }
        auto* guard = window->findChild<DeletionGuard*>(QStringLiteral("lanxunDeletionGuard"),
                                                        Qt::FindDirectChildrenOnly);
        if (guard == nullptr && create) {
            guard = new DeletionGuard(const_cast<QWidget*>(window));
        }
        return guard;
    }

    void Enter() { ++running_; }
    void Leave() {
        if (--running_ == 0 && deletionHeld_) {
            deletionHeld_ = false;
            // Still inside the handler's own call stack: deleted from the event loop.
            window_->deleteLater();
            // Qt drops that request when it swallowed the first one here while other events
            // for the window were queued; then this call does it.
            QPointer<DeletionGuard> self(this);
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [self] {
                    if (self) {
                        self->DeleteWindowUnlessRunning();
                    }
                },
                Qt::QueuedConnection);
        }
    }
    void DeleteWindowUnlessRunning() {
        if (running_ > 0) {
            deletionHeld_ = true;  // a new handler began meanwhile: it goes when that returns
            return;
        }
        delete window_;
    }
    int running() const { return running_; }
    bool deletionHeld() const { return deletionHeld_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::DeferredDelete && running_ > 0) {
            deletionHeld_ = true;
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* window_;
    int running_ = 0;
    bool deletionHeld_ = false;
};

HandlerScope::HandlerScope(QWidget* widget)
    : guard_(DeletionGuard::Of(widget ? widget->window() : nullptr, true)) {
    if (guard_) {
        guard_->Enter();
    }
}

HandlerScope::~HandlerScope() {
    if (guard_) {
        guard_->Leave();
    }
}

bool HandlerScope::WindowClosing() const {
    return guard_ && guard_->deletionHeld();
}

bool HandlerScope::Running(const QWidget* widget) {
    const DeletionGuard* guard = DeletionGuard::Of(widget ? widget->window() : nullptr, false);
    return guard != nullptr && guard->running() > 0;
}

}  // namespace lanxun

#include "handler_scope.moc"
