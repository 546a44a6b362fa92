#pragma once

#include <QString>

class QTimer;
class QWidget;

namespace lanxun {

struct FormDefinition;

// Completes a form right after its setupUi, with what a Designer form cannot hold:
//  - list views get the column widths of their "columnWidths" property;
//  - page controls marked "pageHeadersHidden" lose their page headers (the client selects
//    pages itself);
//  - widgets marked "transparentForMouse" let clicks through to what lies below;
//  - the form's timers, its status bar parts and whatever else its definition names.
// Running it twice adds nothing.
void FinishForm(QWidget* window, const FormDefinition& form);

// A timer FinishForm created on `window`; nullptr when it has none of that name.
QTimer* FormTimer(QWidget* window, const QString& name);

}  // namespace lanxun
