#include "sim_text.h"

#include <iconv.h>
#include <openssl/evp.h>

#include <cerrno>
#include <vector>

namespace platformsim {

namespace {

bool Convert(const char* to, const char* from, const std::string& input, std::string& out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    std::vector<char> buffer(input.size() * 4 + 16);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char* outPtr = buffer.data();
    size_t outLeft = buffer.size();
    size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    bool ok = result != static_cast<size_t>(-1) && inLeft == 0 &&
              iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    if (ok) {
        out.assign(buffer.data(), buffer.size() - outLeft);
    }
    return ok;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

bool TryUtf8ToGbk(const std::string& utf8, std::string& out) {
    return Convert("CP936", "UTF-8", utf8, out);
}

std::string Gbk(const std::string& utf8) {
    std::string out;
    return TryUtf8ToGbk(utf8, out) ? out : utf8;
}

std::string GbkToUtf8(const std::string& gbk) {
    std::string out;
    return Convert("UTF-8", "CP936", gbk, out) ? out : gbk;
}

std::string PercentDecode(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string Base64(const std::string& bytes) {
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                 reinterpret_cast<const unsigned char*>(bytes.data()),
                                 static_cast<int>(bytes.size()));
    out.resize(static_cast<size_t>(length));
    return out;
}

}  // namespace platformsim
