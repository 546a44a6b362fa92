#pragma once

#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "platform/input_simulator.h"
#include "platform/window_picker.h"

namespace lanxun::test {

// These tests need the X display that the suite runs in (xvfb-run); without one they skip.
bool HaveDisplay();

// A window manager on the display for as long as this lives: the one already running,
// or an openbox started here and ended again.
class WindowManager {
public:
    WindowManager();
    ~WindowManager();
    bool Running() const { return running_; }

private:
    // Held open throughout: an X server with no client left resets itself, which would
    // take the manager's state (and any starting client) with it.
    void* connection_ = nullptr;
    std::unique_ptr<QProcess> own_;
    bool running_ = false;
};

// A chat window stand-in in its own process (helpers/key_recorder.cpp) that records every
// key it receives.
class RecorderWindow {
public:
    // `closeAfter` > 0: the window closes itself after that many characters.
    // `at`: where the window asks to be put on the screen; by default clear of the main
    // window, which is centred.
    explicit RecorderWindow(const QString& title, int closeAfter = 0, QPoint at = {900, 20});
    ~RecorderWindow();

    // 0 when the window did not come up.
    WindowHandle handle() const { return handle_; }
    // Everything received so far: characters as typed, "[S-Enter]" and "[Enter]".
    QString Received() const;
    // The file the window writes what it receives to, as UTF-8, for readers of a long run.
    QString LogPath() const { return log_; }
    // Waits (polling, at most 30 s) until exactly `expected` has been received.
    bool WaitForReceived(const QString& expected) const;
    // Waits until at least `length` characters have arrived.
    bool WaitForLength(qsizetype length) const;
    // Closes the window and waits until its process has ended.
    void Close();
    bool WaitForExit();

private:
    QTemporaryDir dir_;
    QString log_;
    QProcess process_;
    WindowHandle handle_ = 0;
};

// The client window's area on the screen.
QRect ScreenRect(WindowHandle window);

// The real pointer, moved and pressed through XTest as a person's hand would.
void MovePointer(const QPoint& globalPos);
void PressLeftButton(bool down);

// Binds every unbound key code to a character, as an earlier run that typed Chinese
// leaves the keyboard; returns the codes bound.
std::vector<unsigned> BindEveryUnboundKeyCode();
void UnbindKeyCodes(const std::vector<unsigned>& codes);

// A picker that always points at one window, for the tests that only need a target.
class FixedPicker : public WindowPicker {
public:
    WindowHandle window = 0;
    QString title;
    WindowHandle WindowAt(const QPoint&) override { return window; }
    QString Title(WindowHandle) override { return title; }
};

}  // namespace lanxun::test
