#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include "projects/picker_content.h"
#include "projects/project_items.h"
#include "projects/send_project_list.h"

namespace lanxun {
namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

struct ReceiveCase {
    const char* what;
    bool favourites;  // xiangmu_ysc, else liebiao_xm
    const char* reply;
    QStringList items;
};

TEST(PickerContent, ReceivePickerItemsAndPlaceholders) {
    const ReceiveCase cases[] = {
        {"favourites come last record first",
         true,
         "1001#c-A#c-1.0#c+1002#c-B#c-2.0#c+1003#c-C#c-3",
         {U("[1003]C - {价格}：3"), U("[1002]B - {价格}：2.0"), U("[1001]A - {价格}：1.0")}},
        {"search keeps reply order",
         false,
         "1001#c-A#c-1.0#c-x#c-0#c+1002#c-B#c-2.0#c-x#c-1",
         {U("[1001]A - {价格}：1.0"), U("[1002]B - {价格}：2.0")}},
        {"blanks inside names are removed",
         true,
         "10 01#c-微\u3000信 注册#c-0.5",
         {U("[1001]微信注册 - {价格}：0.5")}},
        {"a favourite needs three fields",
         true,
         "1001#c-A#c+1002#c-B#c-2",
         {U("[1002]B - {价格}：2")}},
        {"a search result needs five fields",
         false,
         "1001#c-A#c-1#c-x#c+1002#c-B#c-2#c-x#c-0",
         {U("[1002]B - {价格}：2")}},
        {"names with 发送 stay out",
         true,
         "1001#c-发送验证#c-1#c+1002#c-X(发送号码:1)#c-2",
         {U("您未收藏[短信项目]，可通过关键字或项目ID进行搜索。")}},
        {"empty favourites reply",
         true,
         "",
         {U("您未收藏[短信项目]，可通过关键字或项目ID进行搜索。")}},
        {"empty search reply", false, "", {U("未搜索到相关项目")}},
        {"trailing separator adds nothing",
         false,
         "1001#c-A#c-1#c-x#c-0#c+",
         {U("[1001]A - {价格}：1")}},
        {"non-numeric and negative IDs are shown as sent",
         true,
         "abc#c-A#c-1#c+-5#c-B#c-2",
         {U("[-5]B - {价格}：2"), U("[abc]A - {价格}：1")}},
    };
    for (const ReceiveCase& c : cases) {
        const QString reply = QString::fromUtf8(c.reply);
        const ReceivePickerContent content =
            c.favourites ? ReceivePickerFromFavourites(reply) : ReceivePickerFromSearch(reply);
        EXPECT_EQ(content.items, c.items) << c.what;
    }
}

struct SendCase {
    const char* what;
    bool favourites;
    const char* reply;
    QStringList items;
    QString sendProjectList;
    QStringList sendingNumbers;
};

TEST(PickerContent, SendPickerItemsLinesAndNumbers) {
    const QString none = U("您未收藏[发短信项目]，可通过关键字或项目ID进行搜索。");
    const SendCase cases[] = {
        {"two favourites read last first; numbers in SendProjectList order",
         true,
         "2001#c-甲(发送号码:1#2)#c-0.8#c+2002#c-乙(发送号码:3)#c-0.9",
         {U("[2002]乙 - {价格}：0.9 - (发短信)"), U("[2001]甲 - {价格}：0.8 - (发短信)")},
         U("乙(发送号码:3)\r\n甲(发送号码:1#2)\r\n"),
         {"3", "1", "2"}},
        {"search: only names with 发送号码, in reply order",
         false,
         "1001#c-发送验证#c-1#c-x#c-0#c+2001#c-甲(发送号码:10690)#c-0.8#c-x#c-0",
         {U("[2001]甲 - {价格}：0.8 - (发短信)")},
         U("甲(发送号码:10690)\r\n"),
         {"10690"}},
        {"no closing parenthesis: no numbers",
         true,
         "2001#c-甲(发送号码:10690#c-0.8",
         {U("[2001]甲 - {价格}：0.8 - (发短信)")},
         U("甲(发送号码:10690\r\n"),
         {}},
        {"发送号码: with no numbers",
         true,
         "2001#c-甲(发送号码:)#c-0.8",
         {U("[2001]甲 - {价格}：0.8 - (发短信)")},
         U("甲(发送号码:)\r\n"),
         {}},
        {"a search that finds nothing shows the favourites' text", false, "", {none}, {}, {}},
        {"favourites without send projects", true, "1001#c-A#c-1", {none}, {}, {}},
    };
    for (const SendCase& c : cases) {
        const QString reply = QString::fromUtf8(c.reply);
        const SendPickerContent content =
            c.favourites ? SendPickerFromFavourites(reply) : SendPickerFromSearch(reply);
        EXPECT_EQ(content.items, c.items) << c.what;
        EXPECT_EQ(content.sendProjectList, c.sendProjectList) << c.what;
        EXPECT_EQ(content.sendingNumbers, c.sendingNumbers) << c.what;
        EXPECT_EQ(content.hasProjects, !c.sendProjectList.isEmpty()) << c.what;
    }
}

TEST(PickerContent, ProjectIdsAndSendProjectLines) {
    EXPECT_EQ(ProjectIdOfItem(U("[1001]微信 - {价格}：0.5")), U("1001"));
    EXPECT_EQ(ProjectIdOfItem(U("未搜索到相关项目")), QString());
    const struct {
        const char* id;
        int number;
    } ids[] = {{"1000", 1000}, {"999", 999}, {"", 0}, {"abc", 0}, {"12ab", 0}, {"-5", -5}};
    for (const auto& c : ids) {
        EXPECT_EQ(ProjectIdNumber(U(c.id)), c.number) << c.id;
    }
    SendProjectList list;
    list.Replace(U("乙(发送号码:3)\r\n甲(发送号码:1#2)\r\n"));
    EXPECT_EQ(list.Lines(), (QStringList{U("乙(发送号码:3)"), U("甲(发送号码:1#2)")}));
    EXPECT_EQ(list.LineOf(U("甲")), U("甲(发送号码:1#2)"));
    EXPECT_EQ(SendingNumbers(list.LineOf(U("甲"))), (QStringList{"1", "2"}));
    EXPECT_EQ(list.LineOf(U("丙")), QString());
}

}  // namespace
}  // namespace lanxun
