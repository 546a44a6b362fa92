#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTreeWidget>
#include <atomic>
#include <thread>

#include "numbers/number_list.h"

namespace lanxun {
namespace {

class NumberListTest : public ::testing::Test {
protected:
    NumberListTest() { view.setColumnCount(NumberList::kColumnCount); }

    QStringList Column(int column) const {
        QStringList texts;
        for (int i = 0; i < view.topLevelItemCount(); ++i) {
            texts.append(view.topLevelItem(i)->text(column));
        }
        return texts;
    }

    // Rows whose status or code was written for another number.
    QStringList MisplacedRows() const {
        QStringList misplaced;
        for (int i = 0; i < view.topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = view.topLevelItem(i);
            const QString phone = item->text(NumberList::kPhone);
            const QString status = item->text(NumberList::kStatus);
            const QString code = item->text(NumberList::kCode);
            if ((!status.isEmpty() && status != "for " + phone) ||
                (!code.isEmpty() && code != phone.right(4))) {
                misplaced.append(phone + ": " + status + " / " + code);
            }
        }
        return misplaced;
    }

    QTreeWidget view;
    NumberList list{&view};
};

TEST_F(NumberListTest, AppendNumbersRowsFromTheCountAndFillsTheHiddenCells) {
    list.Append("13800000001", "2026年12月10日10时5分", "1001");
    const NumberRow second = list.Append("13800000002", "2026年12月10日10时6分", "1002");
    EXPECT_EQ(second.position, 1);
    EXPECT_EQ(Column(NumberList::kSequence), QStringList({"1", "2"}));
    EXPECT_EQ(Column(NumberList::kObtainedAt),
              QStringList({"2026年12月10日10时5分", "2026年12月10日10时6分"}));
    EXPECT_EQ(Column(NumberList::kProjectId), QStringList({"1001", "1002"}));
    EXPECT_EQ(Column(NumberList::kStatus), QStringList({"", ""}));
    // The sequence is the count before insertion plus 1, so it repeats after a deletion.
    list.Remove(second.identity);
    list.Append("13800000003", "t", "1003");
    EXPECT_EQ(Column(NumberList::kSequence), QStringList({"1", "2"}));
}

TEST_F(NumberListTest, WritesFollowTheRowTheyWereReadFrom) {
    const NumberRow first = list.Append("13800000001", "t", "1001");
    const NumberRow second = list.Append("13800000002", "t", "1001");
    const NumberRow read = list.Row(1);
    ASSERT_EQ(read.identity, second.identity);

    // The row above goes: the write still lands on 13800000002, now at position 0.
    list.Remove(first.identity);
    EXPECT_TRUE(list.Write(read.identity,
                           {{NumberList::kStatus, "短信已达到"}, {NumberList::kCode, "482913"}}));
    EXPECT_EQ(Column(NumberList::kPhone), QStringList({"13800000002"}));
    EXPECT_EQ(Column(NumberList::kStatus), QStringList({"短信已达到"}));
    EXPECT_EQ(list.PositionOf(read.identity), 0);

    // Emptied and refilled: the old identity has no row, nothing is written.
    list.Clear();
    list.Append("13900000009", "t", "1001");
    list.Append("13900000010", "t", "1001");
    EXPECT_FALSE(list.Write(read.identity, {{NumberList::kStatus, "stale"}}));
    EXPECT_EQ(Column(NumberList::kStatus), QStringList({"", ""}));
    EXPECT_EQ(list.PositionOf(read.identity), -1);
}

TEST_F(NumberListTest, RenewDropsResultsOfTheRowsEarlierLife) {
    const NumberRow row = list.Append("13800000001", "t", "1001");
    list.Write(row.identity, {{NumberList::kCode, "1234"}, {NumberList::kSmsText, "sms 1234"}});
    const NumberRow renewed = list.Renew(row.identity, "13800000001", "没有收到短信", "t2");
    ASSERT_TRUE(renewed.Exists());
    EXPECT_NE(renewed.identity, row.identity);
    EXPECT_EQ(renewed.code, "1234");  // kept until a new SMS overwrites it
    EXPECT_EQ(renewed.obtainedAt, "t2");
    // An expiry computed before the renewal must not end the new life.
    EXPECT_FALSE(
        list.Write(row.identity, {{NumberList::kStatus, "已停止获取原因：300秒内未取到短信"}}));
    EXPECT_EQ(list.Row(0).status, "没有收到短信");
    EXPECT_FALSE(list.Renew(row.identity, "x", "y", "z").Exists());
}

TEST_F(NumberListTest, SelectedAndMissingRows) {
    EXPECT_FALSE(list.Selected().Exists());
    EXPECT_FALSE(list.Row(0).Exists());
    EXPECT_FALSE(list.Row(-1).Exists());
    list.Append("13800000001", "t", "1001");
    list.Append("13800000002", "t", "1001");
    view.setCurrentItem(view.topLevelItem(1));
    EXPECT_EQ(list.Selected().phone, "13800000002");
    EXPECT_EQ(list.Selected().position, 1);
    EXPECT_EQ(list.Phones(), QStringList({"13800000001", "13800000002"}));
}

// A writer on another thread reads a row, then writes texts made from that row's own number,
// while the UI thread deletes and refills rows under it. Every text must stay with its number.
TEST_F(NumberListTest, ConcurrentWriterNeverLandsOnAnotherNumber) {
    constexpr int kRounds = 300;
    std::atomic<bool> done{false};
    std::atomic<int> written{0};
    std::thread writer([&] {
        for (int round = 0; round < kRounds; ++round) {
            const int count = list.RowCount();
            for (int position = 0; position < count; ++position) {
                const NumberRow row = list.Row(position);
                if (row.Exists() &&
                    list.Write(row.identity, {{NumberList::kStatus, "for " + row.phone},
                                              {NumberList::kCode, row.phone.right(4)}})) {
                    ++written;
                }
            }
        }
        done = true;
    });
    QStringList misplaced;
    for (int turn = 0; !done; ++turn) {
        if (turn % 3 == 0 && view.topLevelItemCount() > 0) {
            list.Remove(list.Row(0).identity);
        } else if (turn % 7 == 0) {
            list.Clear();
        }
        if (view.topLevelItemCount() < 16) {
            list.Append(QStringLiteral("1380000%1").arg(turn % 10000, 4, 10, QLatin1Char('0')), "t",
                        "1001");
        }
        QCoreApplication::processEvents();
        misplaced += MisplacedRows();
    }
    writer.join();
    EXPECT_GT(written.load(), 0);
    EXPECT_TRUE(misplaced.isEmpty()) << misplaced.join("\n").toStdString();
}

}  // namespace
}  // namespace lanxun
