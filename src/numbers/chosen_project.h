#pragma once

#include <QString>

class QComboBox;

namespace lanxun {

// The project ID text of the picker's selected item ("[1003]抖音验证 - ..." gives "1003"), read in
// one UI-thread access; empty when nothing is selected, for a placeholder item, and for an ID
// below 1000. Callable on any thread.
QString ChosenProjectId(QComboBox* picker);

}  // namespace lanxun
