#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "account/login_state.h"
#include "api/server_lines.h"
#include "platform/worker.h"
#include "project_catalogue.h"
#include "projects/apply_project_controller.h"
#include "projects/project_list_controller.h"
#include "projects/project_pickers_controller.h"
#include "support/fake_services.h"
#include "support/sim_lines.h"
#include "support/sim_test.h"

namespace lanxun {
namespace {

using platformsim::ScriptedReply;
using platformsim::SimProject;

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

const QString kPrefix = QStringLiteral("username=demo2026&password=lanxun666");

QStringList Items(const QComboBox& box) {
    QStringList items;
    for (int i = 0; i < box.count(); ++i) {
        items << box.itemText(i);
    }
    return items;
}

QStringList Row(const QTreeWidget& list, int row) {
    QStringList texts;
    for (int c = 0; c < 5; ++c) {
        texts << list.topLevelItem(row)->text(c);
    }
    return texts;
}

class ProjectsSimTest : public test::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        SetLines(test::SimLines(*sim_));
        CurrentLogin().userName = QStringLiteral("demo2026");
        CurrentLogin().password = QStringLiteral("lanxun666");
        sim_->Projects().SetProjects({
            {"1001", "WeChat", "0.50"},
            {"1002", "QQ", "0.30"},
            {"1010", "发送验证-Red", "0.45"},
            {"2001", "Bank(发送号码:95588#95533)", "1.00"},
            {"2002", "Mobile(发送号码:10086)", "0.80"},
        });
        sim_->Projects().SetFavourites("demo2026", {"1001", "1010", "2001", "2002"});

        list_.setColumnCount(5);
        progress_.hide();
        lists_ = std::make_unique<ProjectListController>(
            ProjectListController::Widgets{.window = &window_,
                                           .list = &list_,
                                           .searchBox = &searchBox_,
                                           .favouritesBox = &favouritesBox_,
                                           .progress = &progress_,
                                           .addMenu = &addMenu_,
                                           .removeMenu = &removeMenu_});
        pickers_ = std::make_unique<ProjectPickersController>(
            ProjectPickersController::Widgets{.window = &window_,
                                              .receivePicker = &receivePicker_,
                                              .receiveSearchBox = &receiveSearch_,
                                              .sendPicker = &sendPicker_,
                                              .sendingNumbers = &sendingNumbers_,
                                              .sendSearchBox = &sendSearch_});
    }

    void TearDown() override {
        pickers_.reset();
        sim_->Projects().SetProjects(platformsim::ProjectCatalogue::DemoProjects());
    }

    QStringList Targets() const { return test::SimTargets(*sim_); }

    // Runs a loader to its end while the UI thread takes its calls.
    void RunLoader(std::unique_ptr<Worker> loader) {
        loader->Start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return loader->Finished(); }, 30000));
    }

    void Select(const char* id) {
        const auto found = list_.findItems(QString::fromUtf8(id), Qt::MatchExactly, 0);
        ASSERT_EQ(found.size(), 1) << id;
        list_.setCurrentItem(found.front());
    }

    test::FakeServices fakes_;
    // 10 times: the platform time-outs follow the clock, and a reply held for a few hundred
    // ms must still arrive.
    test::FastClock clock_{10};
    test::ScopedClock useClock_{clock_};
    QWidget window_;
    QTreeWidget list_;
    QLineEdit searchBox_;
    QCheckBox favouritesBox_;
    QProgressBar progress_;
    QMenu addMenu_;
    QMenu removeMenu_;
    QComboBox receivePicker_;
    QLineEdit receiveSearch_;
    QComboBox sendPicker_;
    QComboBox sendingNumbers_;
    QLineEdit sendSearch_;
    std::unique_ptr<ProjectListController> lists_;
    std::unique_ptr<ProjectPickersController> pickers_;
};

TEST_F(ProjectsSimTest, ListTabLoadsSearchesAndShowsFavourites) {
    favouritesBox_.setChecked(true);
    lists_->LoadFullList();
    EXPECT_FALSE(favouritesBox_.isChecked());
    ASSERT_EQ(list_.topLevelItemCount(), 5);
    EXPECT_EQ(Row(list_, 0), (QStringList{"1001", "WeChat", "0.50", U("收短信"), U("√")}));
    EXPECT_EQ(Row(list_, 1), (QStringList{"1002", "QQ", "0.30", U("收短信"), ""}));
    // "发送" alone is still a receive project in the list.
    EXPECT_EQ(Row(list_, 2)[3], U("收短信"));
    EXPECT_EQ(Row(list_, 3)[3], U("发短信"));
    EXPECT_TRUE(window_.isEnabled());
    EXPECT_TRUE(progress_.isHidden());

    // The list search sends the text as typed, blanks included.
    searchBox_.setText(QStringLiteral("Q Q"));
    lists_->Search();
    searchBox_.clear();
    lists_->Search();
    EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList{U("请输入搜索内容")});

    favouritesBox_.setChecked(true);
    lists_->FavouritesBoxClicked();
    ASSERT_EQ(list_.topLevelItemCount(), 2) << "xiangmu_ysc without keys: receive favourites";
    EXPECT_EQ(Row(list_, 0), (QStringList{"1001", "WeChat", "0.50", U("收短信"), U("√")}));
    EXPECT_TRUE(favouritesBox_.isChecked());

    EXPECT_EQ(Targets(), (QStringList{"/liebiao_xm/" + kPrefix + "&lx=1&ss=",
                                      "/liebiao_xm/" + kPrefix + "&lx=1&ss=Q%20Q",
                                      "/xiangmu_ysc/" + kPrefix}));
}

TEST_F(ProjectsSimTest, RowMenuOnlyForProjectIdsFrom1000) {
    const struct {
        const char* id;
        bool favouritesView;
        QMenu* menu;
    } cases[] = {
        {"1000", false, &addMenu_}, {"1000", true, &removeMenu_}, {"999", false, nullptr},
        {"", false, nullptr},       {"abc", true, nullptr},       {"12ab", false, nullptr},
        {"-1500", false, nullptr},
    };
    for (const auto& c : cases) {
        list_.clear();
        list_.addTopLevelItem(new QTreeWidgetItem(QStringList{U(c.id), "X", "1", "", ""}));
        list_.setCurrentItem(list_.topLevelItem(0));
        favouritesBox_.setChecked(c.favouritesView);
        EXPECT_EQ(lists_->RowMenu(), c.menu) << c.id << " " << c.favouritesView;
    }
    list_.clear();
    EXPECT_EQ(lists_->RowMenu(), nullptr) << "no row selected";
}

TEST_F(ProjectsSimTest, FavouritesAreAddedAndRemovedWithTheirExactCalls) {
    lists_->LoadFullList();
    Select("1002");
    lists_->AddFavourite();
    EXPECT_EQ(list_.currentItem()->text(4), U("√"));
    EXPECT_EQ(sim_->Projects().Favourites("demo2026"),
              (std::vector<std::string>{"1001", "1010", "2001", "2002", "1002"}));
    // A refusal is shown as the platform worded it; the row keeps its mark.
    list_.addTopLevelItem(new QTreeWidgetItem(QStringList{"1500", "Gone", "1", "", ""}));
    Select("1500");
    lists_->AddFavourite();
    EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList{U("收藏失败，项目不存在")});
    EXPECT_EQ(list_.currentItem()->text(4), QString());

    favouritesBox_.setChecked(true);
    lists_->LoadFavourites();
    Select("1001");
    lists_->RemoveFavourite();
    EXPECT_TRUE(list_.findItems("1001", Qt::MatchExactly, 0).isEmpty());
    // Removing what is no favourite fails without a word and keeps the row.
    sim_->Projects().SetFavourites("demo2026", {});
    Select("1010");
    lists_->RemoveFavourite();
    EXPECT_EQ(list_.findItems("1010", Qt::MatchExactly, 0).size(), 1);
    EXPECT_EQ(fakes_.messageBoxes.Texts().size(), 1);

    const QStringList targets = Targets();
    // The "#" of the joined value reaches the platform inside the target.
    EXPECT_TRUE(targets.contains("/xiangmu_shouchan/" + kPrefix + "&id=1002%23c-QQ%23c-0.30"))
        << targets.join('\n').toStdString();
    EXPECT_TRUE(targets.contains("/xiangmu_qxsc/" + kPrefix + "&id=1001"));
    EXPECT_TRUE(targets.contains("/xiangmu_qxsc/" + kPrefix + "&id=1010"));
}

TEST_F(ProjectsSimTest, PickersFillFromFavouritesAndSearches) {
    RunLoader(pickers_->CreateReceiveLoader());
    EXPECT_EQ(Items(receivePicker_), QStringList{U("[1001]WeChat - {价格}：0.50")})
        << "the name with 发送 stays out of the receive picker";
    RunLoader(pickers_->CreateSendLoader());
    EXPECT_EQ(Items(sendPicker_), (QStringList{U("[2002]Mobile - {价格}：0.80 - (发短信)"),
                                               U("[2001]Bank - {价格}：1.00 - (发短信)")}));
    EXPECT_EQ(pickers_->sendProjectList().Text(),
              U("Mobile(发送号码:10086)\r\nBank(发送号码:95588#95533)\r\n"));
    EXPECT_EQ(Items(sendingNumbers_), (QStringList{"10086", "95588", "95533"}));
    EXPECT_EQ(sendPicker_.currentIndex(), 0);
    EXPECT_TRUE(window_.isEnabled());

    // Picker searches send the text with every blank removed.
    receiveSearch_.setText(U("Q\u3000 Q"));
    pickers_->SearchReceivePicker();
    EXPECT_EQ(Items(receivePicker_), QStringList{U("[1002]QQ - {价格}：0.30")});
    sendSearch_.setText(QStringLiteral("Ba nk"));
    pickers_->SearchSendPicker();
    EXPECT_EQ(pickers_->sendProjectList().Text(), U("Bank(发送号码:95588#95533)\r\n"));
    EXPECT_EQ(Items(sendingNumbers_), (QStringList{"95588", "95533"}));
    // Nothing found: the placeholder, and the sending numbers stay as they were.
    sendSearch_.setText(QStringLiteral("none"));
    pickers_->SearchSendPicker();
    EXPECT_EQ(Items(sendPicker_),
              QStringList{U("您未收藏[发短信项目]，可通过关键字或项目ID进行搜索。")});
    EXPECT_EQ(pickers_->sendProjectList().Text(), QString());
    EXPECT_EQ(Items(sendingNumbers_), (QStringList{"95588", "95533"}));
    receiveSearch_.setText(QStringLiteral("  "));
    pickers_->SearchReceivePicker();
    EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList{U("请输入项目ID或关键字")});

    EXPECT_EQ(Targets(), (QStringList{"/xiangmu_ysc/" + kPrefix, "/xiangmu_ysc/" + kPrefix + "&l=1",
                                      "/liebiao_xm/" + kPrefix + "&lx=1&ss=QQ",
                                      "/liebiao_xm/" + kPrefix + "&lx=1&ss=Bank",
                                      "/liebiao_xm/" + kPrefix + "&lx=1&ss=none"}));
}

// A favourites load that answers late, finishing while the user reloads and searches the same
// picker: whatever lands last, the picker holds one whole result.
TEST_F(ProjectsSimTest, LateLoaderAndReloadLeaveOneConsistentPicker) {
    const std::string slow = "1001#c-WeChat#c-0.50#c+1002#c-QQ#c-0.30#c+";
    sim_->ScriptSequence("xiangmu_ysc", {ScriptedReply{.body = slow, .delayMs = 400},
                                         ScriptedReply{.body = "1002#c-QQ#c-0.30#c+"}});
    const QStringList slowItems{U("[1002]QQ - {价格}：0.30"), U("[1001]WeChat - {价格}：0.50")};
    const QStringList fastItems{U("[1002]QQ - {价格}：0.30")};
    const QStringList searchItems{U("[1001]WeChat - {价格}：0.50")};

    pickers_->ReloadReceivePicker();
    // The loader's calls to the UI thread need its event loop while we wait.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !sim_->Requests().empty(); }, 30000));
    pickers_->ReloadReceivePicker();
    receiveSearch_.setText(QStringLiteral("WeChat"));
    pickers_->SearchReceivePicker();  // the loaders' results arrive while it waits
    ASSERT_TRUE(QTest::qWaitFor([&] { return pickers_->RunningReloads().empty(); }, 30000));
    const QStringList items = Items(receivePicker_);
    EXPECT_TRUE(items == slowItems || items == fastItems || items == searchItems)
        << items.join('|').toStdString();
    EXPECT_EQ(receivePicker_.currentIndex(), 0);
    EXPECT_TRUE(window_.isEnabled());
}

TEST_F(ProjectsSimTest, ApplicationsAreEncodedAndOnlyReviewClearsTheInputs) {
    QLineEdit receiveName, sendName;
    QPlainTextEdit smsTemplate, numbers;
    ApplyProjectController apply(ApplyProjectController::Widgets{.window = &window_,
                                                                 .receiveName = &receiveName,
                                                                 .receiveTemplate = &smsTemplate,
                                                                 .sendName = &sendName,
                                                                 .sendingNumbers = &numbers});

    apply.ApplyReceiveProject();
    receiveName.setText(QStringLiteral("ab"));
    apply.ApplyReceiveProject();
    apply.ApplySendProject();
    sendName.setText(QStringLiteral("Bk"));
    apply.ApplySendProject();
    EXPECT_EQ(fakes_.messageBoxes.Texts(), (QStringList{U("请输入项目名称"), U("请输入短信模板"),
                                                        U("请输入项目名称"), U("请输入发送号码")}));
    EXPECT_TRUE(Targets().isEmpty());

    fakes_.messageBoxes.shown.clear();
    smsTemplate.setPlainText(U("码1\n2"));
    apply.ApplyReceiveProject();
    numbers.setPlainText(QStringLiteral("106#107"));
    apply.ApplySendProject();
    EXPECT_EQ(fakes_.messageBoxes.Texts(), (QStringList{U("审核中"), U("审核中")}));
    EXPECT_TRUE(receiveName.text().isEmpty());
    EXPECT_TRUE(smsTemplate.toPlainText().isEmpty());
    EXPECT_TRUE(numbers.toPlainText().isEmpty());
    ASSERT_EQ(sim_->Projects().Applications().size(), 2u);
    EXPECT_EQ(sim_->Projects().Applications()[0].text, "码1\r\n2");

    // Any other reply, even one holding 审核中, keeps what was typed.
    sim_->Script("sq_dx", ScriptedReply{.body = "\xC9\xF3\xBA\xCB\xD6\xD0!"});  // 审核中!
    sendName.setText(QStringLiteral("Bk"));
    numbers.setPlainText(QStringLiteral("106"));
    apply.ApplySendProject();
    EXPECT_EQ(sendName.text(), QStringLiteral("Bk"));
    EXPECT_EQ(fakes_.messageBoxes.Texts().last(), U("审核中!"));

    const QStringList targets = Targets();
    ASSERT_EQ(targets.size(), 3);
    EXPECT_EQ(targets[0], "/sq_dx/" + kPrefix + "&m=%61%62&dx=%E7%A0%81%31%0D%0A%32&l=1");
    EXPECT_EQ(targets[1], "/sq_dx/" + kPrefix + "&m=%42%6B&hm=%31%30%36%23%31%30%37&l=2");
}

}  // namespace
}  // namespace lanxun
