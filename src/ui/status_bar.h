#pragma once

#include <span>

class QLabel;
class QStatusBar;

namespace lanxun {

// A status bar's text parts: QLabels of fixed widths, left to right. Adding them twice does
// nothing.
void AddStatusParts(QStatusBar* bar, std::span<const int> widths);

// Part `index`; nullptr when the bar has no such part.
QLabel* StatusPart(QStatusBar* bar, int index);

}  // namespace lanxun
