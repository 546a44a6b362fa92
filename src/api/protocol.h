#pragma once

// The text rules shared by every platform request and reply: splitting, blanks,
// marker searches, the value encoding and the date-time text.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace lanxun {

// The two blanks of the platform's texts: the ASCII space and the full-width
// space U+3000 (GBK A1 A1).
inline constexpr char16_t kFullWidthSpace = u'\u3000';
bool IsBlank(QChar c);

// Splits `text` at every `separator` (case-sensitive). An empty text gives no
// parts; a separator at the start or two in a row give an empty part; the text
// after the last separator counts only when it is not empty, so a trailing
// separator adds nothing. An empty separator gives the text as one part.
// Matching on whole characters means a separator never matches inside a GBK
// double-byte character.
QStringList SplitText(QStringView text, QStringView separator);

// Removes every blank, wherever it stands.
QString RemoveBlanks(QStringView text);
// Removes blanks at both ends.
QString TrimBlanks(QStringView text);

// The text after the first `left` up to, not including, the next `right`; empty
// when either is missing. Markers are found regardless of letter case.
QString TextBetween(QStringView text, QStringView left, QStringView right);
// The text before the first `marker` (case-sensitive); empty when it is missing.
QString TextBefore(QStringView text, QStringView marker);

// A decimal integer read from the start of `text` the way the platform's numbers
// are read: leading blanks skipped, an optional sign, then digits up to the first
// other character. No digits gives 0; values beyond the int range are clamped.
int ReadInteger(QStringView text);

// Every byte of the UTF-8 form as "%" and two upper-case hex digits, letters
// and digits included ("a1" -> "%61%31", CR LF -> "%0D%0A").
QString PercentEncodeUtf8(QStringView text);

// "2024年3月5日14时7分9秒"; "14时7分" when the seconds are 0, "14时" when minutes
// and seconds are 0, the date alone at midnight. No leading zeros.
QString DateTimeText(const QDateTime& dateTime);
// Reads a text of that form back as a local date-time; an invalid QDateTime when
// the text is not of that form or names no existing date or time.
QDateTime ReadDateTimeText(QStringView text);

}  // namespace lanxun
