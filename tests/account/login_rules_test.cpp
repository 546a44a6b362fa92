#include <gtest/gtest.h>

#include <QString>

#include "account/login_rules.h"

namespace lanxun {
namespace {

const QString kBadCharacter = "用户名不支持中文或字符";
const QString kUserShort = "用户名长度少于6位。";
const QString kPasswordShort = "密码长度少于6位。";
const QString kPasswordLong = "密码长度大于16位。";
const QString kUserLong = "用户长度大于16位。";

QString Repeat(const QString& piece, int times) {
    return piece.repeated(times);
}

TEST(LoginRulesTest, CharacterRuleThenTheFourLengthsInOrder) {
    struct Case {
        QString userName;
        QString password;
        QString message;  // empty: the login goes ahead
    } cases[] = {
        // Boundaries of both boxes.
        {Repeat("a", 6), Repeat("1", 6), ""},
        {Repeat("a", 16), Repeat("1", 16), ""},
        {Repeat("a", 5), Repeat("1", 6), kUserShort},
        {Repeat("a", 17), Repeat("1", 6), kUserLong},
        {Repeat("a", 6), Repeat("1", 5), kPasswordShort},
        {Repeat("a", 6), Repeat("1", 17), kPasswordLong},
        // The order: user short, password short, password long, user long.
        {Repeat("a", 5), Repeat("1", 20), kUserShort},
        {Repeat("a", 5), Repeat("1", 3), kUserShort},
        {Repeat("a", 17), Repeat("1", 5), kPasswordShort},
        {Repeat("a", 17), Repeat("1", 17), kPasswordLong},
        {"", "", kUserShort},  // an empty name passes the character rule
        // The character rule comes first and knows digits, letters, "@" and ".".
        {"User.Name@QQ9", "secret", ""},
        {"用户", "", kBadCharacter},
        {"abc用户def", Repeat("1", 6), kBadCharacter},
        {"abc_def", Repeat("1", 6), kBadCharacter},
        {"abc&def", Repeat("1", 6), kBadCharacter},
        {"abc#def", Repeat("1", 6), kBadCharacter},
        {"abc|def", Repeat("1", 6), kBadCharacter},
        {"abc def", Repeat("1", 6), kBadCharacter},  // spaces are removed before the rules
        {QString("abc") + QChar(0x3000) + "def", Repeat("1", 6), kBadCharacter},
        {QString("abcdef") + QStringLiteral("\U0001F600"), Repeat("1", 6), kBadCharacter},
        // A Chinese character of the password counts two bytes.
        {Repeat("a", 6), "密码ab", ""},
        {Repeat("a", 6), "密码a", kPasswordShort},
        {Repeat("a", 6), Repeat("密", 8), ""},
        {Repeat("a", 6), Repeat("密", 8) + "a", kPasswordLong},
        // The password's characters are not judged.
        {Repeat("a", 6), "a&b#c|d", ""},
        {Repeat("a", 6), QString("pass") + QChar(0x3000) + "wd", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LoginInputError(c.userName, c.password), c.message)
            << c.userName.toStdString() << " / " << c.password.toStdString();
    }
}

TEST(LoginRulesTest, OnlyAsciiSpacesAreRemoved) {
    EXPECT_EQ(RemoveSpaces(" de mo 01 "), "demo01");
    const QString fullWidth = QString("de") + QChar(0x3000) + "mo";
    EXPECT_EQ(RemoveSpaces(fullWidth), fullWidth);
    EXPECT_EQ(RemoveSpaces("a\tb"), "a\tb");
}

}  // namespace
}  // namespace lanxun
