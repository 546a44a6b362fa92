#include <gtest/gtest.h>

#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "support/find_child.h"
#include "support/main_window_sim_test.h"

namespace lanxun {
namespace {

using test::Child;

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items << box->itemText(i);
    }
    return items;
}

// The main window with its real routines against the local platform's demo catalogue.
using MainWindowProjectsTest = test::MainWindowSimTest;

TEST_F(MainWindowProjectsTest, FirstActivationFillsBothPickersFromTheFavourites) {
    auto* receive = Child<QComboBox>(window_, "组合框_取号_项目列表");
    auto* send = Child<QComboBox>(window_, "组合框_发短信_项目列表");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return receive->count() > 0 && send->count() > 0 && window_->isEnabled(); }, 30000));
    // Favourites 1001, 1002, 1003, 1010 (its name holds 发送), newest first.
    EXPECT_EQ(Items(receive), (QStringList{QStringLiteral("[1003]抖音验证 - {价格}：0.40"),
                                           QStringLiteral("[1002]QQ登录 - {价格}：0.30"),
                                           QStringLiteral("[1001]微信注册 - {价格}：0.50")}));
    EXPECT_EQ(Items(send),
              (QStringList{QStringLiteral("[2003]银行提醒 - {价格}：1.00 - (发短信)"),
                           QStringLiteral("[2001]移动营业厅 - {价格}：0.80 - (发短信)")}));
    EXPECT_EQ(Items(Child<QComboBox>(window_, "组合框_发送号码")),
              (QStringList{"95588", "95533", "95599", "10086", "10085"}));
}

TEST_F(MainWindowProjectsTest, ProjectListButtonShowsTheTabAndLoadsIt) {
    // After the two loaders have asked for the favourites.
    ASSERT_TRUE(QTest::qWaitFor([&] { return sim_->Requests().size() >= 2; }, 30000));
    Child<QPushButton>(window_, "超级按钮_项目列表")->click();
    EXPECT_EQ(window_->navigator().Current(), 0);
    EXPECT_EQ(Child<QTreeWidget>(window_, "超级列表框_项目列表_收短信")->topLevelItemCount(), 13);
    Child<QPushButton>(window_, "超级按钮1")->click();
    EXPECT_EQ(fakes_.modals.titles, QStringList{QStringLiteral("申请项目")});
}

}  // namespace
}  // namespace lanxun
