#pragma once

namespace lanxun {

// Registers the forms' pictures (title boxes, banner, cursors). FramelessWindow does this;
// code that runs a form's setupUi on a plain QWidget calls it first.
void LoadFormResources();

}  // namespace lanxun
