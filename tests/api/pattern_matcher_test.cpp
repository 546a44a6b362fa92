#include <gtest/gtest.h>

#include "api/pattern_matcher.h"

namespace lanxun {
namespace {

TEST(PatternMatcher, NothingBeforeTheFirstExecute) {
    PatternMatcher matcher;
    EXPECT_EQ(matcher.Pattern(), QString());
    EXPECT_EQ(matcher.Count(), 0);
    EXPECT_EQ(matcher.SubMatchCount(), 0);
    int offset = 7;
    EXPECT_EQ(matcher.MatchText(1, &offset), QString());
    EXPECT_EQ(offset, -1);
    EXPECT_EQ(matcher.SubMatchText(1, 1), QString());
    EXPECT_EQ(matcher.Replace(QStringLiteral("x")), QString());
}

TEST(PatternMatcher, CodeIsTheFirstRunOfDigits) {
    const struct {
        const char16_t* sms;
        const char16_t* code;
    } cases[] = {
        {u"您的验证码是482913，5分钟内有效。", u"482913"},
        {u"【12306】验证码7788，请勿泄露", u"12306"},  // the sender's digits come first
        {u"验证码1234，另请拨打95588", u"1234"},       // first, not longest
        {u"没有数字的短信", u""},
        {u"", u""},
        {u"１２３４ then 56", u"56"},  // full-width digits are no ASCII digits
    };
    PatternMatcher matcher;
    for (const auto& c : cases) {
        ASSERT_TRUE(matcher.Execute(QStringLiteral("[0-9][0-9]{0,}"), QString::fromUtf16(c.sms)));
        EXPECT_EQ(matcher.MatchText(1), QString::fromUtf16(c.code))
            << QString::fromUtf16(c.sms).toStdString();
    }
}

TEST(PatternMatcher, ProvinceOfTheSegmentReply) {
    PatternMatcher matcher;
    const QString reply = QStringLiteral(
        "__GetZoneResult_ = {\r\n    mts:'1380013',\r\n    province:'广东',\r\n"
        "    catName:'中国移动',\r\n    telString:'13800138000'\r\n}");
    ASSERT_TRUE(matcher.Execute(QStringLiteral("province:'(.*?)',"), reply));
    EXPECT_EQ(matcher.Count(), 1);
    EXPECT_EQ(matcher.SubMatchCount(), 1);
    EXPECT_EQ(matcher.SubMatchText(1, 1), QStringLiteral("广东"));

    ASSERT_TRUE(matcher.Execute(QStringLiteral("province:'(.*?)',"), QStringLiteral("<html>")));
    EXPECT_EQ(matcher.Count(), 0);
    EXPECT_EQ(matcher.SubMatchText(1, 1), QString());

    // "." stops at a line break, so a province never spans lines.
    ASSERT_TRUE(
        matcher.Execute(QStringLiteral("province:'(.*?)',"), QStringLiteral("province:'a\r\nb',")));
    EXPECT_EQ(matcher.Count(), 0);
}

TEST(PatternMatcher, ProjectIdOfAPickerItem) {
    PatternMatcher matcher;
    ASSERT_TRUE(
        matcher.Execute(QStringLiteral("(.*?)]"), QStringLiteral("[1000]微信注册 - {价格}：1.5")));
    EXPECT_EQ(matcher.SubMatchText(1, 1), QStringLiteral("[1000"));
    EXPECT_EQ(matcher.MatchText(1), QStringLiteral("[1000]"));
}

TEST(PatternMatcher, CaseIgnoredByDefault) {
    PatternMatcher matcher;
    ASSERT_TRUE(
        matcher.Execute(QStringLiteral("province:'(.*?)',"), QStringLiteral("PROVINCE:'上海',")));
    EXPECT_EQ(matcher.SubMatchText(1, 1), QStringLiteral("上海"));

    ASSERT_TRUE(matcher.Execute(QStringLiteral("abc"), QStringLiteral("ABC abc"), true));
    EXPECT_EQ(matcher.Count(), 1);
}

TEST(PatternMatcher, GlobalAndMultilineOptions) {
    PatternMatcher matcher;
    const QString lines = QStringLiteral("a1\r\nb2\r\nc3");
    ASSERT_TRUE(matcher.Execute(QStringLiteral("^[a-z]"), lines));
    EXPECT_EQ(matcher.Count(), 3);
    ASSERT_TRUE(matcher.Execute(QStringLiteral("[0-9]$"), lines));
    EXPECT_EQ(matcher.Count(), 3);  // "$" before each CR LF
    ASSERT_TRUE(matcher.Execute(QStringLiteral("^[a-z]"), lines, false, false));
    EXPECT_EQ(matcher.Count(), 1);
    ASSERT_TRUE(matcher.Execute(QStringLiteral("[a-z]"), lines, false, true, false));
    EXPECT_EQ(matcher.Count(), 1);
    EXPECT_EQ(matcher.MatchText(1), QStringLiteral("a"));
    EXPECT_EQ(matcher.MatchText(2), QString());
}

TEST(PatternMatcher, SubMatchesCountedFromOne) {
    PatternMatcher matcher;
    ASSERT_TRUE(matcher.Execute(QStringLiteral("(\\d+)-(x)?(\\d+)"),
                                QStringLiteral("号码 10-20 和 30-x40")));
    EXPECT_EQ(matcher.Count(), 2);
    EXPECT_EQ(matcher.SubMatchCount(), 3);
    EXPECT_EQ(matcher.SubMatchText(1, 1), QStringLiteral("10"));
    EXPECT_EQ(matcher.SubMatchText(1, 2), QString());  // took part in no match
    EXPECT_EQ(matcher.SubMatchText(1, 3), QStringLiteral("20"));
    EXPECT_EQ(matcher.SubMatchText(2, 2), QStringLiteral("x"));
    EXPECT_EQ(matcher.SubMatchText(2, 3), QStringLiteral("40"));
    EXPECT_EQ(matcher.SubMatchText(1, 0), QString());
    EXPECT_EQ(matcher.SubMatchText(1, 4), QString());
    EXPECT_EQ(matcher.SubMatchText(3, 1), QString());
    EXPECT_EQ(matcher.MatchText(0), QString());
}

TEST(PatternMatcher, ByteOffsetsInTheGbkSubject) {
    PatternMatcher matcher;
    // Each Chinese character counts 2 bytes before the match.
    ASSERT_TRUE(matcher.Execute(QStringLiteral("[0-9]+"), QStringLiteral("验证码1234，再56")));
    int offset = -2;
    EXPECT_EQ(matcher.MatchText(1, &offset), QStringLiteral("1234"));
    EXPECT_EQ(offset, 6);
    EXPECT_EQ(matcher.MatchText(2, &offset), QStringLiteral("56"));
    EXPECT_EQ(offset, 14);
    EXPECT_EQ(matcher.MatchText(3, &offset), QString());
    EXPECT_EQ(offset, -1);

    // An equal text earlier in the subject must not be taken for a later match.
    ASSERT_TRUE(matcher.Execute(QStringLiteral("a"), QStringLiteral("中中aa")));
    EXPECT_EQ(matcher.MatchText(1, &offset), QStringLiteral("a"));
    EXPECT_EQ(offset, 4);
    EXPECT_EQ(matcher.MatchText(2, &offset), QStringLiteral("a"));
    EXPECT_EQ(offset, 5);

    ASSERT_TRUE(matcher.Execute(QStringLiteral("province:'(.*?)',"),
                                QStringLiteral("号码province:'广东',")));
    EXPECT_EQ(matcher.SubMatchText(1, 1, &offset), QStringLiteral("广东"));
    EXPECT_EQ(offset, 14);
    ASSERT_TRUE(matcher.Execute(QStringLiteral("(x)?y"), QStringLiteral("中y")));
    EXPECT_EQ(matcher.SubMatchText(1, 1, &offset), QString());
    EXPECT_EQ(offset, -1);
}

TEST(PatternMatcher, ReplaceWithSubMatchNotation) {
    const struct {
        const char16_t* pattern;
        const char16_t* subject;
        const char16_t* replacement;
        const char16_t* result;
    } cases[] = {
        {u"(\\d+)-(\\d+)", u"1-2 和 3-4", u"$2-$1", u"2-1 和 4-3"},
        {u"码", u"验证码", u"[$&]", u"验证[码]"},
        {u"b", u"abc", u"$`|$'", u"aa|cc"},
        {u"b", u"abc", u"$$", u"a$c"},
        {u"b", u"abc", u"\\1$", u"a\\1$c"},        // backslashes and a last "$" stay
        {u"(b)", u"abc", u"$2$0$x", u"a$2$0$xc"},  // no such group: literal
        {u"(b)", u"abc", u"$10", u"ab0c"},         // $1 followed by 0
        {u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", u"abcdefghij", u"$10$1", u"ja"},
        {u"(x)?b", u"abc", u"[$1]", u"a[]c"},
        {u"o", u"foo", u"0", u"f00"},
        {u"z", u"foo", u"0", u"foo"},
        {u"a*", u"baaac", u"-", u"-b--c-"},
        {u"[0-9]", u"中1文2", u"#", u"中#文#"},
    };
    PatternMatcher matcher;
    for (const auto& c : cases) {
        ASSERT_TRUE(matcher.Execute(QString::fromUtf16(c.pattern), QString::fromUtf16(c.subject)));
        EXPECT_EQ(matcher.Replace(QString::fromUtf16(c.replacement)), QString::fromUtf16(c.result))
            << QString::fromUtf16(c.pattern).toStdString() << " / "
            << QString::fromUtf16(c.replacement).toStdString();
    }
    ASSERT_TRUE(matcher.Execute(QStringLiteral("o"), QStringLiteral("foo"), false, true, false));
    EXPECT_EQ(matcher.Replace(QStringLiteral("0")), QStringLiteral("f0o"));
}

TEST(PatternMatcher, EmptyMatchesStepOneCharacter) {
    PatternMatcher matcher;
    ASSERT_TRUE(matcher.Execute(QStringLiteral("a*?"), QStringLiteral("aa")));
    EXPECT_EQ(matcher.Count(), 3);
    ASSERT_TRUE(matcher.Execute(QStringLiteral(""), QStringLiteral("中文")));
    EXPECT_EQ(matcher.Count(), 3);
}

TEST(PatternMatcher, InvalidPatternLeavesEverythingEmpty) {
    PatternMatcher matcher;
    ASSERT_TRUE(matcher.Execute(QStringLiteral("[0-9]+"), QStringLiteral("12")));
    EXPECT_FALSE(matcher.Execute(QStringLiteral("(unclosed"), QStringLiteral("unclosed")));
    EXPECT_EQ(matcher.Pattern(), QStringLiteral("(unclosed"));  // what was asked for
    EXPECT_EQ(matcher.Count(), 0);
    EXPECT_EQ(matcher.SubMatchCount(), 0);
    EXPECT_EQ(matcher.MatchText(1), QString());
    EXPECT_EQ(matcher.SubMatchText(1, 1), QString());
    EXPECT_EQ(matcher.Replace(QStringLiteral("x")), QString());
    EXPECT_FALSE(matcher.Execute(QStringLiteral("a{2,1}"), QStringLiteral("aa")));
    EXPECT_FALSE(matcher.Execute(QStringLiteral("*"), QStringLiteral("aa")));
}

}  // namespace
}  // namespace lanxun
