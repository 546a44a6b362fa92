#pragma once

// What every fuzz target shares: a check that stops the run with the broken
// rule, and the input cut into parts at zero bytes.

#include <QByteArray>
#include <QList>

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)

namespace lanxun::fuzz {

inline QByteArray Bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The input's parts at zero bytes, always `count` of them (missing ones empty,
// the last one takes the rest).
inline QList<QByteArray> Parts(const QByteArray& input, int count) {
    QList<QByteArray> parts;
    qsizetype start = 0;
    for (int i = 0; i < count - 1; ++i) {
        const qsizetype zero = input.indexOf('\0', start);
        if (zero < 0) {
            parts << input.mid(start);
            start = input.size();
        } else {
            parts << input.mid(start, zero - start);
            start = zero + 1;
        }
    }
    parts << input.mid(start);
    return parts;
}

// A header block as the transfer hands it on: curl gives one line per "\n",
// the line loses its line end, status lines and empty lines are left out, and
// each kept line ends in "\r\n".
inline QByteArray HeaderBlock(const QByteArray& raw) {
    QByteArray block;
    for (QByteArray line : raw.split('\n')) {
        while (line.endsWith('\r')) {
            line.chop(1);
        }
        if (!line.isEmpty() && !line.startsWith("HTTP/")) {
            block += line + "\r\n";
        }
    }
    return block;
}

}  // namespace lanxun::fuzz
