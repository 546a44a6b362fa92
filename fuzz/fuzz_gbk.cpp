// GBK decoding and its character rules, and the value encoding of requests.

#include "api/protocol.h"
#include "fuzz_check.h"
#include "platform/gbk.h"

using namespace lanxun;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::Bytes(data, size);

    const QString text = FromGbk(bytes);
    const qsizetype zero = bytes.indexOf('\0');
    FUZZ_CHECK(FromGbkUntilZero(bytes) == FromGbk(zero < 0 ? bytes : bytes.left(zero)));

    // The character walk steps over every byte exactly once and never past the end.
    qsizetype characters = 0;
    for (qsizetype i = 0; i < bytes.size();) {
        const int length = GbkCharLength(bytes, i);
        FUZZ_CHECK(length == 1 || length == 2);
        FUZZ_CHECK(i + length <= bytes.size());
        const int blank = GbkBlankLength(bytes, i);
        FUZZ_CHECK(blank == 0 || blank == length);
        i += length;
        ++characters;
    }
    // Every character decodes to one UTF-16 unit at least, and a bad byte to U+FFFD.
    FUZZ_CHECK(text.size() >= characters);

    const QByteArray trimmed = GbkTrimBlanks(bytes);
    const QByteArray leading = GbkTrimLeadingBlanks(bytes);
    FUZZ_CHECK(bytes.endsWith(leading));
    FUZZ_CHECK(leading.startsWith(trimmed));

    // The encoder's length rule is the length of what it writes, and what GBK
    // holds comes back unchanged.
    const QByteArray encoded = ToGbk(text);
    FUZZ_CHECK(GbkByteLength(text) == encoded.size());
    const QString again = FromGbk(encoded);
    FUZZ_CHECK(ToGbk(again) == encoded);

    // A search finds a match on a character start only, and a real one.
    const QList<QByteArray> parts = fuzz::Parts(bytes, 2);
    const qsizetype from = parts[1].isEmpty() ? 0 : static_cast<uint8_t>(parts[1][0]) % 8;
    const QByteArray needle = parts[1].mid(1);
    for (Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        const qsizetype at = GbkIndexOf(parts[0], needle, from, cs);
        FUZZ_CHECK(at >= -1 && at <= parts[0].size());
        if (at >= 0) {
            FUZZ_CHECK(at + needle.size() <= parts[0].size());
            if (cs == Qt::CaseSensitive) {
                FUZZ_CHECK(parts[0].mid(at, needle.size()) == needle);
            }
        }
    }

    // Every UTF-8 byte as "%XX", and the bytes come back from it.
    const QString percent = PercentEncodeUtf8(text);
    const QByteArray utf8 = text.toUtf8();
    FUZZ_CHECK(percent.size() == utf8.size() * 3);
    FUZZ_CHECK(QByteArray::fromPercentEncoding(percent.toLatin1()) == utf8);
    return 0;
}
