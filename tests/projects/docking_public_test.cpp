#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QWidget>

#include "api/endpoints.h"
#include "api/platform_call.h"
#include "api/replies.h"
#include "docking_fixture.h"
#include "projects/docking_public_controller.h"
#include "projects/docking_rows.h"
#include "support/sim_reply.h"

namespace lanxun {
namespace {

using test::Gbk;

// Five published dockings: "发" stands in a send-SMS type, in a name, in the fifth
// column and in a docking code, which the filter does not search.
const char* const kPublicReply =
    "12#c-ZS2026A0001QX#c-腾讯QQ#c-0.80#c-km#c-326#c-1#c-2#c-3#c+"
    "37#c-ZS2026A0005AL#c-阿里云(发送号码:10690)#c-0.50#c-km#c-37#c-1#c-2#c-3#c+"
    "9#c-ZS2026发A0003TB#c-淘宝#c-0.60#c-km#c-89#c-1#c-2#c-3#c+"
    "8#c-ZS2026A0007FX#c-发现精彩#c-0.30#c-km#c-1#c-1#c-2#c-3#c+"
    "发货中#c-ZS2026A0008HH#c-盒马#c-0.90#c-km#c-2#c-1#c-2#c-3#c+"
    "1#c-ZS2026SHORT8#c-八个字段#c-1#c-km#c-5#c-1#c-2#c+";

class PublicDockingTest : public test::DockingFixture {
protected:
    PublicDockingTest() {
        full.setColumnCount(5);
        filtered.setColumnCount(5);
        filtered.hide();
    }

    void Load() {
        QSignalSpy finished(&controller, &PublicDockingController::LoadFinished);
        controller.StartLoad();
        ASSERT_TRUE(finished.wait(60000));
    }
    static QStringList Codes(const QTreeWidget& list) {
        QStringList codes;
        for (const QStringList& row : ListRows(&list)) {
            codes << row[0];
        }
        return codes;
    }

    QWidget window;
    QTreeWidget full{&window};
    QTreeWidget filtered{&window};
    QLineEdit search{&window};
    QProgressBar progress{&window};
    QPushButton pageButton{&window};
    PublicDockingController controller{{.window = &window,
                                        .fullList = &full,
                                        .filteredList = &filtered,
                                        .search = &search,
                                        .progress = &progress,
                                        .pageButton = &pageButton}};
};

TEST_F(PublicDockingTest, LoadFillsTheFullListWithFieldZeroInItsLastColumn) {
    sim.Script("yh_zs_gk_lb", test::Reply(200, Gbk(kPublicReply)));
    Load();
    EXPECT_EQ(Targets(), QStringList{Prefix("yh_zs_gk_lb")});
    EXPECT_EQ(sim.Requests().at(0).line, "dockingLine");
    const QList<QStringList> rows = ListRows(&full);
    ASSERT_EQ(rows.size(), 5);  // the record of 8 fields adds no row
    EXPECT_EQ(rows[1], QStringList({"ZS2026A0005AL", "阿里云", "0.50", "发短信", "37"}));
    EXPECT_EQ(rows[4], QStringList({"ZS2026A0008HH", "盒马", "0.90", "收短信", "发货中"}));
    EXPECT_TRUE(window.isEnabled());
    EXPECT_TRUE(progress.isHidden());
}

// A load that ends while the search box holds text leaves the filtered list over the new rows.
TEST_F(PublicDockingTest, AFinishedLoadIsFilteredAtOnce) {
    FillList(&full, {{"OLD0000000001", "旧的发", "1", "收短信", "1"}});
    search.setText("发");
    controller.Filter();
    sim.Script("yh_zs_gk_lb", test::Reply(200, Gbk(kPublicReply)));
    Load();
    EXPECT_TRUE(filtered.isVisibleTo(&window));
    EXPECT_EQ(Codes(filtered), QStringList({"ZS2026A0005AL", "ZS2026A0007FX", "ZS2026A0008HH"}));
}

TEST_F(PublicDockingTest, TheFilterSearchesEveryColumnButTheCode) {
    sim.Script("yh_zs_gk_lb", test::Reply(200, Gbk(kPublicReply)));
    Load();
    struct Case {
        QString text;
        QStringList codes;  // of the filtered list; empty text: the filtered list is hidden
    };
    const Case cases[] = {
        {"发", {"ZS2026A0005AL", "ZS2026A0007FX", "ZS2026A0008HH"}},  // type, name, fifth column
        {"淘宝", {"ZS2026发A0003TB"}},
        {"A0003", {}},   // only in a code
        {"腾讯qq", {}},  // case-sensitive
        {"0.",
         {"ZS2026A0001QX", "ZS2026A0005AL", "ZS2026发A0003TB", "ZS2026A0007FX",
          "ZS2026A0008HH"}},  // every row once, though two columns match
        {"没有", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        search.setText(c.text);
        controller.Filter();
        EXPECT_EQ(filtered.isVisibleTo(&window), !c.text.isEmpty()) << c.text.toStdString();
        if (!c.text.isEmpty()) {
            EXPECT_EQ(Codes(filtered), c.codes) << c.text.toStdString();
        }
    }
    EXPECT_EQ(full.topLevelItemCount(), 5);  // the full list is never touched
}

// The load empties and fills the full list while the user types into the search
// box; whenever the UI thread looks, the filtered list is the filter of the full
// list as it stands, never of a list half old and half new.
TEST_F(PublicDockingTest, ALoadRacingTheFilterLeavesOneConsistentList) {
    FillList(&full, {{"OLD0000000001", "旧的发", "1", "收短信", "1"},
                     {"OLD0000000002", "旧的", "1", "收短信", "1"}});
    search.setText("发");
    controller.Filter();
    ASSERT_EQ(filtered.topLevelItemCount(), 1);

    sim.Script("yh_zs_gk_lb", test::Reply(200, Gbk(kPublicReply), {}, 300));
    QSignalSpy finished(&controller, &PublicDockingController::LoadFinished);
    controller.StartLoad();
    const QString texts[] = {"发", "阿", "0.", "旧", "发"};
    int checks = 0;
    // Bounded generously: the loop ends when the load does.
    const QDeadlineTimer limit(30000);
    while (finished.isEmpty() && !limit.hasExpired()) {
        const QString text = texts[checks % 5];
        search.setText(text);
        controller.Filter();
        EXPECT_EQ(ListRows(&filtered), FilterDockingRows(ListRows(&full), text));
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        ++checks;
    }
    ASSERT_FALSE(finished.isEmpty());
    EXPECT_EQ(Codes(full).size(), 5);
    EXPECT_FALSE(Codes(full).contains("OLD0000000001"));
    EXPECT_EQ(ListRows(&filtered), FilterDockingRows(ListRows(&full), search.text()));
}

TEST_F(PublicDockingTest, TenThousandRecordsAndADownPlatform) {
    std::string reply;
    for (int i = 0; i < 10000; ++i) {
        reply += "5#c-ZS" + std::to_string(1000000000000 + i) + "#c-p#c-1#c-k#c-9#c-1#c-2#c-3#c+";
    }
    sim.Script("yh_zs_gk_lb", test::Reply(200, reply));
    Load();
    EXPECT_EQ(full.topLevelItemCount(), 10000);

    sim.Stop();
    Load();
    EXPECT_EQ(full.topLevelItemCount(), 0);
    EXPECT_TRUE(window.isEnabled());
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(PublicDockingTest, JoinShowsTheReplyWhateverItSays) {
    Load();  // the platform's published dockings
    ASSERT_GT(full.topLevelItemCount(), 1);
    full.topLevelItem(1)->setSelected(true);
    EXPECT_TRUE(controller.FullListOffersMenu());
    controller.JoinFromFullList();
    controller.JoinFromFullList();
    EXPECT_EQ(Messages(), QStringList({"加入对接成功", "您已加入该对接"}));

    search.setText("京东");
    controller.Filter();
    ASSERT_EQ(filtered.topLevelItemCount(), 1);
    EXPECT_FALSE(controller.FilteredListOffersMenu());
    filtered.topLevelItem(0)->setSelected(true);
    EXPECT_TRUE(controller.FilteredListOffersMenu());
    controller.JoinFromFilteredList();
    EXPECT_EQ(Messages().last(), "加入对接成功");
    EXPECT_EQ(Targets().mid(1), QStringList({Prefix("yh_zs_jr") + "&d=ZS2026A0002WX",
                                             Prefix("yh_zs_jr") + "&d=ZS2026A0002WX",
                                             Prefix("yh_zs_jr") + "&d=ZS2026A0006JD"}));

    // Joined from the public list, it is in the user's own list at its next load.
    QStringList own;
    for (const DockingRecord& record :
         ReadDockingList(FetchReply(DockingListUrl(CurrentCredentials())))) {
        own << record.code;
    }
    EXPECT_TRUE(own.contains("ZS2026A0002WX"));
    EXPECT_TRUE(own.contains("ZS2026A0006JD"));

    sim.Stop();
    controller.JoinFromFilteredList();
    EXPECT_EQ(Messages().last(), "");
}

TEST_F(PublicDockingTest, NothingIsJoinedWithoutACode) {
    FillList(&full, {{"\u3000 ", "a", "1", "收短信", "1"}});
    controller.JoinFromFullList();  // nothing selected
    full.topLevelItem(0)->setSelected(true);
    EXPECT_FALSE(controller.FullListOffersMenu());
    controller.JoinFromFullList();
    controller.JoinFromFilteredList();
    EXPECT_TRUE(Targets().isEmpty());
    EXPECT_TRUE(Messages().isEmpty());
}

}  // namespace
}  // namespace lanxun
