#include "account/account_rules.h"

#include "api/protocol.h"
#include "platform/gbk.h"

namespace lanxun {

namespace {

constexpr int kMinRegistrationLength = 6;
constexpr int kMaxRegistrationLength = 16;
constexpr int kMinAnswerLength = 3;
constexpr int kMinRegistrationQqLength = 5;
constexpr int kMinPasswordLength = 6;
constexpr int kMaxNewPasswordLength = 15;
constexpr int kMinProfileQqLength = 6;
constexpr int kMinProfileQqValue = 100000;

// Judged on the GBK bytes with capitals lowered, as at login: any byte of a
// Chinese character (or of the "?" an unencodable one becomes) is refused.
bool AllowedUserNameByte(char byte) {
    const char c = (byte >= 'A' && byte <= 'Z') ? char(byte - 'A' + 'a') : byte;
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || c == '@' || c == '.';
}

}  // namespace

QStringList SecurityQuestions() {
    return {QStringLiteral("你初中的老师叫什么？"), QStringLiteral("你喜欢的颜色？"),
            QStringLiteral("你小学的学号是多少？"), QStringLiteral("你的梦想是什么？")};
}

QString RegistrationInputError(const Registration& r, const QString& confirmation) {
    for (char byte : ToGbk(r.userName)) {
        if (!AllowedUserNameByte(byte)) {
            return QStringLiteral("注册不支持中文或字符");
        }
    }
    const int userName = GbkByteLength(r.userName);
    const int password = GbkByteLength(r.password);
    const int confirmed = GbkByteLength(confirmation);
    if (userName < kMinRegistrationLength) {
        return QStringLiteral("用户名长度必须大于6位。");
    }
    if (password < kMinRegistrationLength) {
        return QStringLiteral("密码长度必须大于6位。");
    }
    if (confirmed < kMinRegistrationLength) {
        return QStringLiteral("确认密码长度必须大于6位。");
    }
    if (r.password != confirmation) {
        return QStringLiteral("密码与确认密码不一致。");
    }
    if (GbkByteLength(r.securityAnswer) < kMinAnswerLength) {
        return QStringLiteral("安全答案必须大于3位。");
    }
    if (userName > kMaxRegistrationLength) {
        return QStringLiteral("用户名长度不能超过16位。");
    }
    if (password > kMaxRegistrationLength) {
        return QStringLiteral("密码长度不能超过16位。");
    }
    if (confirmed > kMaxRegistrationLength) {
        return QStringLiteral("确认密码长度不能超过16位。");
    }
    if (GbkByteLength(r.contactQq) < kMinRegistrationQqLength) {
        return QStringLiteral("QQ号位数必须大于6位");
    }
    if (r.legalName.isEmpty()) {
        return QStringLiteral("请输入支付宝姓名[用于开发者提现]");
    }
    if (r.alipayAccount.isEmpty()) {
        return QStringLiteral("请输入支付宝账号[用于开发者提现]");
    }
    return {};
}

QString ChangePasswordInputError(const QString& answer, const QString& newPassword,
                                 const QString& confirmation) {
    if (answer.isEmpty()) {
        return QStringLiteral("请输入安全答案");
    }
    const int length = GbkByteLength(newPassword);
    if (length < kMinPasswordLength || length > kMaxNewPasswordLength) {
        return QStringLiteral("新密码长度不够或新密码长度过长");
    }
    if (GbkByteLength(confirmation) < kMinPasswordLength) {
        return QStringLiteral("确认码长度不够");
    }
    if (confirmation != newPassword) {
        return QStringLiteral("输入的新密码与确认码不一致");
    }
    return {};
}

QString ChangeSecurityInputError(const QString& oldAnswer, const QString& newAnswer) {
    if (oldAnswer.isEmpty()) {
        return QStringLiteral("请输入旧的安全答案");
    }
    if (newAnswer.isEmpty()) {
        return QStringLiteral("请输入新的安全答案");
    }
    return {};
}

QString ChangeProfileInputError(const QString& answer, const QString& contactQq,
                                const QString& legalName, const QString& alipayAccount) {
    if (answer.isEmpty()) {
        return QStringLiteral("请输入安全答案");
    }
    if (GbkByteLength(contactQq) < kMinProfileQqLength &&
        ReadInteger(contactQq) < kMinProfileQqValue) {
        return QStringLiteral("请输入正确的联系QQ");
    }
    if (legalName.isEmpty()) {
        return QStringLiteral("请输入真实姓名");
    }
    if (alipayAccount.isEmpty()) {
        return QStringLiteral("请输入支付宝");
    }
    return {};
}

}  // namespace lanxun
