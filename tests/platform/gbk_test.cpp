#include "platform/gbk.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace lanxun {
namespace {

TEST(Gbk, RoundTrip) {
    struct Case {
        const char* text;  // UTF-8
        QByteArray gbk;
    } const cases[] = {
        {"", ""},
        {"abc|1#c-2", "abc|1#c-2"},
        {"成功", "\xB3\xC9\xB9\xA6"},
        {"岚讯接码平台", "\xE1\xB0\xD1\xB6\xBD\xD3\xC2\xEB\xC6\xBD\xCC\xA8"},
        {"\u3000", "\xA1\xA1"},  // full-width space
        {"1|余额：12.5",
         "1|\xD3\xE0\xB6\xEE\xA3\xBA"
         "12.5"},
        {"€", "\x80"},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(ToGbk(text), c.gbk) << c.text;
        EXPECT_EQ(FromGbk(c.gbk), text) << c.text;
        EXPECT_EQ(GbkByteLength(text), c.gbk.size()) << c.text;
    }
}

TEST(Gbk, CharactersOutsideGbkBecomeQuestionMarks) {
    EXPECT_EQ(ToGbk(QStringLiteral("a😀b")), QByteArray("a?b"));
    EXPECT_EQ(ToGbk(QStringLiteral("中\u0E01文")), QByteArray("\xD6\xD0?\xCE\xC4"));
    EXPECT_EQ(GbkByteLength(QStringLiteral("😀")), 1);
}

TEST(Gbk, InvalidBytesBecomeReplacementCharacters) {
    struct Case {
        QByteArray bytes;
        QString text;
    } const cases[] = {
        {"\xFF", QStringLiteral("\uFFFD")},
        {"a\xFF\xFF"
         "b",
         QStringLiteral("a\uFFFD\uFFFDb")},
        {"ab\xB3", QStringLiteral("ab\uFFFD")},                  // lead byte cut off
        {"\x81\x20x", QStringLiteral("\uFFFD x")},               // bad trail byte stays
        {"\xB3\xC9\xFF\xB9\xA6", QStringLiteral("成\uFFFD功")},  // decoding goes on
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FromGbk(c.bytes), c.text) << c.bytes.toHex().constData();
    }
}

TEST(Gbk, UntilZero) {
    EXPECT_EQ(FromGbkUntilZero(QByteArray("ab\0cd", 5)), QStringLiteral("ab"));
    EXPECT_EQ(FromGbkUntilZero(QByteArray("\0", 1)), QString());
    EXPECT_EQ(FromGbkUntilZero(QByteArray("\xB3\xC9\xB9\xA6")), QStringLiteral("成功"));
    EXPECT_EQ(FromGbkUntilZero(QByteArray()), QString());
}

TEST(Gbk, IndexOfStepsOverDoubleByteCharacters) {
    // 0x81 0x7C is one character whose second byte is "|".
    const QByteArray text("\x81|a|", 4);
    EXPECT_EQ(GbkIndexOf(text, "|"), 3);
    // A1 B0 is one character; B0 A1 starting on its second byte is no match.
    EXPECT_EQ(GbkIndexOf("\xA1\xB0\xA1", "\xB0\xA1"), -1);
    EXPECT_EQ(GbkIndexOf("x\xB0\xA1", "\xB0\xA1"), 1);
    EXPECT_EQ(GbkIndexOf("a: Set-Cookie: b", "set-cookie:", 0, Qt::CaseInsensitive), 3);
    EXPECT_EQ(GbkIndexOf("a: Set-Cookie: b", "set-cookie:"), -1);
    EXPECT_EQ(GbkIndexOf("abcabc", "abc", 1), 3);
    EXPECT_EQ(GbkIndexOf("abc", "abcd"), -1);
}

TEST(Gbk, IndexOfIgnoresCaseOfLettersOnly) {
    // 81 41 and 81 61 are two different characters; their second bytes are
    // "A" and "a", which are no letters there.
    struct Case {
        QByteArray haystack;
        QByteArray needle;
        qsizetype found;
    } const cases[] = {
        {"x\x81\x61", "\x81\x41", -1},
        {"x\x81\x41", "\x81\x41", 1},
        {"\x81\x61=1", "\x81\x41=1", -1},
        {"X\x81\x61", "x\x81\x61", 0},
        {"Set-Cookie: \x81\x41", "set-cookie: \x81\x41", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GbkIndexOf(c.haystack, c.needle, 0, Qt::CaseInsensitive), c.found)
            << c.haystack.toHex().toStdString();
    }
}

TEST(Gbk, IndexOfFromAnOffsetFindsEveryLine) {
    // A walk over every line of a large header block, as the cookie scan
    // makes it (its cost is measured in bench/protocol_bench).
    QByteArray text;
    const int lines = 80000;
    for (int i = 0; i < lines; ++i) {
        text += "Set-Cookie: \xB3\xC9=1\r\n";
    }
    int found = 0;
    for (qsizetype p = GbkIndexOf(text, "\r\n"); p >= 0; p = GbkIndexOf(text, "\r\n", p + 2)) {
        ++found;
    }
    EXPECT_EQ(found, lines);
    // An offset inside a double-byte character still finds the next whole one.
    EXPECT_EQ(GbkIndexOf("\xB0\xA1\xB0\xA1", "\xA1\xB0", 1), -1);
    EXPECT_EQ(GbkIndexOf("\xB0\xA1\xB0\xA1\xA1\xB0", "\xA1\xB0", 1), 4);
    EXPECT_EQ(GbkIndexOf("ab", "b", 5), -1);
}

TEST(Gbk, CharacterLengthAndBlanks) {
    struct Case {
        QByteArray bytes;
        int charLength;   // of the character at 0
        int blankLength;  // of the blank at 0
    } const cases[] = {
        {"a", 1, 0},        {" x", 1, 1},       {"\xB3\xC9", 2, 0},
        {"\xA1\xA1", 2, 2}, {"\xA1", 1, 0},      // a lead byte cut off at the end
        {"\x81 ", 1, 0},                         // no trail byte after it: stands alone
        {"\x81\x7F", 1, 0},                      // 0x7F is never a trail byte
        {"\x81\x40", 2, 0}, {"\xFF\xA1", 1, 0},  // not a lead byte
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GbkCharLength(c.bytes, 0), c.charLength) << c.bytes.toHex().constData();
        EXPECT_EQ(GbkBlankLength(c.bytes, 0), c.blankLength) << c.bytes.toHex().constData();
    }
}

TEST(Gbk, TrimBlanksOnBytes) {
    struct Case {
        QByteArray bytes;
        QByteArray leadingTrimmed;
        QByteArray trimmed;
    } const cases[] = {
        {"", "", ""},
        {"  a b  ", "a b  ", "a b"},
        {"\xA1\xA1 a\xA1\xA1", "a\xA1\xA1", "a"},
        {"\xA1\xA1\xA1\xA1", "", ""},
        // The character D6 A1 and a stray A1: their last two bytes are no blank.
        {"\xD6\xA1\xA1", "\xD6\xA1\xA1", "\xD6\xA1\xA1"},
        {"\xD6\xA1\xA1\xA1", "\xD6\xA1\xA1\xA1", "\xD6\xA1"},
        // A lead byte without a trail byte stands alone; the space after it is a blank.
        {"\x81 ", "\x81 ", "\x81"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GbkTrimLeadingBlanks(c.bytes), c.leadingTrimmed) << c.bytes.toHex().constData();
        EXPECT_EQ(GbkTrimBlanks(c.bytes), c.trimmed) << c.bytes.toHex().constData();
    }
}

TEST(Gbk, ThreadsConvertAtTheSameTime) {
    const QString text = QStringLiteral("岚讯接码平台|成功|abc\u3000");
    const QByteArray gbk = ToGbk(text);
    std::vector<std::thread> threads;
    std::vector<int> wrong(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 2000; ++i) {
                if (ToGbk(text) != gbk || FromGbk(gbk) != text) {
                    ++wrong[t];
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace lanxun
