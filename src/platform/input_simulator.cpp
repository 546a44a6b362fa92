#include "platform/input_simulator.h"

#include <QList>
#include <algorithm>
#include <chrono>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/clock.h"
#include "platform/on_ui_thread.h"
#include "platform/service_slot.h"
#include "platform/worker.h"
#include "platform/x11_connection.h"

// Xlib last: its macros (Bool, Status, None...) would break Qt's headers.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace lanxun {
namespace {

using SteadyClock = std::chrono::steady_clock;

// A character without a key of its own is typed on a spare key code that is bound to
// it for the time. A target reads the new binding only when it handles the mapping
// change, which may be later than the change itself; so a spare key is never rebound
// until the keys typed on it have had this long to be read.
constexpr auto kSpareKeySettle = std::chrono::milliseconds(250);

// Keysyms of Unicode characters beyond Latin-1, as SymbolOf() makes them.
constexpr KeySym kFirstUnicodeSymbol = 0x01000100;
constexpr KeySym kLastUnicodeSymbol = 0x0110FFFF;

struct SpareKey {
    KeyCode code;
    KeySym symbol;
    SteadyClock::time_point lastUsed;
};

// The keyboard mapping is the X server's, shared by every connection: one typing at a
// time, and the spare keys bound so far. They stay bound from one call to the next: a key
// freed and soon bound to another character could still be read with the new binding by
// a target that lags behind.
std::mutex typingMutex;
std::vector<SpareKey> spareKeys;  // guarded by typingMutex

struct KeyStroke {
    KeyCode code = 0;
    bool shift = false;
};

// The server's keyboard mapping as it stands at the start of a call.
class KeyboardMap {
public:
    explicit KeyboardMap(Display* display) : display_(display) {
        XDisplayKeycodes(display, &min_, &max_);
        KeySym* syms = XGetKeyboardMapping(display, KeyCode(min_), max_ - min_ + 1, &perCode_);
        if (syms) {
            syms_.assign(syms, syms + (max_ - min_ + 1) * perCode_);
            XFree(syms);
        }
        // Keep the spare keys whose binding is still ours (a layout change drops them).
        std::erase_if(spareKeys,
                      [this](const SpareKey& key) { return Sym(key.code, 0) != key.symbol; });
    }

    // A key that types `symbol` without any spare binding.
    std::optional<KeyStroke> Native(KeySym symbol) const {
        for (int code = min_; code <= max_; ++code) {
            if (IsSpare(KeyCode(code))) {
                continue;
            }
            for (int level = 0; level < std::min(perCode_, 2); ++level) {
                if (Sym(KeyCode(code), level) == symbol) {
                    return KeyStroke{KeyCode(code), level == 1};
                }
            }
        }
        return std::nullopt;
    }

    // A key bound to `symbol`: its own key, a spare key already bound, or a spare key
    // bound now. 0 when the keyboard has no key to spare.
    KeyStroke For(KeySym symbol) {
        if (std::optional<KeyStroke> native = Native(symbol)) {
            return *native;
        }
        for (SpareKey& key : spareKeys) {
            if (key.symbol == symbol) {
                key.lastUsed = SteadyClock::now();
                return {key.code, false};
            }
        }
        KeyCode code = FreeCode();
        if (code == 0) {
            if (spareKeys.empty()) {
                return {};
            }
            auto oldest = std::min_element(
                spareKeys.begin(), spareKeys.end(),
                [](const SpareKey& a, const SpareKey& b) { return a.lastUsed < b.lastUsed; });
            const auto settled = oldest->lastUsed + kSpareKeySettle;
            while (SteadyClock::now() < settled) {
                PumpDelay(5);
            }
            code = oldest->code;
            spareKeys.erase(oldest);
        }
        KeySym binding = symbol;
        XChangeKeyboardMapping(display_, code, 1, &binding, 1);
        XSync(display_, False);
        spareKeys.push_back({code, symbol, SteadyClock::now()});
        return {code, false};
    }

private:
    KeySym Sym(KeyCode code, int level) const {
        if (code < min_ || code > max_ || level >= perCode_) {
            return NoSymbol;
        }
        return syms_[(code - min_) * perCode_ + level];
    }

    bool IsSpare(KeyCode code) const {
        return std::any_of(spareKeys.begin(), spareKeys.end(),
                           [code](const SpareKey& key) { return key.code == code; });
    }

    // An unbound key code. The highest one is left to other tools that do the same.
    // Without one, a key code that an earlier run left bound to one character: spare
    // keys stay bound when a run ends, so a long X session would otherwise run out.
    KeyCode FreeCode() const {
        if (KeyCode code = UnboundCode()) {
            return code;
        }
        for (int code = max_; code >= min_; --code) {
            if (!IsSpare(KeyCode(code)) && BoundToOneCharacter(KeyCode(code))) {
                return KeyCode(code);
            }
        }
        return 0;
    }

    // True when every symbol of the key is one and the same Unicode character, the
    // way a spare key is bound; no keyboard layout binds a key like that.
    bool BoundToOneCharacter(KeyCode code) const {
        const KeySym first = Sym(code, 0);
        if (first < kFirstUnicodeSymbol || first > kLastUnicodeSymbol) {
            return false;
        }
        for (int level = 1; level < perCode_; ++level) {
            const KeySym symbol = Sym(code, level);
            if (symbol != NoSymbol && symbol != first) {
                return false;
            }
        }
        return true;
    }

    KeyCode UnboundCode() const {
        bool skippedHighest = false;
        for (int code = max_; code >= min_; --code) {
            bool empty = true;
            for (int level = 0; level < perCode_ && empty; ++level) {
                empty = Sym(KeyCode(code), level) == NoSymbol;
            }
            if (!empty || IsSpare(KeyCode(code))) {
                continue;
            }
            if (!skippedHighest) {
                skippedHighest = true;
                continue;
            }
            return KeyCode(code);
        }
        return 0;
    }

    Display* display_;
    int min_ = 0;
    int max_ = 0;
    int perCode_ = 0;
    std::vector<KeySym> syms_;
};

// The X11 keysym of one character: Latin-1 ones are their own keysym, the rest of
// Unicode lives at 0x01000000 + code point.
KeySym SymbolOf(char32_t c) {
    if ((c >= 0x20 && c <= 0x7E) || (c >= 0xA0 && c <= 0xFF)) {
        return KeySym(c);
    }
    return KeySym(0x01000000 + c);
}

bool IsTyped(char32_t c) {
    const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
    const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
    return !control && !surrogate && c <= 0x10FFFF;
}

std::optional<KeySym> SymbolOfKeyCode(int keyCode) {
    if (keyCode >= '0' && keyCode <= '9') {
        return KeySym(keyCode);
    }
    if (keyCode >= 'A' && keyCode <= 'Z') {
        return KeySym(keyCode - 'A' + 'a');
    }
    if (keyCode >= 0x70 && keyCode <= 0x7B) {
        return KeySym(XK_F1 + (keyCode - 0x70));
    }
    switch (keyCode) {
        case 8:
            return KeySym(XK_BackSpace);
        case 9:
            return KeySym(XK_Tab);
        case 13:
            return KeySym(XK_Return);
        case 27:
            return KeySym(XK_Escape);
        case 32:
            return KeySym(XK_space);
        case 33:
            return KeySym(XK_Prior);
        case 34:
            return KeySym(XK_Next);
        case 35:
            return KeySym(XK_End);
        case 36:
            return KeySym(XK_Home);
        case 37:
            return KeySym(XK_Left);
        case 38:
            return KeySym(XK_Up);
        case 39:
            return KeySym(XK_Right);
        case 40:
            return KeySym(XK_Down);
        case 45:
            return KeySym(XK_Insert);
        case 46:
            return KeySym(XK_Delete);
        default:
            return std::nullopt;
    }
}

bool WorkerStopping() {
    const Worker* worker = Worker::Current();
    return worker && worker->StopRequested();
}

// One call's session with the target: the connection, the focus and the keys.
//
// XTest is driven directly rather than through libxdo: the focus is checked before
// every key, so a target that closes or loses the focus mid-text gets nothing more
// (libxdo types a whole string without looking); a worker's stop ends typing between
// two keys; and characters without a key are bound to spare key codes that stay bound
// until a lagging target has read them, where libxdo rebinds one scratch key at once.
class TypingSession {
public:
    explicit TypingSession(WindowHandle window) : window_(window) {}

    // Takes the typing turn and brings the target to the front with the focus.
    bool Begin() {
        // The UI thread keeps its messages flowing while another thread types.
        if (OnUiThread()) {
            while (!lock_.try_lock()) {
                PumpDelay(5);
            }
        } else {
            lock_.lock();
        }
        if (!connection_.IsOpen() || window_ == 0 || !connection_.Activate(window_)) {
            return false;
        }
        map_.emplace(connection_.display());
        return true;
    }

    // Presses `key` with the modifier keys of `modifiers` held; false when the target no
    // longer has the focus (it closed, or the user moved on), in which case nothing is sent.
    bool Press(KeyStroke key, int modifiers) {
        if (key.code == 0 || WorkerStopping() || !connection_.HasFocus(window_)) {
            return false;
        }
        std::vector<KeyCode> held;
        const auto hold = [&](KeySym symbol) {
            if (std::optional<KeyStroke> modifier = map_->Native(symbol)) {
                held.push_back(modifier->code);
            }
        };
        if (modifiers & kCtrlKey)
            hold(XK_Control_L);
        if (modifiers & kAltKey)
            hold(XK_Alt_L);
        if ((modifiers & kShiftKey) || key.shift)
            hold(XK_Shift_L);
        Display* display = connection_.display();
        for (KeyCode code : held) {
            XTestFakeKeyEvent(display, code, True, CurrentTime);
        }
        XTestFakeKeyEvent(display, key.code, True, CurrentTime);
        XTestFakeKeyEvent(display, key.code, False, CurrentTime);
        for (auto it = held.rbegin(); it != held.rend(); ++it) {
            XTestFakeKeyEvent(display, *it, False, CurrentTime);
        }
        XFlush(display);
        return true;
    }

    bool Type(char32_t c) {
        KeyStroke key = map_->For(SymbolOf(c));
        return Press(key, 0);
    }

    bool PressSymbol(KeySym symbol, int modifiers) {
        std::optional<KeyStroke> key = map_->Native(symbol);
        return key && Press(*key, modifiers);
    }

private:
    WindowHandle window_;
    // Released last, after the connection has sent its last key and closed.
    std::unique_lock<std::mutex> lock_{typingMutex, std::defer_lock};
    X11Connection connection_;
    std::optional<KeyboardMap> map_;
};

class X11InputSimulator final : public InputSimulator {
public:
    bool TypeText(WindowHandle window, const QString& text) override {
        TypingSession session(window);
        if (!session.Begin()) {
            return false;
        }
        const QList<uint> characters = text.toUcs4();
        for (qsizetype i = 0; i < characters.size(); ++i) {
            const char32_t c = characters[i];
            bool sent = true;
            if (c == '\r' || c == '\n') {
                if (c == '\r' && i + 1 < characters.size() && characters[i + 1] == '\n') {
                    ++i;  // CR LF is one break
                }
                sent = session.PressSymbol(XK_Return, kShiftKey);
            } else if (IsTyped(c)) {
                sent = session.Type(c);
            }
            if (!sent) {
                return false;
            }
        }
        return true;
    }

    bool PressKey(WindowHandle window, int keyCode, int modifiers) override {
        const std::optional<KeySym> symbol = SymbolOfKeyCode(keyCode);
        TypingSession session(window);
        return symbol && session.Begin() && session.PressSymbol(*symbol, modifiers);
    }
};

constinit ServiceSlot<InputSimulator, X11InputSimulator> slot;

}  // namespace

InputSimulator& Input() {
    return slot.Get();
}

void InstallInput(InputSimulator* service) {
    slot.Install(service);
}

}  // namespace lanxun
