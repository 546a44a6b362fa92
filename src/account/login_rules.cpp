#include "account/login_rules.h"

#include "platform/gbk.h"

namespace lanxun {

namespace {

constexpr int kMinLength = 6;
constexpr int kMaxLength = 16;

// Judged on the GBK bytes with capitals lowered: any byte of a Chinese character
// (or of a "?" that stands for an unencodable one) is outside the set.
bool AllowedUserNameByte(char byte) {
    const char c = (byte >= 'A' && byte <= 'Z') ? char(byte - 'A' + 'a') : byte;
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || c == '@' || c == '.';
}

}  // namespace

QString RemoveSpaces(const QString& text) {
    QString result = text;
    result.remove(u' ');
    return result;
}

QString LoginInputError(const QString& userName, const QString& password) {
    const QByteArray userBytes = ToGbk(userName);
    for (char byte : userBytes) {
        if (!AllowedUserNameByte(byte)) {
            return QStringLiteral("用户名不支持中文或字符");
        }
    }
    const int userLength = int(userBytes.size());
    const int passwordLength = GbkByteLength(password);
    if (userLength < kMinLength) {
        return QStringLiteral("用户名长度少于6位。");
    }
    if (passwordLength < kMinLength) {
        return QStringLiteral("密码长度少于6位。");
    }
    if (passwordLength > kMaxLength) {
        return QStringLiteral("密码长度大于16位。");
    }
    if (userLength > kMaxLength) {
        return QStringLiteral("用户长度大于16位。");
    }
    return {};
}

}  // namespace lanxun
