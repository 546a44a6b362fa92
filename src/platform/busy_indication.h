#pragma once

#include <QPointer>

class QProgressBar;
class QWidget;

namespace lanxun {

// The busy indication of the list tabs, held for as long as a handler loads its list.
// Taking it disables the main window, shows the tab's progress bar and steps it to 20, 40,
// 60, 80 and 100, each step followed by PumpDelay(100); the request goes out after that.
// Letting it go, however the handler leaves (early returns included), hides the bar, enables
// the window again and gives the focus back to the control that had it.
//
//   void RecordsPageController::LoadWithdrawals() {
//       BusyIndication busy(widgets_.window, widgets_.progress);
//       const QString reply = ...;  // the request
//       if (reply.isEmpty()) return;
//       ...
//   }
//
// It works on the UI thread and on a worker (the public docking list loads on one): every
// control access is one call on the UI thread, and the pauses are the worker's.
class BusyIndication {
public:
    static constexpr int kSteps[] = {20, 40, 60, 80, 100};
    static constexpr int kStepDelayMs = 100;

    BusyIndication(QWidget* window, QProgressBar* bar);
    ~BusyIndication();

    BusyIndication(const BusyIndication&) = delete;
    BusyIndication& operator=(const BusyIndication&) = delete;

private:
    QPointer<QWidget> window_;
    QPointer<QProgressBar> bar_;
    // Disabling the window takes the keyboard focus away; it goes back where it was.
    QPointer<QWidget> focus_;
};

}  // namespace lanxun
