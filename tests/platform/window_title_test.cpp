#include <gtest/gtest.h>

#include "platform/gbk.h"
#include "platform/window_picker.h"

namespace lanxun {
namespace {

// A title is read into 256 bytes: at most 255 GBK bytes, never half a character.
TEST(CutToGbkBytes, KeepsWholeCharactersWithinTheLimit) {
    struct Case {
        QString title;
        int maxBytes;
        QString expected;
    } cases[] = {
        {"", 255, ""},
        {"QQ chat", 255, "QQ chat"},
        {QString(255, 'a'), 255, QString(255, 'a')},
        {QString(256, 'a'), 255, QString(255, 'a')},
        {QString(127, u'聊') + "ab", 255, QString(127, u'聊') + "a"},
        {"a" + QString(128, u'聊'), 255, "a" + QString(127, u'聊')},
        {QString(128, u'聊'), 255, QString(127, u'聊')},  // the 128th would need bytes 255 and 256
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        const QString cut = CutToGbkBytes(c.title, c.maxBytes);
        EXPECT_EQ(cut, c.expected);
        EXPECT_LE(GbkByteLength(cut), c.maxBytes);
    }
}

}  // namespace
}  // namespace lanxun
