#include "platform/gbk.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <string>

namespace lanxun {
namespace {

// iconv handles are not thread-safe, so each thread keeps its own pair.
class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (Valid()) {
            iconv_close(handle_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as possible. Returns the bytes consumed; stops at the
    // first byte sequence that cannot be converted (or is incomplete).
    size_t Convert(const char* in, size_t inSize, std::string& out) {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(in);
        size_t inLeft = inSize;
        char buffer[4096];
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t result = iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, outPtr - buffer);
            if (result == static_cast<size_t>(-1) && errno != E2BIG) {
                break;
            }
        }
        return inSize - inLeft;
    }

private:
    iconv_t handle_;
};

Converter& Decoder() {
    thread_local Converter converter("UTF-8", "CP936");
    return converter;
}

Converter& Encoder() {
    thread_local Converter converter("CP936", "UTF-8");
    return converter;
}

// Length of the UTF-8 sequence that starts with `lead` (1 for a stray byte).
int Utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0) {
        return 4;
    }
    if (lead >= 0xE0) {
        return 3;
    }
    if (lead >= 0xC0) {
        return 2;
    }
    return 1;
}

}  // namespace

QByteArray ToGbk(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    Converter& encoder = Encoder();
    if (!encoder.Valid()) {
        return {};
    }
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    const size_t size = utf8.size();
    while (pos < size) {
        pos += encoder.Convert(utf8.constData() + pos, size - pos, out);
        if (pos < size) {
            out.push_back('?');
            pos += Utf8SequenceLength(static_cast<unsigned char>(utf8[pos]));
        }
    }
    return QByteArray(out.data(), static_cast<qsizetype>(out.size()));
}

QString FromGbk(const QByteArray& bytes) {
    Converter& decoder = Decoder();
    if (!decoder.Valid()) {
        return {};
    }
    static const std::string replacement = "\xEF\xBF\xBD";  // U+FFFD
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    size_t pos = 0;
    const size_t size = bytes.size();
    while (pos < size) {
        pos += decoder.Convert(bytes.constData() + pos, size - pos, out);
        if (pos < size) {
            out += replacement;
            ++pos;
        }
    }
    return QString::fromUtf8(out.data(), static_cast<qsizetype>(out.size()));
}

QString FromGbkUntilZero(const QByteArray& bytes) {
    const qsizetype zero = bytes.indexOf('\0');
    return FromGbk(zero < 0 ? bytes : bytes.left(zero));
}

int GbkByteLength(const QString& text) {
    bool ascii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    return static_cast<int>(ascii ? text.size() : ToGbk(text).size());
}

int GbkCharLength(const QByteArray& bytes, qsizetype i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x81 || lead > 0xFE || i + 1 >= bytes.size()) {
        return 1;
    }
    const auto trail = static_cast<unsigned char>(bytes[i + 1]);
    return trail >= 0x40 && trail <= 0xFE && trail != 0x7F ? 2 : 1;
}

int GbkBlankLength(const QByteArray& bytes, qsizetype i) {
    if (bytes[i] == ' ') {
        return 1;
    }
    if (i + 1 < bytes.size() && static_cast<unsigned char>(bytes[i]) == 0xA1 &&
        static_cast<unsigned char>(bytes[i + 1]) == 0xA1) {
        return 2;
    }
    return 0;
}

QByteArray GbkTrimLeadingBlanks(const QByteArray& bytes) {
    qsizetype i = 0;
    while (i < bytes.size()) {
        const int blank = GbkBlankLength(bytes, i);
        if (blank == 0) {
            break;
        }
        i += blank;
    }
    return bytes.mid(i);
}

QByteArray GbkTrimBlanks(const QByteArray& text) {
    const QByteArray bytes = GbkTrimLeadingBlanks(text);
    // Walked character by character, so that the A1 of a character's trail byte
    // and the next lead byte are never taken for a full-width space.
    qsizetype end = 0;
    for (qsizetype i = 0; i < bytes.size();) {
        const int length = GbkCharLength(bytes, i);
        const bool blank = GbkBlankLength(bytes, i) == length;
        i += length;
        if (!blank) {
            end = i;
        }
    }
    return bytes.left(end);
}

qsizetype GbkIndexOf(const QByteArray& haystack, const QByteArray& needle, qsizetype from,
                     Qt::CaseSensitivity cs) {
    const qsizetype n = haystack.size();
    const qsizetype m = needle.size();
    auto byte = [](const QByteArray& bytes, qsizetype i) {
        return static_cast<unsigned char>(bytes[i]);
    };
    // Only letters have a case: the second byte of a double-byte character is
    // compared as it is, even when it has the value of an ASCII letter.
    auto fold = [cs](unsigned char c, bool letterPlace) {
        if (cs == Qt::CaseInsensitive && letterPlace && c >= 'A' && c <= 'Z') {
            return static_cast<unsigned char>(c - 'A' + 'a');
        }
        return c;
    };
    // A byte below 0x40 is never part of a double-byte character, so the
    // walk can start just after the last one before `from` instead of at the
    // start: a scan that moves on through a long text stays linear.
    from = std::max<qsizetype>(from, 0);
    qsizetype i = std::min(from, n);
    while (i > 0 && byte(haystack, i - 1) >= 0x40) {
        --i;
    }
    while (i < n) {
        if (i >= from && i + m <= n) {
            qsizetype k = 0;
            bool trail = false;
            while (k < m && fold(byte(haystack, i + k), !trail) == fold(byte(needle, k), !trail)) {
                const unsigned char c = byte(needle, k);
                trail = !trail && c >= 0x81 && c <= 0xFE;
                ++k;
            }
            if (k == m) {
                return i;
            }
        }
        i += GbkCharLength(haystack, i);
    }
    return -1;
}

}  // namespace lanxun
