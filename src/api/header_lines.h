#pragma once

// Finding a header in a response's header block (GBK bytes, "Name: value\r\n" lines).

#include <QByteArray>

namespace lanxun {

// Position of `name` (for example "Location:") at the start of a line, found
// without regard to letter case, at or after `from`; -1 when there is none.
// At a line start only, so that "Content-Location:" is not taken for "Location:".
qsizetype FindHeaderLine(const QByteArray& headers, const char* name, qsizetype from = 0);

}  // namespace lanxun
