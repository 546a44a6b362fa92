#pragma once

#include <QCursor>
#include <QString>

class QLabel;
class QStatusBar;
class QTimer;
class QWidget;

namespace lanxun {

// Registers the forms' pictures (title boxes, banner, cursors). FramelessWindow does this;
// code that runs a form's setupUi on a plain QWidget calls it first.
void LoadFormResources();

// Completes a form right after its setupUi, with what a Designer form cannot hold:
//  - list views get the column widths of their "columnWidths" property;
//  - page controls marked "pageHeadersHidden" lose their page headers (the client selects
//    pages itself);
//  - widgets marked "transparentForMouse" let clicks through to what lies below;
//  - the form's timers (below) are created, stopped;
//  - the main form gets its pop-up menus (ui/menus.h), its five status bar parts and the
//    maker's line of 透明标签19.
// Forms are recognised by their class names (the top-level objectName setupUi gives).
void FinishForm(QWidget* form);

// The timers of the forms, created by FinishForm as children of the form window:
//   LoginForm  时钟1  interval set at start-up (deletes the update leftover)
//   UpdateForm 时钟1  ticks the self-update
//   MainForm   时钟1  interval 0, never started
QTimer* FormTimer(QWidget* form, const QString& name);

// The status bar 状态条1 of the main form has five parts, QLabels of fixed widths
// 180, 150, 180, 100 and 420.
inline constexpr int kStatusPartCount = 5;
QLabel* StatusPart(QStatusBar* bar, int index);

// The two cursors of the capture box 图片框_捕获鼠标: the cross-hair (hot spot 15, 15), also
// its picture, and the box's own pointer (hot spot 12, 4).
QCursor CaptureCrossHairCursor();
QCursor CapturePointerCursor();

}  // namespace lanxun
