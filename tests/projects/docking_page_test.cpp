#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QTreeWidget>
#include <QWidget>
#include <ostream>

#include "docking_fixture.h"
#include "projects/docking_page_controller.h"
#include "projects/docking_rows.h"
#include "support/sim_reply.h"

namespace lanxun {

// The menu by its caption in a failure message.
void PrintTo(DockingMenu menu, std::ostream* out) {
    switch (menu) {
        case DockingMenu::Refresh:
            *out << "专属刷新";
            return;
        case DockingMenu::Running:
            *out << "暂停对接";
            return;
        case DockingMenu::Paused:
            *out << "恢复对接";
            return;
    }
    *out << static_cast<int>(menu);
}

namespace {

using test::Gbk;

class DockingPageTest : public test::DockingFixture {
protected:
    DockingPageTest() {
        list.setColumnCount(6);
        panel.hide();
    }

    QStringList Row(int row) const {
        QStringList cells;
        for (int column = 0; column < 6; ++column) {
            cells << list.topLevelItem(row)->text(column);
        }
        return cells;
    }
    void SelectRow(int row) { list.topLevelItem(row)->setSelected(true); }
    // A list the user sees, without asking the platform.
    void ShowRows(const QList<QStringList>& rows) { FillList(&list, rows); }

    QWidget window;
    QTreeWidget list{&window};
    QProgressBar progress{&window};
    QGroupBox panel{&window};
    QLineEdit code{&panel};
    DockingPageController controller{{.window = &window,
                                      .list = &list,
                                      .progress = &progress,
                                      .joinPanel = &panel,
                                      .joinCode = &code}};
};

// ---- the list ----

TEST_F(DockingPageTest, LoadShowsEachUsableRecordInReplyOrder) {
    sim.Script(
        "yh_zs_lb",
        test::Reply(200, Gbk("正常#c-ZS2026A0001QX#c-腾讯QQ#c-0.80#c-km#c-326#c-1#c-2#c-3#c+"
                             "暂停#c-ZS2026A0005AL#c-阿里云(发送号码:10690)(发送)#c-0.50#c-km#c-37"
                             "#c-1#c-2#c-3#c+"
                             "正常#c-ZS8FIELDS0001#c-八个字段#c-1#c-km#c-5#c-1#c-2#c+"
                             "停用#c-ZS2026A0006JD#c-京东#c-0.70#c-km#c-120#c-1#c-2#c-3#c+")));
    controller.LoadList();

    EXPECT_EQ(Targets(), QStringList{Prefix("yh_zs_lb")});
    EXPECT_EQ(sim.Requests().at(0).line, "dockingLine");
    ASSERT_EQ(list.topLevelItemCount(), 3);  // the record of 8 fields adds no row
    EXPECT_EQ(Row(0), QStringList({"ZS2026A0001QX", "腾讯QQ", "0.80", "收短信", "正常", "326"}));
    EXPECT_EQ(Row(1), QStringList({"ZS2026A0005AL", "阿里云", "0.50", "发短信", "暂停", "37"}));
    EXPECT_EQ(Row(2), QStringList({"ZS2026A0006JD", "京东", "0.70", "收短信", "停用", "120"}));
    EXPECT_TRUE(window.isEnabled());
    EXPECT_TRUE(progress.isHidden());
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(DockingPageTest, ALoadReplacesTheRowsAndADownPlatformLeavesTheListEmpty) {
    controller.LoadList();
    ASSERT_EQ(list.topLevelItemCount(), 3);  // the demo user's own dockings
    EXPECT_EQ(Row(1)[4], "暂停");
    EXPECT_EQ(Row(2)[1], "携程旅行");

    sim.Stop();
    controller.LoadList();
    EXPECT_EQ(list.topLevelItemCount(), 0);
    EXPECT_TRUE(window.isEnabled());
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(DockingPageTest, TenThousandRecordsAreAllListed) {
    std::string reply;
    for (int i = 0; i < 10000; ++i) {
        reply += Gbk("正常#c-ZS") + std::to_string(1000000000000 + i) + "#c-p" + std::to_string(i) +
                 "#c-1#c-k#c-9#c-1#c-2#c-3#c+";
    }
    sim.Script("yh_zs_lb", test::Reply(200, reply));
    controller.LoadList();
    ASSERT_EQ(list.topLevelItemCount(), 10000);
    EXPECT_EQ(Row(9999)[0], "ZS1000000009999");
}

// ---- the menu, pause, resume, delete, copy ----

TEST_F(DockingPageTest, TheMenuFollowsTheSelectedRow) {
    ShowRows({{"ZS2026A0001QX", "a", "1", "收短信", "暂停", "1"},
              {"ZS2026A0002WX", "b", "1", "收短信", "正常", "1"},
              {"ZS2026A0003TB", "c", "1", "收短信", "停用", "1"},
              {"", "d", "1", "收短信", "暂停", "1"}});
    EXPECT_EQ(controller.MenuForSelection(), DockingMenu::Refresh);  // nothing selected
    const DockingMenu expected[] = {DockingMenu::Paused, DockingMenu::Running, DockingMenu::Running,
                                    DockingMenu::Refresh};
    for (int row = 0; row < 4; ++row) {
        list.clearSelection();
        SelectRow(row);
        EXPECT_EQ(controller.MenuForSelection(), expected[row]) << row;
    }
}

TEST_F(DockingPageTest, PauseResumeAndCopyAgainstThePlatform) {
    controller.LoadList();
    SelectRow(0);  // ZS2025B0901KS, 正常
    sim.ClearRequests();

    controller.Pause();
    EXPECT_EQ(Targets(), QStringList{Prefix("yh_zs_fhzt") + "&d=ZS2025B0901KS"});
    EXPECT_EQ(Row(0)[4], "暂停");
    ASSERT_EQ(services.messageBoxes.shown.size(), 1u);
    const Message& asked = services.messageBoxes.shown[0];
    EXPECT_EQ(asked.text, "暂停对接");
    EXPECT_EQ(asked.buttons, MessageButtons::YesNo);
    EXPECT_EQ(asked.icon, MessageIcon::None);
    EXPECT_EQ(controller.MenuForSelection(), DockingMenu::Paused);

    controller.Resume();
    EXPECT_EQ(Messages().last(), "恢复对接");
    EXPECT_EQ(Row(0)[4], "正常");

    controller.CopyCode();
    EXPECT_EQ(services.clipboard.Text(), "ZS2025B0901KS");

    // The platform holds the status the list shows.
    controller.LoadList();
    EXPECT_EQ(Row(0)[4], "正常");
    EXPECT_EQ(Messages().size(), 2);
}

TEST_F(DockingPageTest, PauseOfARowThatIsNotActiveDoesNothing) {
    ShowRows({{"ZS2026A0001QX", "a", "1", "收短信", "暂停", "1"},
              {"ZS2026A0002WX", "b", "1", "收短信", "停用", "1"}});
    for (int row : {0, 1}) {
        list.clearSelection();
        SelectRow(row);
        controller.Pause();
    }
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_TRUE(Targets().isEmpty());
}

TEST_F(DockingPageTest, DeleteRemovesTheRowTheUserConfirmed) {
    controller.LoadList();
    SelectRow(1);
    sim.ClearRequests();
    controller.Delete();
    EXPECT_EQ(Targets(), QStringList{Prefix("yh_zs_sc") + "&d=ZS2025B0902BL"});
    EXPECT_EQ(Messages(), QStringList{"删除对接"});
    ASSERT_EQ(list.topLevelItemCount(), 2);
    EXPECT_EQ(Row(1)[0], "ZS2025B0903XC");
}

TEST_F(DockingPageTest, NoSendsNothing) {
    ShowRows({{"ZS2026A0001QX", "a", "1", "收短信", "正常", "1"}});
    SelectRow(0);
    services.messageBoxes.defaultAnswer = false;
    controller.Pause();
    controller.Resume();
    controller.Delete();
    EXPECT_EQ(Messages(), QStringList({"暂停对接", "恢复对接", "删除对接"}));
    EXPECT_TRUE(Targets().isEmpty());
    EXPECT_EQ(Row(0)[4], "正常");
    EXPECT_EQ(list.topLevelItemCount(), 1);
}

TEST_F(DockingPageTest, ActionsWithoutAValidRowSayWhyAndSendNothing) {
    struct Case {
        const char* code;  // nullptr: no row selected
    };
    const Case cases[] = {{nullptr}, {""}, {"ZS2026A0001Q"}, {"对接码一二三"}, {"ZS 2026 A01 "}};
    for (const Case& c : cases) {
        list.clear();
        services.messageBoxes.shown.clear();
        ShowRows({{c.code ? QString::fromUtf8(c.code) : "x", "a", "1", "收短信", "正常", "1"}});
        if (c.code) {
            SelectRow(0);
        }
        controller.Pause();
        controller.Resume();
        controller.Delete();
        EXPECT_EQ(Messages(), QStringList({"操作对接失败", "操作对接失败", "请选择要删除的对接"}))
            << (c.code ? c.code : "no selection");
    }
    EXPECT_TRUE(Targets().isEmpty());
}

TEST_F(DockingPageTest, ARefusalOrADownPlatformIsShownAndChangesNothing) {
    ShowRows({{"ZS2026A0001QX", "a", "1", "收短信", "正常", "1"}});
    SelectRow(0);
    sim.Script("yh_zs_fhzt", test::Reply(200, Gbk("对接已被卡商关闭 #c+ a&b=c")));
    sim.Script("yh_zs_sc", test::Reply(200, Gbk("删除失败")));
    controller.Pause();
    controller.Delete();
    sim.Stop();
    controller.Resume();
    controller.Delete();
    EXPECT_EQ(Messages(), QStringList({"暂停对接", "对接已被卡商关闭 #c+ a&b=c", "删除对接",
                                       "删除失败", "恢复对接", "", "删除对接", ""}));
    EXPECT_EQ(Row(0)[4], "正常");
    EXPECT_EQ(list.topLevelItemCount(), 1);
}

TEST_F(DockingPageTest, CopyWithoutACodeLeavesTheClipboard) {
    services.clipboard.SetText("kept");
    ShowRows({{"", "a", "1", "收短信", "正常", "1"}});
    controller.CopyCode();
    SelectRow(0);
    controller.CopyCode();
    EXPECT_EQ(services.clipboard.Text(), "kept");
}

// ---- join by code ----

TEST_F(DockingPageTest, JoinByCodeSendsTheTrimmedCodeAndReloads) {
    controller.ShowJoinPanel();
    EXPECT_TRUE(panel.isVisibleTo(&window));
    code.setText(QStringLiteral(" \u3000ZS2026P0100MT\u3000 "));
    controller.JoinByCode();
    EXPECT_EQ(Targets(),
              QStringList({Prefix("yh_zs_jr") + "&d=ZS2026P0100MT", Prefix("yh_zs_lb")}));
    EXPECT_FALSE(panel.isVisibleTo(&window));
    ASSERT_EQ(list.topLevelItemCount(), 4);
    EXPECT_EQ(Row(3), QStringList({"ZS2026P0100MT", "美团", "0.65", "收短信", "正常", "64"}));
    EXPECT_TRUE(Messages().isEmpty());

    controller.ShowJoinPanel();
    EXPECT_EQ(code.text(), "");
}

TEST_F(DockingPageTest, JoinCodesAreCheckedInBytesAfterTrimming) {
    struct Case {
        QString typed;
        QString sent;  // the target's tail, as the platform receives it; empty: nothing sent
    };
    const Case cases[] = {
        {"ZS2026A0001Q", ""},          // 12 bytes
        {"  ZS2026A0001Q\u3000", ""},  // 12 after trimming
        {"", ""},
        {"\u3000\u3000\u3000\u3000\u3000\u3000\u3000", ""},  // blanks only
        {"ZS2026A0001QX", "ZS2026A0001QX"},                  // 13 bytes
        {"对接码一二三四", "%E5%AF%B9%E6%8E%A5%E7%A0%81%E4%B8%80%E4%BA%8C%E4%B8%89%E5%9B%9B"},
        {"ZS 2026 A0001", "ZS%202026%20A0001"},  // inner spaces stay, escaped on the wire
    };
    sim.Script("yh_zs_jr", test::Reply(200, Gbk("对接码不存在")));
    for (const Case& c : cases) {
        sim.ClearRequests();
        services.messageBoxes.shown.clear();
        controller.ShowJoinPanel();
        code.setText(c.typed);
        controller.JoinByCode();
        if (c.sent.isEmpty()) {
            EXPECT_EQ(Messages(), QStringList{"对接码输入错误"}) << c.typed.toStdString();
            EXPECT_TRUE(Targets().isEmpty()) << c.typed.toStdString();
        } else {
            EXPECT_EQ(Targets(), QStringList{Prefix("yh_zs_jr") + "&d=" + c.sent})
                << c.typed.toStdString();
            EXPECT_EQ(Messages(), QStringList{"对接码不存在"}) << c.typed.toStdString();
        }
        EXPECT_TRUE(panel.isVisibleTo(&window))
            << c.typed.toStdString();  // a refusal keeps the panel open
    }
}

TEST_F(DockingPageTest, ARefusedJoinIsShownAndKeepsThePanelWithItsInput) {
    controller.ShowJoinPanel();
    code.setText("ZS2099Z9999ZZ");
    controller.JoinByCode();
    EXPECT_EQ(Messages(), QStringList{"对接码不存在"});
    EXPECT_TRUE(panel.isVisibleTo(&window));
    EXPECT_EQ(code.text(), "ZS2099Z9999ZZ");
    EXPECT_EQ(Targets().size(), 1);

    sim.Stop();
    controller.JoinByCode();
    EXPECT_EQ(Messages().last(), "");
    EXPECT_TRUE(panel.isVisibleTo(&window));

    controller.HideJoinPanel();
    EXPECT_FALSE(panel.isVisibleTo(&window));
}

}  // namespace
}  // namespace lanxun
