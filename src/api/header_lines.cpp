#include "api/header_lines.h"

#include "platform/gbk.h"

namespace lanxun {

qsizetype FindHeaderLine(const QByteArray& headers, const char* name, qsizetype from) {
    for (qsizetype p = GbkIndexOf(headers, name, from, Qt::CaseInsensitive); p >= 0;
         p = GbkIndexOf(headers, name, p + 1, Qt::CaseInsensitive)) {
        if (p == 0 || headers[p - 1] == '\n') {
            return p;
        }
    }
    return -1;
}

}  // namespace lanxun
