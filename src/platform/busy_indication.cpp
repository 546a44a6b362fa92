#include "platform/busy_indication.h"

#include <QApplication>
#include <QProgressBar>
#include <QWidget>

#include "platform/clock.h"
#include "platform/on_ui_thread.h"

namespace lanxun {

BusyIndication::BusyIndication(QWidget* window, QProgressBar* bar) : window_(window), bar_(bar) {
    // The pointers are read on the UI thread only, where the widgets live and die.
    RunOnUiThread([this] {
        if (window_) {
            QWidget* focused = QApplication::focusWidget();
            if (focused && window_->isAncestorOf(focused)) {
                focus_ = focused;
            }
            window_->setEnabled(false);
        }
        if (bar_) {
            bar_->setRange(0, 100);
            bar_->show();
        }
    });
    for (int step : kSteps) {
        RunOnUiThread([this, step] {
            if (bar_) {
                bar_->setValue(step);
            }
        });
        PumpDelay(kStepDelayMs);
    }
}

BusyIndication::~BusyIndication() {
    RunOnUiThread([this] {
        if (bar_) {
            bar_->hide();
        }
        if (window_) {
            window_->setEnabled(true);
        }
        if (focus_ && focus_->isEnabled()) {
            focus_->setFocus(Qt::OtherFocusReason);
        }
    });
}

}  // namespace lanxun
