// Every item of every pop-up menu of a real main window, triggered against the local platform:
// what it asks the platform for, what it puts on the clipboard, which window it opens. The items
// are found by their captions, as the user sees them, so a caption or a connection that went
// astray in the window's wiring shows up here.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <set>
#include <utility>

#include "numbers/number_list.h"
#include "support/find_child.h"
#include "support/main_window_sim_test.h"
#include "support/sim_lines.h"

namespace lanxun {
namespace {

using test::Child;

// Brings the window into the state the item needs (rows loaded, one selected).
using Arrange = std::function<void(MainWindow&)>;
// The text the item should leave on the clipboard, read once the window is arranged.
using ExpectedText = std::function<QString(MainWindow&)>;

struct MenuCase {
    const char* menu;
    const char* item;
    Arrange arrange;
    const char* request = nullptr;  // the endpoint word of the first request it sends
    ExpectedText clipboard = {};    // empty: the clipboard stays as it was
    const char* opens = nullptr;    // the title of the window it opens
};

// The item `item` of the menu titled `menu`, as the user finds it; nullptr when there is none.
QAction* FindItem(MainWindow& w, const char* menu, const char* item) {
    for (QMenu* m : w.findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) {
        for (QAction* action : m->actions()) {
            if (m->title() == QString::fromUtf8(menu) &&
                action->text() == QString::fromUtf8(item)) {
                return action;
            }
        }
    }
    return nullptr;
}

QTreeWidget* List(MainWindow& w, const char* name) {
    return Child<QTreeWidget>(&w, name);
}

QString SelectedCell(MainWindow& w, const char* list, int column) {
    QTreeWidgetItem* row = List(w, list)->currentItem();
    return row == nullptr ? QString() : row->text(column);
}

void SelectRow(QTreeWidget* list, QTreeWidgetItem* row) {
    list->clearSelection();
    list->setCurrentItem(row);
    row->setSelected(true);
}

// Waits until a load on its own thread has handed the window back.
void WaitUntilEnabled(MainWindow& w) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.isEnabled(); }, 30000));
}

// ---- 项目列表 ----

void SelectProject(MainWindow& w, const char* id) {
    Child<QPushButton>(&w, "超级按钮_项目列表")->click();
    QTreeWidget* list = List(w, "超级列表框_项目列表_收短信");
    const QList<QTreeWidgetItem*> rows = list->findItems(QString::fromUtf8(id), Qt::MatchExactly);
    ASSERT_FALSE(rows.isEmpty()) << id;
    SelectRow(list, rows.first());
}

// ---- 专属对接: the demo user's own dockings, reloaded for every case ----

constexpr int kDockingStatusColumn = 4;

void SelectDocking(MainWindow& w, const char* status) {
    Child<QPushButton>(&w, "超级按钮_专属对接")->click();
    QTreeWidget* list = List(w, "超级列表框_专属列表");
    list->clearSelection();
    list->setCurrentItem(nullptr);
    if (status == nullptr) {
        return;
    }
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(kDockingStatusColumn) == QString::fromUtf8(status)) {
            SelectRow(list, list->topLevelItem(i));
            return;
        }
    }
    FAIL() << "no docking is " << status;
}

void SelectRunningDocking(MainWindow& w) {
    SelectDocking(w, "正常");
}

void SelectPausedDocking(MainWindow& w) {
    SelectDocking(w, "暂停");
}

void SelectNoDocking(MainWindow& w) {
    SelectDocking(w, nullptr);
}

QString SelectedDockingCode(MainWindow& w) {
    return SelectedCell(w, "超级列表框_专属列表", 0);
}

// ---- 公开专属 ----

void ShowPublicDockings(MainWindow& w) {
    Child<QPushButton>(&w, "超级按钮_公开对接")->click();
    QTreeWidget* full = List(w, "超级列表框_公开专属列表");
    ASSERT_TRUE(QTest::qWaitFor([&] { return full->topLevelItemCount() > 1; }, 30000));
    WaitUntilEnabled(w);
    SelectRow(full, full->topLevelItem(1));
}

void FilterPublicDockings(MainWindow& w) {
    ShowPublicDockings(w);
    Child<QLineEdit>(&w, "编辑框_公开搜索")->setText(QStringLiteral("发"));
    QTreeWidget* filtered = List(w, "超级列表框_公开专属列表1");
    ASSERT_GT(filtered->topLevelItemCount(), 0);
    SelectRow(filtered, filtered->topLevelItem(0));
}

// ---- 取号: two numbers of project 1001, the second with its SMS; the second selected ----

const QString kProject1001 = QStringLiteral("[1001]测试项目 - {价格}：0.10");

void SelectNumberWithCode(MainWindow& w) {
    auto* picker = Child<QComboBox>(&w, "组合框_取号_项目列表");
    picker->clear();
    picker->addItem(kProject1001);
    QTreeWidget* view = List(w, "超级列表框_取码_列表框");
    view->clear();
    NumberList numbers(view);
    const QString at = QStringLiteral("2026年1月1日10时");
    numbers.Append(QStringLiteral("13800000001"), at, QStringLiteral("1001"));
    const NumberRow second =
        numbers.Append(QStringLiteral("13800000002"), at, QStringLiteral("1001"));
    numbers.Write(second.identity,
                  {{NumberList::kCode, QStringLiteral("482913")},
                   {NumberList::kSmsText, QStringLiteral("【测试】验证码482913")}});
    SelectRow(view, view->topLevelItem(1));
}

// ---- 明细统计 ----

void SelectRecord(MainWindow& w, const char* caption, const char* list, int row) {
    QAction* show = FindItem(w, "资金操作", caption);
    ASSERT_NE(show, nullptr) << caption;
    show->trigger();
    QTreeWidget* records = List(w, list);
    ASSERT_GT(records->topLevelItemCount(), row) << list;
    SelectRow(records, records->topLevelItem(row));
}

void Nothing(MainWindow&) {}

const MenuCase kMenuCases[] = {
    {.menu = "短信收藏项目",
     .item = "收藏(S)",
     .arrange = [](MainWindow& w) { SelectProject(w, "1002"); },
     .request = "xiangmu_shouchan"},
    {.menu = "取消收藏项目",
     .item = "取消收藏(A)",
     .arrange = [](MainWindow& w) { SelectProject(w, "1001"); },
     .request = "xiangmu_qxsc"},

    // In this order the demo user always has a docking in the state the next case needs.
    {.menu = "暂停对接",
     .item = "复制对接码",
     .arrange = SelectRunningDocking,
     .clipboard = SelectedDockingCode},
    {.menu = "暂停对接", .item = "刷新(W)", .arrange = SelectRunningDocking, .request = "yh_zs_lb"},
    {.menu = "暂停对接",
     .item = "暂停对接(Z)",
     .arrange = SelectRunningDocking,
     .request = "yh_zs_fhzt"},
    {.menu = "暂停对接",
     .item = "删除对接(T)",
     .arrange = SelectRunningDocking,
     .request = "yh_zs_sc"},
    {.menu = "恢复对接",
     .item = "复制对接码(Y)",
     .arrange = SelectPausedDocking,
     .clipboard = SelectedDockingCode},
    {.menu = "恢复对接", .item = "刷新(K)", .arrange = SelectPausedDocking, .request = "yh_zs_lb"},
    {.menu = "恢复对接",
     .item = "恢复对接(H)",
     .arrange = SelectPausedDocking,
     .request = "yh_zs_fhzt"},
    {.menu = "恢复对接",
     .item = "删除对接(P)",
     .arrange = SelectPausedDocking,
     .request = "yh_zs_sc"},
    {.menu = "专属刷新", .item = "刷新(Q)", .arrange = SelectNoDocking, .request = "yh_zs_lb"},

    {.menu = "公开加入专属",
     .item = "加入专属(J)",
     .arrange = ShowPublicDockings,
     .request = "yh_zs_jr"},
    {.menu = "公开加入专属",
     .item = "刷新(R)",
     .arrange = ShowPublicDockings,
     .request = "yh_zs_gk_lb"},
    {.menu = "专属", .item = "加入专属", .arrange = FilterPublicDockings, .request = "yh_zs_jr"},

    {.menu = "取号功能",
     .item = "复制手机号码(A)",
     .arrange = SelectNumberWithCode,
     .clipboard = [](MainWindow&) { return QStringLiteral("13800000002"); }},
    {.menu = "取号功能",
     .item = "复制验证码(B)",
     .arrange = SelectNumberWithCode,
     .clipboard = [](MainWindow&) { return QStringLiteral("482913"); }},
    {.menu = "取号功能",
     .item = "复制全部手机号码(D)",
     .arrange = SelectNumberWithCode,
     .clipboard = [](MainWindow&) { return QStringLiteral("13800000001\r\n13800000002\r\n"); }},
    {.menu = "取号功能",
     .item = "复制短信内容(C)",
     .arrange = SelectNumberWithCode,
     .clipboard = [](MainWindow&) { return QStringLiteral("【测试】验证码482913"); }},
    {.menu = "取号功能",
     .item = "再次使用号码",
     .arrange = SelectNumberWithCode,
     .request = "yh_qh"},
    {.menu = "取号功能", .item = "释放号码", .arrange = SelectNumberWithCode, .request = "yh_sf"},
    {.menu = "取号功能", .item = "拉黑号码", .arrange = SelectNumberWithCode, .request = "yh_lh"},

    {.menu = "安全中心", .item = "修改密码", .arrange = Nothing, .opens = "修改密码"},
    {.menu = "安全中心", .item = "个人信息", .arrange = Nothing, .opens = "个人信息"},
    {.menu = "安全中心", .item = "安全设置", .arrange = Nothing, .opens = "安全设置"},

    {.menu = "资金操作", .item = "提现", .arrange = Nothing, .opens = "澄信开发着提现"},
    {.menu = "资金操作", .item = "提现记录", .arrange = Nothing, .request = "tx_mx"},
    {.menu = "资金操作", .item = "充值记录", .arrange = Nothing, .request = "cz_mx"},
    {.menu = "资金操作", .item = "短信记录", .arrange = Nothing, .request = "yh_mx"},
    {.menu = "资金操作", .item = "推荐人奖励明细", .arrange = Nothing, .request = "tj_mx"},

    {.menu = "资金明细复制",
     .item = "复制手机号码(E)",
     .arrange = [](MainWindow& w) { SelectRecord(w, "短信记录", "超级列表框_短信明细", 4); },
     .clipboard = [](MainWindow& w) { return SelectedCell(w, "超级列表框_短信明细", 3); }},
    {.menu = "资金明细复制",
     .item = "复制短信内容(W)",
     .arrange = [](MainWindow& w) { SelectRecord(w, "短信记录", "超级列表框_短信明细", 4); },
     .clipboard = [](MainWindow& w) { return SelectedCell(w, "超级列表框_短信明细", 6); }},
    {.menu = "复制订单",
     .item = "复制订单号(F)",
     .arrange = [](MainWindow& w) { SelectRecord(w, "充值记录", "超级列表框_充值记录", 0); },
     .clipboard = [](MainWindow& w) { return SelectedCell(w, "超级列表框_充值记录", 1); }},
    {.menu = "复制订单", .item = "刷新(Y)", .arrange = Nothing, .request = "cz_mx"},
    {.menu = "提现刷新", .item = "刷新(S)", .arrange = Nothing, .request = "tx_mx"},
};

// The main window without its routines, so every request comes from the item triggered.
class MenuActionsTest : public test::MainWindowSimTest {
protected:
    std::vector<WorkerFactory> Routines() override { return {}; }

    // The endpoint words of the requests received, in order.
    static QStringList Words() {
        QStringList words;
        for (const QString& target : test::SimTargets(*sim_)) {
            words << target.section(QLatin1Char('/'), 1, 1);
        }
        return words;
    }
};

TEST_F(MenuActionsTest, EveryItemOfEveryMenuDoesItsJob) {
    const QString untouched = QStringLiteral("剪贴板原来的内容");
    std::set<std::pair<QString, QString>> covered;
    for (const MenuCase& c : kMenuCases) {
        SCOPED_TRACE(std::string(c.menu) + " / " + c.item);
        covered.insert({QString::fromUtf8(c.menu), QString::fromUtf8(c.item)});
        QAction* item = FindItem(*window_, c.menu, c.item);
        ASSERT_NE(item, nullptr);
        c.arrange(*window_);
        const QString expectedText = c.clipboard ? c.clipboard(*window_) : untouched;
        ASSERT_FALSE(expectedText.isEmpty());
        sim_->ClearRequests();
        fakes_.clipboard.SetText(untouched);
        fakes_.modals.titles.clear();

        item->trigger();

        if (c.request) {
            ASSERT_TRUE(QTest::qWaitFor([] { return !Words().isEmpty(); }, 30000));
            EXPECT_EQ(Words().first(), QString::fromUtf8(c.request))
                << Words().join(' ').toStdString();
        }
        WaitUntilEnabled(*window_);
        EXPECT_EQ(fakes_.clipboard.Text(), expectedText);
        EXPECT_EQ(fakes_.modals.titles,
                  c.opens ? QStringList{QString::fromUtf8(c.opens)} : QStringList{});
    }

    // No item of the window is left out of the table.
    for (QMenu* menu : window_->findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) {
        for (QAction* action : menu->actions()) {
            EXPECT_TRUE(covered.contains({menu->title(), action->text()}))
                << menu->title().toStdString() << " / " << action->text().toStdString();
        }
    }
}

}  // namespace
}  // namespace lanxun
