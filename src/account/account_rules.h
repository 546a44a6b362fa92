#pragma once

// The input rules of registration and of the account-maintenance windows. Each
// returns the message of the first rule broken, or an empty text when the input
// passes. Lengths are GBK bytes of the texts as given (blanks already removed).

#include <QString>
#include <QStringList>

#include "api/endpoints.h"

namespace lanxun {

// The four security questions, in the order the windows offer them.
QStringList SecurityQuestions();

// Registration: the user name's characters, then the lengths in the order the
// window checks them, then QQ, legal name and Alipay account.
QString RegistrationInputError(const Registration& registration, const QString& confirmation);

// "修改密码": answer, new password (6 to 15 bytes), confirmation.
QString ChangePasswordInputError(const QString& answer, const QString& newPassword,
                                 const QString& confirmation);

// "安全设置": old answer, new answer.
QString ChangeSecurityInputError(const QString& oldAnswer, const QString& newAnswer);

// "个人信息": answer, contact QQ (6 bytes, or a value of at least 100000), legal name,
// Alipay account.
QString ChangeProfileInputError(const QString& answer, const QString& contactQq,
                                const QString& legalName, const QString& alipayAccount);

}  // namespace lanxun
