#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include "records_fixture.h"
#include "support/sim_reply.h"
#include "ui/main_window.h"
#include "ui/menus.h"

namespace lanxun {
namespace {

using test::Reply;

// The main window without its routines; the record pages are reached as the user reaches them.
class RecordsPageTest : public test::RecordsTest {
protected:
    void SetUp() override {
        RecordsTest::SetUp();
        window_ = new MainWindow(QPointer<QWidget>(), std::vector<WorkerFactory>{});
        window_->show();
    }
    void TearDown() override { delete window_.data(); }

    void Menu(QAction* FundsMenu::*item) { (window_->menus().funds.*item)->trigger(); }
    void Click(const char* button) { Child<QPushButton>(button)->click(); }
    template <typename T = QWidget>
    T* Child(const char* name) {
        return RecordsTest::Child<T>(window_, name);
    }
    QString Text(const char* label) { return Child<QLabel>(label)->text(); }
    QTreeWidget* List(const char* name) { return Child<QTreeWidget>(name); }
    QStringList Row(const char* list, int row) {
        QStringList cells;
        QTreeWidgetItem* item = List(list)->topLevelItem(row);
        for (int c = 0; item && c < item->columnCount(); ++c) {
            cells << item->text(c);
        }
        return cells;
    }
    // Count, total, page label of "短信明细".
    QStringList SmsTotals() {
        return {Text("透明标签32"), Text("透明标签34"), Text("透明标签_短信明细_页数")};
    }
    QStringList ReferralTotals() {
        return {Text("透明标签32_推荐人"), Text("透明标签34_推荐人"),
                Text("透明标签_推荐人明细_页数")};
    }
    void SetSmsPageLabel(const char* text) {
        Child<QLabel>("透明标签_短信明细_页数")->setText(QString::fromUtf8(text));
    }
    void TypeSearch(const char* box, const char* text) {
        Child<QLineEdit>(box)->setText(QString::fromUtf8(text));
    }

    QPointer<MainWindow> window_;
};

// Every list, page and search as it goes out: page 1 has no "&y=", later pages do; a search
// repeats with the box's current text; the referral list has its own words.
TEST_F(RecordsPageTest, EveryListPageAndSearchGoesOutAsTheCatalogueSays) {
    Menu(&FundsMenu::smsRecords);
    Click("超级按钮_短信明细_下一页");
    Click("超级按钮_短信明细_尾页");
    Click("超级按钮_短信明细_上一页");
    Click("超级按钮_短信明细_首页");
    TypeSearch("编辑框_短信明细_搜索", "1003");
    Click("按钮_短信明细_搜索");
    Click("超级按钮_短信明细_下一页");
    TypeSearch("编辑框_短信明细_搜索", "1003 ");  // changed after the search: paging uses it
    Click("超级按钮_短信明细_首页");
    Click("超级按钮_短信明细_刷新");
    Menu(&FundsMenu::referralRecords);
    TypeSearch("编辑框_推荐人明细_搜索", "138");
    Click("按钮_推荐人明细_搜索");
    Click("超级按钮_推荐人明细_尾页");
    Menu(&FundsMenu::withdrawalRecords);
    Menu(&FundsMenu::rechargeRecords);

    EXPECT_EQ(Targets(),
              QStringList({
                  "/yh_mx/…",
                  "/yh_mx/…&y=2",
                  "/yh_mx/…&y=80",
                  "/yh_mx/…&y=79",
                  "/yh_mx/…",
                  "/yh_mx_s/…&n=1003",
                  "/yh_mx_s/…&n=1003&y=2",
                  "/yh_mx_s/…&n=1003%20",
                  "/yh_mx/…",
                  "/tj_mx/…",
                  "/tj_mx_s/…&n=138",
                  "/tj_mx_s/…&n=138&y=" + Text("透明标签_推荐人明细_页数").section('/', 0, 0),
                  "/tx_mx/…",
                  "/cz_mx/…",
              }));
    for (const platformsim::RecordedRequest& request : sim_->Requests()) {
        EXPECT_EQ(request.line, "recordLine") << request.target;
    }
    EXPECT_TRUE(Child<QLineEdit>("编辑框_短信明细_搜索")->text().isEmpty()) << "refresh empties it";
}

// Pages of 30: the label, the totals as received, the rows numbered from 1 on every page, the
// time before the SMS text.
TEST_F(RecordsPageTest, APageShowsItsRecordsAndTheTotals) {
    Menu(&FundsMenu::smsRecords);
    EXPECT_EQ(Child<QTabWidget>("高级选择夹1")->currentIndex(), 5);
    EXPECT_EQ(SmsTotals(), QStringList({"2400", "1284.25", "1/80"}));
    ASSERT_EQ(List("超级列表框_短信明细")->topLevelItemCount(), 30);

    Click("超级按钮_短信明细_下一页");
    Click("超级按钮_短信明细_下一页");
    EXPECT_EQ(SmsTotals(), QStringList({"2400", "1284.25", "3/80"}));
    const platformsim::MoneyRecord second = sim_->Funds().Money("demo2026").smsRecords[2 * 30 + 1];
    EXPECT_EQ(
        Row("超级列表框_短信明细", 1),
        QStringList({"2", QString::fromStdString(second.projectId),
                     QString::fromStdString(platformsim::GbkToUtf8(second.projectName)),
                     QString::fromStdString(second.phone),
                     QString::fromStdString(platformsim::FundsModel::FenText(second.priceFen)),
                     QString::fromStdString(platformsim::GbkToUtf8(second.time)),
                     QString::fromStdString(platformsim::GbkToUtf8(second.smsText))}));

    Click("超级按钮_短信明细_尾页");
    EXPECT_EQ(SmsTotals(), QStringList({"2400", "1284.25", "80/80"}));
    EXPECT_EQ(List("超级列表框_短信明细")->topLevelItemCount(), 30);

    EXPECT_TRUE(window_->isEnabled());
    EXPECT_TRUE(Child<QProgressBar>("进度条4")->isHidden());
}

// The paged reply's success test and the page count, reply by reply.
TEST_F(RecordsPageTest, ThePagedReplyIsUsableOnlyWithThreeFieldsAndATotalAboveZero) {
    const std::string record = Gbk("1001#c-抖音#c-13800000000#c-0.50#c-短信#c-2026年1月1日");
    const struct {
        std::string reply;
        QStringList totals;
        int rows;
    } cases[] = {
        {"30|15.00|" + record, {"30", "15.00", "1/1"}, 1},
        {"31|15.50|" + record, {"31", "15.50", "1/2"}, 1},
        {"60|1|" + record, {"60", "1", "1/2"}, 1},
        {"61|1|" + record, {"61", "1", "1/3"}, 1},
        {"3000000|1500000.00|" + record, {"3000000", "1500000.00", "1/100000"}, 1},
        {"0|0|" + record, {"0", "0", "0/0"}, 0},
        {"-5|2.00|" + record, {"0", "0", "0/0"}, 0},
        {"abc|2.00|" + record, {"0", "0", "0/0"}, 0},
        {"30|15.00", {"0", "0", "0/0"}, 0},
        {"30|15.00|", {"0", "0", "0/0"}, 0},
        {"", {"0", "0", "0/0"}, 0},
        {" 7 |x|" + record, {" 7 ", "x", "1/1"}, 1},
    };
    for (const auto& c : cases) {
        sim_->Script("yh_mx", Reply(200, c.reply));
        Click("超级按钮_短信明细_刷新");
        EXPECT_EQ(SmsTotals(), c.totals) << c.reply;
        EXPECT_EQ(List("超级列表框_短信明细")->topLevelItemCount(), c.rows) << c.reply;
    }
}

// Records with fewer than 6 fields are skipped; the numbering counts the rows shown.
TEST_F(RecordsPageTest, ShortRecordsAreSkipped) {
    sim_->Script("yh_mx", Reply(200, Gbk("4|2.00|a#c-b#c-c#c-d#c-e#c-f#c+1#c-2#c-3#c-4#c-5"
                                         "#c+g#c-h#c-i#c-j#c-k#c-l#c-m#c+")));
    Menu(&FundsMenu::smsRecords);
    ASSERT_EQ(List("超级列表框_短信明细")->topLevelItemCount(), 2);
    EXPECT_EQ(Row("超级列表框_短信明细", 0), QStringList({"1", "a", "b", "c", "d", "f", "e"}));
    EXPECT_EQ(Row("超级列表框_短信明细", 1), QStringList({"2", "g", "h", "i", "j", "l", "k"}));
}

// Paging past either end is refused and sends nothing; an empty label refuses both ways and
// the last page then asks for an empty page.
TEST_F(RecordsPageTest, PagingPastTheEndsIsRefused) {
    const struct {
        const char* label;
        const char* button;
        const char* message;  // nullptr: the request goes out
        const char* target;
    } cases[] = {
        {"7/7", "超级按钮_短信明细_下一页", "当前已是最后一页", nullptr},
        {"1/7", "超级按钮_短信明细_上一页", "当前已是最前一页", nullptr},
        {"", "超级按钮_短信明细_下一页", "当前已是最后一页", nullptr},
        {"", "超级按钮_短信明细_上一页", "当前已是最前一页", nullptr},
        {"0/0", "超级按钮_短信明细_下一页", "当前已是最后一页", nullptr},
        {"3/7", "超级按钮_短信明细_下一页", nullptr, "/yh_mx/…&y=4"},
        {"3/7", "超级按钮_短信明细_上一页", nullptr, "/yh_mx/…&y=2"},
        {"2/7", "超级按钮_短信明细_上一页", nullptr, "/yh_mx/…"},
        {"", "超级按钮_短信明细_尾页", nullptr, "/yh_mx/…&y="},
    };
    for (const auto& c : cases) {
        sim_->ClearRequests();
        fakes_.messageBoxes.shown.clear();
        SetSmsPageLabel(c.label);
        Click(c.button);
        if (c.message) {
            EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList{QString::fromUtf8(c.message)})
                << c.label << c.button;
            EXPECT_TRUE(Targets().isEmpty()) << c.label << c.button;
        } else {
            EXPECT_TRUE(fakes_.messageBoxes.shown.empty()) << c.label << c.button;
            EXPECT_EQ(Targets(), QStringList{QString::fromUtf8(c.target)}) << c.label << c.button;
        }
    }
}

// Next and previous write the new label before the reply; a failed reply leaves the list empty
// under it and the totals as they were.
TEST_F(RecordsPageTest, AFailedPageKeepsItsNewLabelAndTheTotals) {
    Menu(&FundsMenu::smsRecords);
    sim_->Script("yh_mx", Reply(200, "0|0|"));
    Click("超级按钮_短信明细_下一页");
    EXPECT_EQ(SmsTotals(), QStringList({"2400", "1284.25", "2/80"}));
    EXPECT_EQ(List("超级列表框_短信明细")->topLevelItemCount(), 0);

    // A page beyond the platform's last one has no records: the same.
    sim_->ClearScripts();
    SetSmsPageLabel("85/90");
    Click("超级按钮_短信明细_下一页");
    EXPECT_EQ(Targets().last(), "/yh_mx/…&y=86");
    EXPECT_EQ(SmsTotals(), QStringList({"2400", "1284.25", "86/90"}));
    EXPECT_EQ(List("超级列表框_短信明细")->topLevelItemCount(), 0);
}

// Search mode: on after a search that found records, kept by a search that found nothing, off
// only after refresh; each list has its own.
TEST_F(RecordsPageTest, SearchModeIsPerListAndEndsOnlyWithRefresh) {
    Menu(&FundsMenu::smsRecords);
    Menu(&FundsMenu::referralRecords);
    TypeSearch("编辑框_短信明细_搜索", "1003");
    Click("按钮_短信明细_搜索");
    const QStringList found = SmsTotals();
    EXPECT_EQ(found[2], "1/" + QString::number((found[0].toInt() + 29) / 30));

    TypeSearch("编辑框_短信明细_搜索", "no such record");
    Click("按钮_短信明细_搜索");
    EXPECT_EQ(SmsTotals(), QStringList({"0", "0", "0/0"}));

    sim_->ClearRequests();
    TypeSearch("编辑框_短信明细_搜索", "1005");
    Click("超级按钮_短信明细_首页");    // still searching, with the box's text now
    Click("超级按钮_推荐人明细_首页");  // the referral list never searched
    EXPECT_EQ(Targets(), QStringList({"/yh_mx_s/…&n=1005", "/tj_mx/…"}));

    Click("超级按钮_短信明细_刷新");
    sim_->ClearRequests();
    Click("超级按钮_短信明细_首页");
    EXPECT_EQ(Targets(), QStringList({"/yh_mx/…"}));
}

// "资金明细复制" only over a row with a 序号; its items copy the phone number and the SMS text.
TEST_F(RecordsPageTest, TheCopyMenuCopiesFromTheSelectedRow) {
    Menu(&FundsMenu::smsRecords);
    QTreeWidget* list = List("超级列表框_短信明细");
    QMenu* menu = window_->menus().smsRecords.menu;
    const auto rightClick = [&] {
        emit list->customContextMenuRequested(QPoint(5, 5));
        const bool shown = menu->isVisible();
        menu->hide();
        return shown;
    };
    list->clearSelection();
    EXPECT_FALSE(rightClick()) << "no selected row, no menu";

    list->topLevelItem(4)->setSelected(true);
    EXPECT_TRUE(rightClick());
    window_->menus().smsRecords.copyPhone->trigger();
    EXPECT_EQ(fakes_.clipboard.Text(), list->topLevelItem(4)->text(3));
    window_->menus().smsRecords.copySmsText->trigger();
    EXPECT_EQ(fakes_.clipboard.Text(), list->topLevelItem(4)->text(6));

    list->topLevelItem(4)->setText(0, QString());
    fakes_.clipboard.SetText(QStringLiteral("before"));
    EXPECT_FALSE(rightClick());
    window_->menus().smsRecords.copyPhone->trigger();
    EXPECT_EQ(fakes_.clipboard.Text(), "before");

    EXPECT_EQ(List("超级列表框_推荐人明细")->contextMenuPolicy(), Qt::DefaultContextMenu)
        << "the referral list has no menu";
}

// The two unpaged lists: their own separators, their field counts, the columns they show.
TEST_F(RecordsPageTest, WithdrawalAndRechargeRecordsUseTheirOwnForms) {
    sim_->Script("tx_mx", Reply(200, Gbk("张三|zs@pay|20.00|2026年1月2日|已打款|9,"
                                         "李四|ls@pay|30.00|2026年1月3日|处理中,"
                                         "王五|ww@pay|40.00|2026年1月4日|已退回|7|extra,")));
    sim_->Script("cz_mx", Reply(200, Gbk("A1,50.00,支付宝,2026年2月1日,充值成功|"
                                         "B2,60.00,x,2026年2月2日|"
                                         "C3,70.00,y,2026年2月3日,失败,z|")));
    Menu(&FundsMenu::withdrawalRecords);
    ASSERT_EQ(List("超级列表框_提现明细")->topLevelItemCount(), 2);
    EXPECT_EQ(Row("超级列表框_提现明细", 0),
              QStringList({"1", "张三", "zs@pay", "20.00", "2026年1月2日", "已打款"}));
    EXPECT_EQ(Row("超级列表框_提现明细", 1),
              QStringList({"2", "王五", "ww@pay", "40.00", "2026年1月4日", "已退回"}));

    Menu(&FundsMenu::rechargeRecords);
    EXPECT_EQ(Child<QTabWidget>("高级选择夹1")->currentIndex(), 8);
    ASSERT_EQ(List("超级列表框_充值记录")->topLevelItemCount(), 2);
    EXPECT_EQ(Row("超级列表框_充值记录", 0),
              QStringList({"1", "A1", "50.00", "2026年2月1日", "充值成功"}));
    EXPECT_EQ(Row("超级列表框_充值记录", 1),
              QStringList({"2", "C3", "70.00", "2026年2月3日", "失败"}));

    List("超级列表框_充值记录")->topLevelItem(1)->setSelected(true);
    window_->menus().rechargeRecords.copyOrderNumber->trigger();
    EXPECT_EQ(fakes_.clipboard.Text(), "C3");

    // The lists' own "刷新" items select and load as the menu items do.
    Child<QTabWidget>("高级选择夹1")->setCurrentIndex(3);
    sim_->ClearRequests();
    window_->menus().withdrawalRecords.refresh->trigger();
    EXPECT_EQ(Child<QTabWidget>("高级选择夹1")->currentIndex(), 6);
    window_->menus().rechargeRecords.refresh->trigger();
    EXPECT_EQ(Child<QTabWidget>("高级选择夹1")->currentIndex(), 8);
    EXPECT_EQ(Targets(), QStringList({"/tx_mx/…", "/cz_mx/…"}));
}

}  // namespace
}  // namespace lanxun
