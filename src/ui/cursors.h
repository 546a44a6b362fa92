#pragma once

#include <QCursor>

namespace lanxun {

// The two cursors of the capture box 图片框_捕获鼠标: the cross-hair (hot spot 15, 15), also
// its picture, and the box's own pointer (hot spot 12, 4).
QCursor CaptureCrossHairCursor();
QCursor CapturePointerCursor();

}  // namespace lanxun
