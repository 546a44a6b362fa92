#include "platform/mouse_release.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace lanxun {

namespace {

// A child of the widget it watches, so it goes with it.
class ReleaseWatcher : public QObject {
public:
    ReleaseWatcher(QWidget* widget, std::function<void()> action)
        : QObject(widget), action_(std::move(action)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parent() && event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            action_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> action_;
};

}  // namespace

void OnLeftButtonReleased(QWidget* widget, std::function<void()> action) {
    if (widget != nullptr && action) {
        new ReleaseWatcher(widget, std::move(action));
    }
}

}  // namespace lanxun
