#pragma once

#include <QPoint>
#include <QString>

#include "platform/input_simulator.h"

namespace lanxun {

// Finds the window a person points at on the desktop.
class WindowPicker {
public:
    virtual ~WindowPicker() = default;

    // The top-level window under the screen point `globalPos` (the program's own
    // windows included), or 0 when only the desktop is there.
    virtual WindowHandle WindowAt(const QPoint& globalPos) = 0;

    // The window's title, at most 255 GBK bytes (cut before a character that
    // would pass them); empty for 0 or a window that is gone.
    virtual QString Title(WindowHandle window) = 0;
};

// The process-wide service; a test installs its own (nullptr restores the real one).
WindowPicker& Picker();
void InstallPicker(WindowPicker* service);

// `title` cut to at most `maxBytes` bytes of its GBK form, never inside a character.
QString CutToGbkBytes(const QString& title, int maxBytes);

}  // namespace lanxun
