#pragma once

#include <limits>
#include <vector>

namespace lanxun::inventory {

// The windows and controls as the client's user interface defines them: names, kinds, texts,
// items and positions. Written from the window definitions, independently of the forms, so a
// form that drifts from them fails the inventory test.

inline constexpr int kAny = std::numeric_limits<int>::min();

enum class Kind {
    EditBox,        // single- or multi-line
    MultiLineEdit,  // an edit box the definitions call multi-line
    PasswordEdit,   // input masked with "*"
    Button,
    SuperButton,  // flat
    CheckBox,
    RadioButton,
    ComboBox,
    Label,             // plain static text, drawn with its background
    TransparentLabel,  // drawn without background
    PictureBox,
    GroupBox,
    ProgressBar,
    ListView,     // report style, whole-row selection
    PageControl,  // pages in order with their captions
    StatusBar,
};

struct Geometry {
    int x = kAny;
    int y = kAny;
    int width = kAny;
    int height = kAny;
};

struct Column {
    const char* title;
    int width;
};

struct Control {
    const char* name;
    Kind kind;
    const char* text = nullptr;  // nullptr: not checked here; "" must be empty
    Geometry geometry = {};
    const char* container = nullptr;  // nullptr: the window; "name" a group box; "name:N" page N
    bool hidden = false;              // hidden until used
    std::vector<const char*> items = {};  // combo box items, or page captions
    std::vector<Column> columns = {};
};

struct Window {
    const char* form;   // the form's class name
    const char* title;  // window title
    int width;
    int height;
    std::vector<Control> controls;
    // Minimise, maximise/restore and close boxes; empty for the framed update window.
    std::vector<const char*> titleBoxes = {};
    // The form's timers, which exist stopped until their window starts them.
    std::vector<const char*> timers = {};
};

const std::vector<Window>& Windows();

}  // namespace lanxun::inventory
