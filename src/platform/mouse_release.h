#pragma once

#include <functional>

class QWidget;

namespace lanxun {

// Runs `action` when the left mouse button is released over `widget`: how labels and picture
// boxes, which have no clicked signal, act on a click. The press is left alone.
void OnLeftButtonReleased(QWidget* widget, std::function<void()> action);

}  // namespace lanxun
