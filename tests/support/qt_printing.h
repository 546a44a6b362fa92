#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

// Readable failure messages for Qt texts: texts as UTF-8, lists joined by " | ",
// bytes in hexadecimal.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* os) {
    *os << '"' << texts.join(QStringLiteral(" | ")).toStdString() << '"';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << bytes.toHex(' ').toStdString();
}
