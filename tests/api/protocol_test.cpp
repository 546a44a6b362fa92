#include <gtest/gtest.h>

#include "api/protocol.h"

namespace lanxun {
namespace {

struct SplitCase {
    const char16_t* text;
    const char16_t* separator;
    QStringList parts;
};

class SplitTextTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTextTest, FollowsTheSplitRule) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(SplitText(QString::fromUtf16(c.text), QString::fromUtf16(c.separator)), c.parts)
        << QString::fromUtf16(c.text).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitTextTest,
    ::testing::Values(SplitCase{u"", u"|", {}},                            // empty text: no parts
                      SplitCase{u"1|138", u"|", {"1", "138"}},             //
                      SplitCase{u"1", u"|", {"1"}},                        //
                      SplitCase{u"|a", u"|", {"", "a"}},                   // leading separator
                      SplitCase{u"a||b", u"|", {"a", "", "b"}},            // two in a row
                      SplitCase{u"a|b|", u"|", {"a", "b"}},                // trailing adds nothing
                      SplitCase{u"|", u"|", {""}},                         // separators only
                      SplitCase{u"|||", u"|", {"", "", ""}},               //
                      SplitCase{u"a#c-b#c+c", u"#c+", {"a#c-b", "c"}},     // multi-character
                      SplitCase{u"a#c-b#c+c#c+", u"#c+", {"a#c-b", "c"}},  // trailing record marker
                      SplitCase{u"a#C+b", u"#c+", {"a#C+b"}},              // case-sensitive
                      SplitCase{u"甲中乙", u"中", {"甲", "乙"}},
                      // GBK C0 D6 D0 A9: the bytes of 中 (D6 D0) straddle the two characters.
                      SplitCase{u"乐些", u"中", {"乐些"}},
                      // 亅 is GBK 81 7C: its trail byte is the "|" byte.
                      SplitCase{u"1|亅|2", u"|", {"1", "亅", "2"}},
                      SplitCase{u"abc", u"", {"abc"}}));

TEST(SplitText, SeveralMebibytesOfSeparatorsStayBounded) {
    const QString text(3 * 1024 * 1024, u'|');
    const QStringList parts = SplitText(text, u"|");
    EXPECT_EQ(parts.size(), text.size());
    EXPECT_TRUE(parts.front().isEmpty());
}

TEST(Blanks, RemoveAndTrimTreatBothSpacesAsBlanks) {
    const QString text = QStringLiteral("\u3000 微 信\u3000项目 \u3000");
    EXPECT_EQ(RemoveBlanks(text), QStringLiteral("微信项目"));
    EXPECT_EQ(TrimBlanks(text), QStringLiteral("微 信\u3000项目"));
    EXPECT_EQ(TrimBlanks(QStringLiteral("\t a \t")),
              QStringLiteral("\t a \t"));  // only the two blanks
    EXPECT_EQ(TrimBlanks(QStringLiteral(" \u3000 ")), QString());
    EXPECT_EQ(RemoveBlanks(QString()), QString());
}

struct BetweenCase {
    const char16_t* text;
    const char16_t* left;
    const char16_t* right;
    const char16_t* expected;
};

TEST(TextBetween, FirstLeftThenNextRightIgnoringCase) {
    const BetweenCase cases[] = {
        {u"[1000]微信 - {价格}：1.5", u"[", u"]", u"1000"},
        {u"a[1]b[2]", u"[", u"]", u"1"},
        {u"]x[y]", u"[", u"]", u"y"},  // the right marker after the left one
        {u"no markers", u"[", u"]", u""},
        {u"[open only", u"[", u"]", u""},
        {u"LOCATION: /x\r\n", u"location:", u"\r\n", u" /x"},
        {u"版本号:6.6|", u"版本号:", u"|", u"6.6"},
        {u"[]", u"[", u"]", u""},
    };
    for (const BetweenCase& c : cases) {
        EXPECT_EQ(TextBetween(QString::fromUtf16(c.text), QString::fromUtf16(c.left),
                              QString::fromUtf16(c.right)),
                  QString::fromUtf16(c.expected))
            << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(TextBefore, TextBeforeTheFirstMarker) {
    EXPECT_EQ(TextBefore(u"微信(发送号码:10690#10691)", u"(发送号码"), QStringLiteral("微信"));
    EXPECT_EQ(TextBefore(u"a-b-c", u"-"), QStringLiteral("a"));
    EXPECT_EQ(TextBefore(u"missing", u"-"), QString());
    EXPECT_EQ(TextBefore(u"-first", u"-"), QString());
    EXPECT_EQ(TextBefore(u"aXb", u"x"), QString());  // case-sensitive
}

TEST(ReadInteger, LeadingDigitsOrZero) {
    EXPECT_EQ(ReadInteger(u"1000"), 1000);
    EXPECT_EQ(ReadInteger(u"61条"), 61);
    EXPECT_EQ(ReadInteger(u" 7"), 7);
    EXPECT_EQ(ReadInteger(u"-3"), -3);
    EXPECT_EQ(ReadInteger(u"abc"), 0);
    EXPECT_EQ(ReadInteger(u""), 0);
    EXPECT_EQ(ReadInteger(u"99999999999999999999"), 2147483647);
    EXPECT_EQ(ReadInteger(u"-99999999999999999999"), -2147483647 - 1);
}

TEST(PercentEncodeUtf8, EveryUtf8ByteEscaped) {
    const struct {
        const char16_t* text;
        const char* encoded;
    } cases[] = {
        {u"", ""},
        {u"a1", "%61%31"},
        {u"ab", "%61%62"},
        {u"AZ", "%41%5A"},
        {u"\r\n", "%0D%0A"},
        {u"中", "%E4%B8%AD"},
        {u"岚讯", "%E5%B2%9A%E8%AE%AF"},
        {u"a b&c=d#e", "%61%20%62%26%63%3D%64%23%65"},
        {u"\u3000", "%E3%80%80"},
        {u"%", "%25"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PercentEncodeUtf8(QString::fromUtf16(c.text)), QString::fromLatin1(c.encoded))
            << c.encoded;
    }
}

struct DateTimeCase {
    QDate date;
    QTime time;
    const char16_t* text;
};

TEST(DateTimeText, ShortenedFromTheRightWithoutLeadingZeros) {
    const DateTimeCase cases[] = {
        {{2024, 3, 5}, {14, 7, 9}, u"2024年3月5日14时7分9秒"},
        {{2024, 3, 5}, {14, 7, 0}, u"2024年3月5日14时7分"},
        {{2024, 3, 5}, {14, 0, 0}, u"2024年3月5日14时"},
        {{2024, 3, 5}, {14, 0, 9}, u"2024年3月5日14时0分9秒"},
        {{2024, 12, 31}, {0, 0, 0}, u"2024年12月31日"},  // midnight: no time
        {{2024, 12, 31}, {0, 0, 1}, u"2024年12月31日0时0分1秒"},
        {{2024, 12, 31}, {0, 5, 0}, u"2024年12月31日0时5分"},
        {{2024, 1, 1}, {23, 59, 59}, u"2024年1月1日23时59分59秒"},
    };
    for (const DateTimeCase& c : cases) {
        const QDateTime dateTime(c.date, c.time);
        EXPECT_EQ(DateTimeText(dateTime), QString::fromUtf16(c.text));
        EXPECT_EQ(ReadDateTimeText(QString::fromUtf16(c.text)), dateTime)
            << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(DateTimeText, MillisecondsAreNotPartOfTheText) {
    const QDateTime dateTime(QDate(2024, 3, 5), QTime(14, 7, 9, 500));
    EXPECT_EQ(DateTimeText(dateTime), QStringLiteral("2024年3月5日14时7分9秒"));
    EXPECT_EQ(DateTimeText(QDateTime()), QString());
}

TEST(ReadDateTimeText, RejectsTextsOfAnotherForm) {
    const char16_t* bad[] = {
        u"",
        u"2024年3月",
        u"2024年3月5日14",
        u"2024年3月5日14时7",
        u"2024年3月5日14时7分9",
        u"2024年3月5日14时7分9秒x",
        u"2024年2月30日",
        u"2024年3月5日25时",
        u"2024-03-05 14:07:09",
        u"年月日",
    };
    for (const char16_t* text : bad) {
        EXPECT_FALSE(ReadDateTimeText(QString::fromUtf16(text)).isValid())
            << QString::fromUtf16(text).toStdString();
    }
    EXPECT_EQ(ReadDateTimeText(u" 2024年03月05日 "), QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
}

}  // namespace
}  // namespace lanxun
