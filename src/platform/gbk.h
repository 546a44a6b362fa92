#pragma once

// GBK (code page 936) at the program's edges: the wire, the table store's files
// and the byte counts of the length rules. Inside the program every text is a
// QString.

#include <QByteArray>
#include <QString>

namespace lanxun {

// Characters GBK cannot encode become "?".
QByteArray ToGbk(const QString& text);

// Invalid bytes (and a lead byte cut off at the end) each become U+FFFD; the
// rest of the text is still decoded.
QString FromGbk(const QByteArray& bytes);

// The text up to the first zero byte, decoded.
QString FromGbkUntilZero(const QByteArray& bytes);

// Length of the GBK form in bytes (a Chinese character counts 2).
int GbkByteLength(const QString& text);

// The one GBK character rule of the program: a lead byte (0x81..0xFE)
// followed by a trail byte (0x40..0xFE but 0x7F) is one character of 2 bytes;
// every other byte stands alone. Byte length of the character at `i`
// (0 <= i < size).
int GbkCharLength(const QByteArray& bytes, qsizetype i);

// Blanks are the ASCII space and the full-width space (bytes A1 A1). Byte
// length of the blank at `i`, or 0 when no blank starts there.
int GbkBlankLength(const QByteArray& bytes, qsizetype i);

// The bytes without their leading blanks; and without leading and trailing ones.
QByteArray GbkTrimLeadingBlanks(const QByteArray& bytes);
QByteArray GbkTrimBlanks(const QByteArray& bytes);

// Index of the first byte of a GBK character at which `needle` starts, at or
// after `from`, or -1. The search steps over double-byte characters, so a match
// never starts on the second byte of one. `cs` compares ASCII letters only.
qsizetype GbkIndexOf(const QByteArray& haystack, const QByteArray& needle, qsizetype from = 0,
                     Qt::CaseSensitivity cs = Qt::CaseSensitive);

}  // namespace lanxun
