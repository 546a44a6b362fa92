#include <gtest/gtest.h>

#include <QTreeWidget>

#include "numbers/number_list.h"

namespace lanxun {
namespace {

// A row read back by its identity follows the row: its new position after rows before it went,
// nothing once it is gone or given out again.
TEST(NumberListRowOfTest, FollowsTheRowWhereverItMoved) {
    QTreeWidget view;
    view.setColumnCount(NumberList::kColumnCount);
    NumberList list(&view);
    const NumberRow first = list.Append(QStringLiteral("13800000001"), QString(), QString());
    const NumberRow second = list.Append(QStringLiteral("13800000002"), QString(), QString());
    list.Write(second.identity, {{NumberList::kCode, QStringLiteral("1234")}});

    ASSERT_TRUE(list.Remove(first.identity));
    const NumberRow moved = list.RowOf(second.identity);
    EXPECT_EQ(moved.position, 0);
    EXPECT_EQ(moved.phone, QStringLiteral("13800000002"));
    EXPECT_EQ(moved.sequence, QStringLiteral("2"));
    EXPECT_EQ(moved.code, QStringLiteral("1234"));

    EXPECT_FALSE(list.RowOf(first.identity).Exists());
    list.Renew(second.identity, QStringLiteral("13800000002"), QString(), QString());
    EXPECT_FALSE(list.RowOf(second.identity).Exists());
}

}  // namespace
}  // namespace lanxun
