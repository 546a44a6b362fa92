#pragma once

#include <QString>

namespace lanxun {

// The text with every ASCII space (code 32) removed; other blanks stay.
QString RemoveSpaces(const QString& text);

// The rules a login's user name and password must pass before anything is sent,
// checked in this order: the user name holds only digits, ASCII letters, "@" and
// "."; then, counted in GBK bytes, user name at least 6, password at least 6,
// password at most 16, user name at most 16. Returns the message of the first
// rule broken, or an empty text when both pass.
QString LoginInputError(const QString& userName, const QString& password);

}  // namespace lanxun
