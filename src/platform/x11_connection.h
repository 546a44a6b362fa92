#pragma once

#include <QPoint>
#include <QString>

#include "platform/input_simulator.h"

// Xlib's headers define names (None, Bool, Status...) that clash with Qt's, so they stay in
// the .cpp files; here a connection is only a pointer.
typedef struct _XDisplay Display;

namespace lanxun {

// One connection to the X server named by $DISPLAY, opened for one operation and closed
// again, so that threads never share one. An X error on it (a window that is gone) is
// recorded instead of ending the process.
class X11Connection {
public:
    X11Connection();
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    Display* display() const { return display_; }
    bool IsOpen() const { return display_ != nullptr; }

    // Sends what is queued and waits for the server; true when no request since the
    // previous check failed.
    bool SyncWithoutError();

    // The window exists and is shown on the screen.
    bool IsShown(WindowHandle window);
    // The keyboard focus is on `window` or one of its children.
    bool HasFocus(WindowHandle window);
    // Raises `window` and gives it the focus, through the window manager when there is
    // one; true once the focus is there, false when it does not get there in time.
    bool Activate(WindowHandle window);

    // The top-level client window at the screen point, or 0.
    WindowHandle ClientWindowAt(const QPoint& globalPos);
    // Its title, from _NET_WM_NAME (UTF-8) or else WM_NAME.
    QString Title(WindowHandle window);

private:
    WindowHandle FindClient(WindowHandle window, int depth);

    Display* display_ = nullptr;
};

}  // namespace lanxun
