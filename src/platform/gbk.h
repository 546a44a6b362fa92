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

// Index of the first byte of a GBK character at which `needle` starts, at or
// after `from`, or -1. The search steps over double-byte characters, so a match
// never starts on the second byte of one. `cs` compares ASCII letters only.
qsizetype GbkIndexOf(const QByteArray& haystack, const QByteArray& needle, qsizetype from = 0,
                     Qt::CaseSensitivity cs = Qt::CaseSensitive);

}  // namespace lanxun
