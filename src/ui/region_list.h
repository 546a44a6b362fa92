#pragma once

#include <QString>
#include <QStringList>

namespace lanxun {

// The region pickers' entries after "默认", as one text of CR LF separated
// lines. "辽宁" stands twice; the pickers keep both.
QString RegionText();

// "默认" followed by the entries of RegionText(): the 34 items of each picker.
QStringList RegionPickerItems();

}  // namespace lanxun
