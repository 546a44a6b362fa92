#pragma once

#include <QPointer>

class QWidget;

namespace lanxun {

class DeletionGuard;

// Marks a handler of a window that waits (a platform request, PumpDelay). While any such
// handler of the window runs, the window is not deleted under it: a deletion that arrives
// meanwhile (the close box, a close with WA_DeleteOnClose, deleteLater) is held back and
// carried out when the outermost of them returns. Every handler that waits takes one:
//
//   void LoginWindow::LogIn() {
//       HandlerScope running(this);
//       const bool loggedIn = controller_->Login();  // waits for the reply
//       if (running.WindowClosing()) return;          // nothing more opens
//       ...
//   }
//
// Any widget of the window will do; the guard is on its top-level window. UI thread only.
class HandlerScope {
public:
    explicit HandlerScope(QWidget* widget);
    ~HandlerScope();

    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

    // True once the window has been asked to go while the handler waited; it goes when the
    // outermost handler returns, so the handler should only wind up.
    bool WindowClosing() const;

    // True while a handler of `widget`'s window runs.
    static bool Running(const QWidget* widget);

private:
    QPointer<DeletionGuard> guard_;
};

}  // namespace lanxun
