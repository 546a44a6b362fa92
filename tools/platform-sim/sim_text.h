#pragma once

// Text helpers of the sim: the platform speaks GBK while the sources and the
// client's escaped URLs carry UTF-8.

#include <string>

namespace platformsim {

// Converts UTF-8 to GBK (code page 936). False when the input is not valid
// UTF-8 or holds a character GBK cannot show; `out` is then unchanged.
bool TryUtf8ToGbk(const std::string& utf8, std::string& out);
// For the sim's own literals, which are always convertible.
std::string Gbk(const std::string& utf8);
std::string GbkToUtf8(const std::string& gbk);
// Replaces every %XX by its byte; a "%" without two hex digits stays as it is.
std::string PercentDecode(const std::string& text);
std::string Base64(const std::string& bytes);

}  // namespace platformsim
