#pragma once

#include <QString>
#include <cstdint>

namespace lanxun {

// A top-level window of any program on the desktop: on X11 the window ID of its
// client window (never the window manager's frame). 0 is no window.
using WindowHandle = std::uint64_t;

// The modifier mask of PressKey; several may be added.
enum KeyModifier { kAltKey = 1, kCtrlKey = 2, kShiftKey = 4 };

// The key code of Enter, as the callers name it (the Windows virtual-key code).
constexpr int kEnterKey = 13;

// Acts on another program's window as a person at the keyboard would: the window
// is raised and given the focus, then the keys are typed into it. Callable from
// any thread; calls from several threads at once are served one at a time, so
// each call's keys arrive together. While a call waits (for the focus, for the
// target to keep up) a UI thread keeps handling its window messages.
//
// No window (0), a window that no longer exists or one that cannot get the focus
// receives nothing, and no other window does instead. When the target goes away
// in the middle, typing stops at the next key.
class InputSimulator {
public:
    virtual ~InputSimulator() = default;

    // Types `text` into `window`'s input. A line break (CR LF, CR or LF) is typed
    // as Shift+Enter, a break inside the message that never sends it; other control
    // characters are not typed. True when every key was delivered.
    virtual bool TypeText(WindowHandle window, const QString& text) = 0;

    // Presses the modifiers of `modifiers` (KeyModifier), then the key `keyCode`
    // (1 to 256, Windows virtual-key codes: 13 Enter, 9 Tab, 27 Esc, digits, letters,
    // F1..F12, arrows...) and releases them again; returns when the press is done.
    virtual bool PressKey(WindowHandle window, int keyCode, int modifiers) = 0;
};

// The process-wide service; a test installs its own (nullptr restores the real one).
InputSimulator& Input();
void InstallInput(InputSimulator* service);

}  // namespace lanxun
