// The tab "发短信" against the local platform: obtaining a number, choosing a project's sending
// number, submitting an SMS, giving the number back and the two copies.

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QUrl>

#include "numbers/send_sms_page_controller.h"
#include "platform/clipboard.h"
#include "projects/project_items.h"
#include "records/balance_refresher.h"
#include "send_sms_fixture.h"

namespace lanxun {
namespace {

using test::Child;
using test::Gbk;
using test::Reply;

QString Escaped(const QString& text) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items << box->itemText(i);
    }
    return items;
}

QList<int> ItemLines(const QComboBox* box) {
    QList<int> lines;
    for (int i = 0; i < box->count(); ++i) {
        lines << box->itemData(i).toInt();
    }
    return lines;
}

class SendSmsPageTest : public test::SendSmsTest {
protected:
    // The request targets that reached one line ("numberLine", "sendLine", ...).
    QStringList TargetsOn(const char* line) const {
        QStringList targets;
        for (const platformsim::RecordedRequest& r : sim_->Requests()) {
            if (r.line == line) {
                targets << QString::fromStdString(r.target);
            }
        }
        return targets;
    }

    // Clicks `button` and tells whether the window and the button were disabled while its
    // handler waited.
    bool ClickSeesBusy(QAbstractButton* button) {
        bool busy = false;
        QTimer::singleShot(0, window_.data(),
                           [&] { busy = !window_->isEnabled() && !button->isEnabled(); });
        button->click();
        QCoreApplication::processEvents();
        return busy;
    }

    void ExpectIdle(QAbstractButton* button) {
        EXPECT_TRUE(window_->isEnabled());
        EXPECT_TRUE(button->isEnabled());
    }

    // Every field of the tab holding something.
    void FillFields() {
        number_->setText(QStringLiteral("13900000000"));
        homeRegion_->setText(QStringLiteral("号码归属地: 北京"));
        smsText_->setPlainText(QStringLiteral("旧短信"));
        obtainedAt_->setText(DateTimeText(kStart.addSecs(-60)));
        status_->setText(QStringLiteral("成功"));
        resultLine_->setText(QStringLiteral("旧结果"));
        content_->setPlainText(QStringLiteral("旧内容"));
    }

    static QString Province(const QString& number) {
        return FromGbk(QByteArray::fromStdString(
            platformsim::PlatformSim::SegmentProvince(number.toStdString())));
    }
};

// --- Obtaining a number -----------------------------------------------------------

TEST_F(SendSmsPageTest, ObtainClearsTheFieldsAsksWithDefaultOptionsAndShowsTheNumber) {
    FillFields();
    sim_->Script("yh_qh", Reply(200, "1|13812345678"));

    EXPECT_TRUE(ClickSeesBusy(obtainButton_));

    // Before the loop box was ever clicked the loop mode is empty.
    EXPECT_EQ(TargetsOn("numberLine"),
              QStringList{Prefix("yh_qh") + "&id=2001&operator=&region=&card=&loop="});
    EXPECT_EQ(number_->text(), "13812345678");
    EXPECT_EQ(homeRegion_->text(), QStringLiteral("号码归属地: ") + Province("13812345678"));
    EXPECT_EQ(obtainedAt_->text(), DateTimeText(kStart));
    EXPECT_EQ(smsText_->toPlainText(), "");
    EXPECT_EQ(status_->text(), "");
    EXPECT_EQ(resultLine_->text(), "");
    EXPECT_EQ(content_->toPlainText(), "");
    EXPECT_TRUE(fakes_.messageBoxes.shown.empty());
    ExpectIdle(obtainButton_);
}

TEST_F(SendSmsPageTest, ObtainSendsTheChosenOptionsAndTheLoopModeOfTheLastClick) {
    sim_->Script("yh_qh", Reply(200, "1|13812345678"));
    operator_->setCurrentIndex(operator_->findText(QStringLiteral("联通")));
    region_->setCurrentIndex(region_->findText(QStringLiteral("江苏")));
    card_->setCurrentIndex(card_->findText(QStringLiteral("实卡")));

    loopBox_->click();  // ticked: numbers may come again
    obtainButton_->click();
    loopBox_->click();  // clear: filtered
    obtainButton_->click();

    const QString options =
        "&id=2001&operator=2&region=" + Escaped(QStringLiteral("江苏")) + "&card=2&loop=";
    EXPECT_EQ(TargetsOn("numberLine"),
              (QStringList{Prefix("yh_qh") + options + "2", Prefix("yh_qh") + options + "1"}));
}

TEST_F(SendSmsPageTest, RefusalIsShownExactlyAsReceivedAndNothingIsFilledIn) {
    // The send side keeps every "0|"; a "1" without a number is no number either.
    for (const QString& reply : {QStringLiteral("0|余额不足0|请充值"), QStringLiteral("1|")}) {
        SCOPED_TRACE(reply.toStdString());
        fakes_.messageBoxes.shown.clear();
        sim_->Script("yh_qh", Reply(200, Gbk(reply)));

        obtainButton_->click();

        ASSERT_EQ(fakes_.messageBoxes.Texts(), QStringList{reply});
        EXPECT_EQ(fakes_.messageBoxes.shown[0].icon, MessageIcon::Question);
        EXPECT_EQ(fakes_.messageBoxes.shown[0].buttons, MessageButtons::Ok);
        EXPECT_EQ(number_->text(), "");
        EXPECT_EQ(obtainedAt_->text(), "");
        ExpectIdle(obtainButton_);
    }
}

TEST_F(SendSmsPageTest, EmptyReplyShowsNothingAndFillsNothing) {
    sim_->Script("yh_qh", Reply(200, "", {}, 0, true));
    obtainButton_->click();
    EXPECT_EQ(TargetsOn("numberLine").size(), 1);
    EXPECT_TRUE(fakes_.messageBoxes.shown.empty());
    EXPECT_EQ(number_->text(), "");
    EXPECT_EQ(homeRegion_->text(), "");
    ExpectIdle(obtainButton_);
}

TEST_F(SendSmsPageTest, NoValidProjectAsksNothingAndEnablesTheWindowAgain) {
    sim_->Script("yh_qh", Reply(200, "1|13812345678"));
    specified_->setText(QStringLiteral("13812345678"));
    struct Case {
        QString item;
        bool asks;
    };
    const Case cases[] = {
        {QString::fromUtf16(kSendPlaceholder), false},
        {QStringLiteral("[999]低号 - {价格}：1 - (发短信)"), false},
        {QStringLiteral("[abc]坏号 - {价格}：1 - (发短信)"), false},
        {QStringLiteral("[1000]最低 - {价格}：1 - (发短信)"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item.toStdString());
        sim_->ClearRequests();
        SelectProjectItem(c.item);
        obtainButton_->click();
        specifyButton_->click();
        EXPECT_EQ(TargetsOn("numberLine").size(), c.asks ? 2 : 0);
        EXPECT_TRUE(fakes_.messageBoxes.shown.empty());
        ExpectIdle(obtainButton_);
        ExpectIdle(specifyButton_);
    }
}

// --- The specified number -------------------------------------------------------------

TEST_F(SendSmsPageTest, SpecifiedNumberOfSixBytesOrLessIsRefusedBeforeAnyRequest) {
    // Blanks (ASCII and full-width) do not count; a Chinese character counts 2 bytes.
    for (const QString& typed : {QStringLiteral("1 2 3 4"), QStringLiteral("123　456"),
                                 QStringLiteral("号码12"), QString()}) {
        SCOPED_TRACE(typed.toStdString());
        fakes_.messageBoxes.shown.clear();
        FillFields();
        specified_->setText(typed);

        EXPECT_TRUE(ClickSeesBusy(specifyButton_));

        EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList{QStringLiteral("指定手机号码错误")});
        EXPECT_TRUE(TargetsOn("numberLine").isEmpty());
        // The number stays; the rest was cleared at the click.
        EXPECT_EQ(number_->text(), "13900000000");
        EXPECT_EQ(homeRegion_->text(), "");
        EXPECT_EQ(status_->text(), "");
        EXPECT_EQ(content_->toPlainText(), "");
        ExpectIdle(specifyButton_);
    }
}

TEST_F(SendSmsPageTest, SpecifiedNumberIsSentAsTypedAfterTheOptions) {
    sim_->ScriptSequence(
        "yh_qh", {Reply(200, Gbk(QStringLiteral("0|号码不可用"))), Reply(200, "1|13812345678")});
    number_->setText(QStringLiteral("13900000000"));
    specified_->setText(QStringLiteral("138 123 4"));  // seven digits with blanks

    specifyButton_->click();  // refused: the old number stays
    EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList{QStringLiteral("0|号码不可用")});
    EXPECT_EQ(number_->text(), "13900000000");

    specifyButton_->click();
    EXPECT_EQ(TargetsOn("numberLine"),
              QStringList(2, Prefix("yh_qh") +
                                 "&id=2001&operator=&region=&card=&loop=&phone=138%20123%204"));
    EXPECT_EQ(number_->text(), "13812345678");
    EXPECT_EQ(homeRegion_->text(), QStringLiteral("号码归属地: ") + Province("13812345678"));
    EXPECT_EQ(obtainedAt_->text(), DateTimeText(kStart));

    // Six characters but eight GBK bytes: long enough.
    specified_->setText(QStringLiteral("号码1234"));
    specifyButton_->click();
    EXPECT_EQ(TargetsOn("numberLine").value(2),
              Prefix("yh_qh") + "&id=2001&operator=&region=&card=&loop=&phone=" +
                  Escaped(QStringLiteral("号码1234")));
}

// --- Choosing a project ---------------------------------------------------------------

TEST_F(SendSmsPageTest, LoadedPickerHoldsEveryProjectsNumbersWithTheirLineIndex) {
    EXPECT_EQ(Items(sendingNumbers_), (QStringList{"10086", "10085", "95588"}));
    EXPECT_EQ(ItemLines(sendingNumbers_), (QList<int>{0, 0, 1}));
    // A selection made by code is not the user's pick: the numbers stay.
    picker_->setCurrentIndex(1);
    EXPECT_EQ(sendingNumbers_->count(), 3);
}

TEST_F(SendSmsPageTest, PickingAProjectShowsItsSendingNumbersFirstSelected) {
    Pick(1);
    EXPECT_EQ(Items(sendingNumbers_), QStringList{"95588"});
    EXPECT_EQ(ItemLines(sendingNumbers_), QList<int>{1});
    Pick(0);
    EXPECT_EQ(Items(sendingNumbers_), (QStringList{"10086", "10085"}));
    EXPECT_EQ(ItemLines(sendingNumbers_), (QList<int>{0, 0}));
    EXPECT_EQ(sendingNumbers_->currentIndex(), 0);
}

TEST_F(SendSmsPageTest, NameInsideAnotherProjectsNameGetsOnlyItsOwnNumbers) {
    ShowSendProjects({{"2010", "QQ(发送号码:1069001)", "1"},
                      {"2011", "QQ音乐(发送号码:1069002#1069003)", "1"},
                      {"2012", "A - B(发送号码:1069004)", "1"}});
    Pick(0);
    EXPECT_EQ(Items(sendingNumbers_), QStringList{"1069001"});
    Pick(1);
    EXPECT_EQ(Items(sendingNumbers_), (QStringList{"1069002", "1069003"}));
    // The item shows the name up to " -" only; the project is still found.
    Pick(2);
    EXPECT_EQ(Items(sendingNumbers_), QStringList{"1069004"});
    EXPECT_EQ(ItemLines(sendingNumbers_), QList<int>{2});
}

TEST_F(SendSmsPageTest, PlaceholderLeavesTheSendingNumbersAlone) {
    ShowSendProjects({});
    ASSERT_EQ(Items(picker_), QStringList{QString::fromUtf16(kSendPlaceholder)});
    Pick(0);
    EXPECT_EQ(sendingNumbers_->count(), 3);
}

TEST_F(SendSmsPageTest, ProjectWithoutUsableNumbersEmptiesThePickerAndSubmitAsksForOne) {
    ShowSendProjects({{"2005", "空号码(发送号码:)", "1"}, {"2006", "没括号(发送号码:10690", "1"}});
    Pick(0);
    EXPECT_EQ(sendingNumbers_->count(), 0);
    Pick(1);
    EXPECT_EQ(sendingNumbers_->count(), 0);
    // A list that no longer holds the picked project's line.
    ShowSendProjects({{"2001", "移动营业厅(发送号码:10086)", "1"}});
    window_->pickers().sendProjectList().Replace(QStringLiteral("别的项目(发送号码:123)\r\n"));
    Pick(0);
    EXPECT_EQ(sendingNumbers_->count(), 0);

    number_->setText(QStringLiteral("13812345678"));
    content_->setPlainText(QStringLiteral("hello"));
    submitButton_->click();
    EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList{QStringLiteral("请选择发送号码")});
    EXPECT_TRUE(TargetsOn("sendLine").isEmpty());
}

// --- Submitting -----------------------------------------------------------------------

TEST_F(SendSmsPageTest, SubmitRefusesWhatCannotBeSentWithoutARequest) {
    struct Case {
        QString number;
        bool sendingNumber;
        QString content;
        QString projectItem;  // empty: the first project
        QString message;      // empty: nothing shown
    };
    const QString ok = QStringLiteral("13812345678");
    const Case cases[] = {
        {QStringLiteral("123 456"), true, "hi", {}, QStringLiteral("手机号码错")},
        {QStringLiteral("号码12"), true, "hi", {}, QStringLiteral("手机号码错")},
        {ok, false, "hi", {}, QStringLiteral("请选择发送号码")},
        {ok, true, QStringLiteral("  　 "), {}, QStringLiteral("请输入发送内容")},
        {ok, true, "hi", QStringLiteral("[999]低号 - {价格}：1 - (发短信)"), {}},
        {ok, true, "hi", QString::fromUtf16(kSendPlaceholder), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.number + "/" + c.content + "/" + c.projectItem).toStdString());
        fakes_.messageBoxes.shown.clear();
        ShowSendProjects({{"2001", "移动营业厅(发送号码:10086#10085)", "0.80"}});
        if (!c.projectItem.isEmpty()) {
            SelectProjectItem(c.projectItem);
        }
        if (!c.sendingNumber) {
            sendingNumbers_->clear();
        }
        number_->setText(c.number);
        content_->setPlainText(c.content);

        submitButton_->click();

        EXPECT_EQ(fakes_.messageBoxes.Texts(),
                  c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_TRUE(TargetsOn("sendLine").isEmpty());
        ExpectIdle(submitButton_);
    }
}

TEST_F(SendSmsPageTest, SubmitSendsNumberAndTextAsTypedAndShowsTheReply) {
    const QString accepted = QStringLiteral("发送内容提交成功等待卡商发送短信");
    sim_->Script("fdx_tj", Reply(200, Gbk(accepted)));
    struct Case {
        QString typed;
        QString onTheWire;
    };
    const Case cases[] = {
        {QStringLiteral(" a b "), "%20a%20b%20"},  // blanks kept, inner and outer
        {QStringLiteral("x&y=z"), "x&y=z"},        // as typed: the catalogue encodes nothing
        {QStringLiteral("#1"), "%231"},
        {QStringLiteral("验证码"), Escaped(QStringLiteral("验证码"))},
        {QStringLiteral("one\ntwo"), "one%0D%0Atwo"},  // a line break goes as CR LF
        {QString(1000, QLatin1Char('x')), QString(1000, QLatin1Char('x'))},
    };
    number_->setText(QStringLiteral("138 123 4"));
    sendingNumbers_->setCurrentIndex(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.left(20).toStdString());
        sim_->ClearRequests();
        fakes_.messageBoxes.shown.clear();
        content_->setPlainText(c.typed);

        EXPECT_TRUE(ClickSeesBusy(submitButton_));

        EXPECT_EQ(TargetsOn("sendLine"),
                  QStringList{Prefix("fdx_tj") +
                              "&id=2001&send=10085&phone=138%20123%204&content=" + c.onTheWire});
        EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList{accepted});
        ExpectIdle(submitButton_);
        // The result comes through the poller; the submission changes no field.
        EXPECT_EQ(content_->toPlainText(), c.typed);
        EXPECT_EQ(number_->text(), "138 123 4");
        EXPECT_EQ(status_->text(), "");
    }
}

TEST_F(SendSmsPageTest, SubmitWorksForProjectIdExactly1000AndShowsAnyReply) {
    SelectProjectItem(QStringLiteral("[1000]最低 - {价格}：1 - (发短信)"));
    number_->setText(QStringLiteral("13812345678"));
    content_->setPlainText(QStringLiteral("hi"));
    // Refused, truncated, empty: each shown as it came.
    const QString replies[] = {QStringLiteral("0|余额不足"), QStringLiteral("发送内"), QString()};
    for (const QString& reply : replies) {
        sim_->Script("fdx_tj", Reply(200, Gbk(reply)));
        submitButton_->click();
    }
    EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList(std::begin(replies), std::end(replies)));
    EXPECT_EQ(TargetsOn("sendLine").size(), 3);
    EXPECT_TRUE(TargetsOn("sendLine")[0].contains("&id=1000&send=10086&phone=13812345678"));
}

TEST_F(SendSmsPageTest, SubmitGivesUpAfterFiveSecondsNotFifteen) {
    // The platform answers after 8 s: a 15-second time-out would still show its reply.
    sim_->Script("fdx_tj", Reply(200, Gbk(QStringLiteral("发送内容提交成功")), {}, 8000));
    number_->setText(QStringLiteral("13812345678"));
    content_->setPlainText(QStringLiteral("hi"));

    submitButton_->click();

    EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList{QString()});
    EXPECT_EQ(TargetsOn("sendLine").size(), 1);
    ExpectIdle(submitButton_);
}

// --- Giving the number back -----------------------------------------------------------

TEST_F(SendSmsPageTest, DisposalAfterYesClearsTheNumberFieldsButNotLabelAndResultLine) {
    struct Case {
        QAbstractButton* button;
        const char* endpoint;
        QString question;
        QString reply;
    };
    const Case cases[] = {
        {releaseButton_, "yh_sf", QStringLiteral("释放号码"), QStringLiteral("释放成功")},
        {blacklistButton_, "yh_lh", QStringLiteral("拉黑号码"), QStringLiteral("加黑成功")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.endpoint);
        sim_->ClearRequests();
        fakes_.messageBoxes.shown.clear();
        FillFields();
        ShowSendProjects({{"2001", "移动营业厅(发送号码:10086#10085)", "0.80"}});
        specified_->setText(QStringLiteral("13900000000"));
        sim_->Script(c.endpoint, Reply(200, Gbk(c.reply)));

        c.button->click();

        ASSERT_EQ(fakes_.messageBoxes.shown.size(), 1u);
        EXPECT_EQ(fakes_.messageBoxes.shown[0].text, c.question);
        // The confirmations of a giving-back: Yes and No, no icon, the default title.
        EXPECT_EQ(fakes_.messageBoxes.shown[0].buttons, MessageButtons::YesNo);
        EXPECT_EQ(fakes_.messageBoxes.shown[0].icon, MessageIcon::None);
        EXPECT_EQ(fakes_.messageBoxes.shown[0].title, MessageBoxService::DefaultTitle());
        EXPECT_EQ(TargetsOn("disposalLine"),
                  QStringList{Prefix(c.endpoint) + "&id=2001&phone=13900000000"});
        EXPECT_EQ(number_->text(), "");
        EXPECT_EQ(specified_->text(), "");
        EXPECT_EQ(sendingNumbers_->count(), 0);
        EXPECT_EQ(content_->toPlainText(), "");
        EXPECT_EQ(smsText_->toPlainText(), "");
        EXPECT_EQ(obtainedAt_->text(), "");
        EXPECT_EQ(status_->text(), "");
        EXPECT_EQ(homeRegion_->text(), QStringLiteral("号码归属地: 北京"));
        EXPECT_EQ(resultLine_->text(), QStringLiteral("旧结果"));
    }
}

TEST_F(SendSmsPageTest, DisposalSendsNothingOnNoOrWithoutANumber) {
    FillFields();
    fakes_.messageBoxes.answers = {false, false};
    releaseButton_->click();
    blacklistButton_->click();
    EXPECT_EQ(fakes_.messageBoxes.Texts(),
              (QStringList{QStringLiteral("释放号码"), QStringLiteral("拉黑号码")}));

    // No number: not even the question.
    number_->clear();
    releaseButton_->click();
    blacklistButton_->click();
    EXPECT_EQ(fakes_.messageBoxes.shown.size(), 2u);
    // No valid project: likewise.
    number_->setText(QStringLiteral("13900000000"));
    SelectProjectItem(QStringLiteral("[999]低号 - {价格}：1 - (发短信)"));
    releaseButton_->click();
    EXPECT_EQ(fakes_.messageBoxes.shown.size(), 2u);

    EXPECT_TRUE(TargetsOn("disposalLine").isEmpty());
}

TEST_F(SendSmsPageTest, RefusedOrUnansweredDisposalShowsTheReplyAndKeepsTheFields) {
    const platformsim::ScriptedReply replies[] = {
        Reply(200, Gbk(QStringLiteral("号码不存在"))),
        Reply(200, "", {}, 0, true),  // no reply at all: an empty box
    };
    const QString shown[] = {QStringLiteral("号码不存在"), QString()};
    for (int i = 0; i < 2; ++i) {
        fakes_.messageBoxes.shown.clear();
        FillFields();
        sim_->Script("yh_sf", replies[i]);
        releaseButton_->click();
        EXPECT_EQ(fakes_.messageBoxes.Texts(), (QStringList{QStringLiteral("释放号码"), shown[i]}));
        EXPECT_EQ(number_->text(), "13900000000");
        EXPECT_EQ(status_->text(), QStringLiteral("成功"));
        EXPECT_EQ(sendingNumbers_->count(), 3);
    }
}

// --- Copies ---------------------------------------------------------------------------

TEST_F(SendSmsPageTest, CopiesGoToTheSystemClipboard) {
    InstallClipboard(nullptr);  // the real one
    QClipboard* clipboard = QGuiApplication::clipboard();

    number_->setText(QStringLiteral("13812345678"));
    copyNumberButton_->click();
    EXPECT_EQ(clipboard->text(), "13812345678");
    number_->clear();
    copyNumberButton_->click();  // also when empty
    EXPECT_EQ(clipboard->text(), "");

    clipboard->setText(QStringLiteral("keep"));
    copySmsButton_->click();  // an empty SMS leaves the clipboard alone
    EXPECT_EQ(clipboard->text(), "keep");
    smsText_->setPlainText(QStringLiteral("您的验证码是 1234\n请勿泄露"));
    copySmsButton_->click();
    EXPECT_EQ(clipboard->text(), QStringLiteral("您的验证码是 1234\n请勿泄露"));
}

// --- A window closed while a handler waits ------------------------------------------

TEST_F(SendSmsPageTest, WindowClosedWhileAHandlerWaitsGoesWhenTheHandlerReturns) {
    struct Case {
        const char* endpoint;
        const char* button;
    };
    // The reply comes late; the window is asked to go while the request waits.
    const Case cases[] = {{"yh_qh", "按钮_发短信_获取号码"},
                          {"yh_qh", "按钮_发短信_指定"},
                          {"fdx_tj", "按钮_发短信_提交发短信内容"},
                          {"yh_sf", "按钮_发短信_全部释放"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.endpoint);
        if (!window_) {
            OpenWindow();
        }
        number_->setText(QStringLiteral("13812345678"));
        content_->setPlainText(QStringLiteral("hi"));
        specified_->setText(QStringLiteral("13812345678"));
        auto* button = Child<QAbstractButton>(window_, c.button);
        sim_->Script(c.endpoint, Reply(200, Gbk(QStringLiteral("1|13812345678")), {}, 300));
        fakes_.messageBoxes.shown.clear();
        const size_t before = sim_->Requests().size();
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (sim_->Requests().size() > before && window_) {
                window_->deleteLater();  // as the close box does
                timer.stop();
            }
        });
        timer.start(5);
        button->click();
        // Held back while the handler waited, the deletion comes from the event loop now.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window_.isNull());
        // The handler only wound up: no reply shown over a closing window (the release asked
        // its question before the request).
        EXPECT_EQ(fakes_.messageBoxes.shown.size(), std::string(c.endpoint) == "yh_sf" ? 1u : 0u);
    }
}

// --- The main window's routines -------------------------------------------------------

TEST_F(SendSmsPageTest, SendResultPollerStartsBeforeTheBalanceRefresher) {
    int poller = -1;
    int refresher = -1;
    std::vector<WorkerFactory> factories = BackgroundWorkers();
    for (int i = 0; i < static_cast<int>(factories.size()); ++i) {
        const std::unique_ptr<Worker> worker = factories[i](*window_);
        if (dynamic_cast<SendResultPoller*>(worker.get())) {
            EXPECT_EQ(poller, -1);
            poller = i;
        }
        if (dynamic_cast<BalanceRefresher*>(worker.get())) {
            refresher = i;
        }
    }
    ASSERT_NE(poller, -1);
    EXPECT_EQ(refresher, poller + 1);
}

}  // namespace
}  // namespace lanxun
