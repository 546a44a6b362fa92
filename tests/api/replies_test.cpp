#include <gtest/gtest.h>

#include "api/replies.h"

namespace lanxun {
namespace {

QString S(const char16_t* text) {
    return QString::fromUtf16(text);
}

TEST(StatusReply, FieldZeroMustBeExactlyOne) {
    const struct {
        const char16_t* reply;
        bool succeeded;
        QStringList fields;
    } cases[] = {
        {u"1|13800000000", true, {"1", "13800000000"}},
        {u"0|余额不足", false, {"0", S(u"余额不足")}},
        {u"", false, {}},
        {u"1", true, {"1"}},
        {u"1|", true, {"1"}},
        {u" 1|138", false, {" 1", "138"}},
        {u"1 |138", false, {"1 ", "138"}},
        {u"|||", false, {"", "", ""}},
        {u"11|x", false, {"11", "x"}},
    };
    for (const auto& c : cases) {
        const StatusReply reply = ReadStatusReply(S(c.reply));
        EXPECT_EQ(reply.succeeded, c.succeeded) << S(c.reply).toStdString();
        EXPECT_EQ(reply.fields, c.fields) << S(c.reply).toStdString();
    }
    EXPECT_EQ(ReadStatusReply(u"1").Field(1), QString());  // beyond the fields: empty
}

TEST(MessageReply, SuccessTextsAndTheirExceptions) {
    EXPECT_TRUE(MessageSucceeded(u"释放成功"));
    EXPECT_TRUE(MessageSucceeded(u"操作成功了"));
    EXPECT_FALSE(MessageSucceeded(u"失败"));
    EXPECT_FALSE(MessageSucceeded(u""));

    EXPECT_TRUE(ApplicationUnderReview(u"审核中"));
    EXPECT_FALSE(ApplicationUnderReview(u"审核中 "));
    EXPECT_FALSE(ApplicationUnderReview(u"项目审核中"));

    EXPECT_TRUE(RegistrationSucceeded(u"注册成功"));
    EXPECT_FALSE(RegistrationSucceeded(u"注册成功!"));
    EXPECT_FALSE(RegistrationSucceeded(u"用户名已存在"));

    EXPECT_TRUE(WithdrawalAccepted(u"提现申请处理中"));
    EXPECT_FALSE(WithdrawalAccepted(u"提现成功"));
}

TEST(FieldReply, NeedsTheEndpointsFieldCount) {
    EXPECT_FALSE(ReadFieldReply(u"", 1).has_value());
    EXPECT_FALSE(ReadFieldReply(u"12.5", 2).has_value());
    ASSERT_TRUE(ReadFieldReply(u"12.5|3", 2).has_value());
    EXPECT_EQ(*ReadFieldReply(u"12.5|3|x", 2), (QStringList{"12.5", "3", "x"}));

    const auto balance = ReadBalanceReply(u"88.50|10.00");
    ASSERT_TRUE(balance.has_value());
    EXPECT_EQ(balance->balance, QStringLiteral("88.50"));
    EXPECT_EQ(balance->withdrawable, QStringLiteral("10.00"));
    EXPECT_FALSE(ReadBalanceReply(u"88.50|").has_value());  // trailing separator adds nothing

    const auto account = ReadTransferAccountReply(u"张三|zhang@example.com");
    ASSERT_TRUE(account.has_value());
    EXPECT_EQ(account->holderName, QStringLiteral("张三"));
    EXPECT_EQ(account->account, QStringLiteral("zhang@example.com"));
    EXPECT_FALSE(ReadTransferAccountReply(u"请先登陆").has_value());
}

TEST(SignReply, ElevenFieldsNamed) {
    const auto sign = ReadSignReply(u"100.5|20|x|y|问题|12345|张三|pay@x|公告|800|普通");
    ASSERT_TRUE(sign.has_value());
    EXPECT_EQ(sign->balance, QStringLiteral("100.5"));
    EXPECT_EQ(sign->withdrawable, QStringLiteral("20"));
    EXPECT_EQ(sign->field2, QStringLiteral("x"));
    EXPECT_EQ(sign->securityQuestion, QStringLiteral("问题"));
    EXPECT_EQ(sign->contactQq, QStringLiteral("12345"));
    EXPECT_EQ(sign->legalName, QStringLiteral("张三"));
    EXPECT_EQ(sign->alipayAccount, QStringLiteral("pay@x"));
    EXPECT_EQ(sign->announcement, QStringLiteral("公告"));
    EXPECT_EQ(sign->serviceQq, QStringLiteral("800"));
    EXPECT_EQ(sign->accountKind, QStringLiteral("普通"));

    EXPECT_FALSE(ReadSignReply(u"100.5|20|x|y|问题|12345|张三|pay@x|公告|800").has_value());
    EXPECT_FALSE(ReadSignReply(u"100.5|20|x|y|问题|12345|张三|pay@x|公告|800|").has_value());
    EXPECT_FALSE(ReadSignReply(u"密码错误").has_value());
}

TEST(NumberReply, GivenRefusedOrNothing) {
    using Kind = NumberReply::Kind;
    const struct {
        const char16_t* reply;
        Kind kind;
        const char16_t* phone;
    } cases[] = {
        {u"1|13800000000", Kind::Given, u"13800000000"},
        {u"0|暂无号码", Kind::Refused, u""},
        {u"", Kind::Nothing, u""},
        {u"1", Kind::Refused, u""},  // a "1" without a number cannot become a row
        {u"1|", Kind::Refused, u""},
        {u"1||x", Kind::Refused, u""},
        {u"余额不足", Kind::Refused, u""},
    };
    for (const auto& c : cases) {
        const NumberReply reply = ReadNumberReply(S(c.reply));
        EXPECT_EQ(reply.kind, c.kind) << S(c.reply).toStdString();
        EXPECT_EQ(reply.phone, S(c.phone));
    }
    EXPECT_EQ(ReceiveSideRefusalText(u"0|暂无号码0|请稍后"), QStringLiteral("暂无号码请稍后"));
    EXPECT_EQ(ReceiveSideRefusalText(u"10|x"), QStringLiteral("1x"));
}

TEST(PollReply, ThreeFieldsOrAStatusText) {
    const PollReply arrived = ReadPollReply(u"1|8|您的验证码是1234");
    EXPECT_TRUE(arrived.complete);
    EXPECT_TRUE(arrived.arrived);
    EXPECT_EQ(arrived.passOn, QStringLiteral("8"));
    EXPECT_EQ(arrived.text, QStringLiteral("您的验证码是1234"));

    const PollReply waiting = ReadPollReply(u"0|0|没有收到短信");
    EXPECT_TRUE(waiting.complete);
    EXPECT_FALSE(waiting.arrived);
    EXPECT_EQ(waiting.statusText, QStringLiteral("没有收到短信"));

    const PollReply twoFields = ReadPollReply(u"1|短信");
    EXPECT_FALSE(twoFields.complete);
    EXPECT_FALSE(twoFields.arrived);
    EXPECT_EQ(twoFields.statusText, QStringLiteral("1|短信"));

    const PollReply empty = ReadPollReply(u"");
    EXPECT_FALSE(empty.arrived);
    EXPECT_EQ(empty.statusText, QString());
}

TEST(ListReply, RecordsAndFieldsWithShortRecordsSkipped) {
    const struct {
        const char16_t* reply;
        int fieldCount;
        QList<QStringList> records;
    } cases[] = {
        {u"a#c-b#c+c", 1, {{"a", "b"}, {"c"}}},
        {u"a#c-b#c+c", 2, {{"a", "b"}}},
        {u"a#c-b#c+", 2, {{"a", "b"}}},  // trailing "#c+": no empty record
        {u"", 1, {}},
        {u"#c+#c+#c-#c-", 1, {{"", ""}}},  // separators only
        {u"#c+a#c-b", 2, {{"a", "b"}}},    // leading empty record skipped
        {u"a#c-b#c-", 3, {}},              // trailing "#c-" adds no field
        {u"a#c-#c-c", 3, {{"a", "", "c"}}},
        {u"x#C+y", 1, {{"x#C+y"}}},  // case-sensitive markers
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadListReply(S(c.reply), c.fieldCount), c.records) << S(c.reply).toStdString();
    }
}

TEST(ListReply, ProjectListsLoseEveryBlank) {
    const QList<ProjectRecord> projects = ReadProjectList(
        u"1001#c-微 信\u3000注册#c-1 .5#c-x#c-0#c+1002#c-QQ#c-2#c-x#c-1#c+1003#c-短#c-1#c-x");
    ASSERT_EQ(projects.size(), 2);
    EXPECT_EQ(projects[0].id, QStringLiteral("1001"));
    EXPECT_EQ(projects[0].name, QStringLiteral("微信注册"));
    EXPECT_EQ(projects[0].price, QStringLiteral("1.5"));
    EXPECT_FALSE(projects[0].IsFavourite());
    EXPECT_TRUE(projects[1].IsFavourite());

    // Blanks are removed before splitting, so a spaced-out marker joins up.
    const QList<FavouriteRecord> favourites =
        ReadFavouriteList(u"1001#c-微信#c-1.5# c+ 1002#c-发送 号码#c-2#c+1003#c-x");
    ASSERT_EQ(favourites.size(), 2);
    EXPECT_EQ(favourites[1].id, QStringLiteral("1002"));
    EXPECT_EQ(favourites[1].name, QStringLiteral("发送号码"));
}

TEST(ListReply, DockingRecordsNeedNineFields) {
    const QList<DockingRecord> dockings = ReadDockingList(
        u"正常#c-ABCDEFGHIJKLM#c-微信#c-1.5#c-x#c-12#c-a#c-b#c-c#c+暂停#c-short#c-1");
    ASSERT_EQ(dockings.size(), 1);
    EXPECT_EQ(dockings[0].status, QStringLiteral("正常"));
    EXPECT_EQ(dockings[0].code, QStringLiteral("ABCDEFGHIJKLM"));
    EXPECT_EQ(dockings[0].projectName, QStringLiteral("微信"));
    EXPECT_EQ(dockings[0].price, QStringLiteral("1.5"));
    EXPECT_EQ(dockings[0].cardCount, QStringLiteral("12"));
}

TEST(ListReply, NonProjectListsKeepTheirBlanks) {
    const QList<DockingRecord> dockings =
        ReadDockingList(u"正 常#c-code#c-微 信#c-1#c-x#c-2#c-a#c-b#c-c");
    ASSERT_EQ(dockings.size(), 1);
    EXPECT_EQ(dockings[0].status, QStringLiteral("正 常"));
    EXPECT_EQ(dockings[0].projectName, QStringLiteral("微 信"));
}

TEST(PagedReply, UsableWithThreeFieldsAndAPositiveCount) {
    const PagedReply paged = ReadPagedReply(
        u"61|123.5|1001#c-微信#c-138#c-1.5#c-验证码1234#c-2024年3月5日#c+1002#c-短#c-1#c+");
    EXPECT_TRUE(paged.usable);
    EXPECT_EQ(paged.count, 61);
    EXPECT_EQ(paged.totalCount, QStringLiteral("61"));
    EXPECT_EQ(paged.totalAmount, QStringLiteral("123.5"));
    ASSERT_EQ(paged.records.size(), 1);
    EXPECT_EQ(paged.records[0].projectId, QStringLiteral("1001"));
    EXPECT_EQ(paged.records[0].projectName, QStringLiteral("微信"));
    EXPECT_EQ(paged.records[0].phone, QStringLiteral("138"));
    EXPECT_EQ(paged.records[0].price, QStringLiteral("1.5"));
    EXPECT_EQ(paged.records[0].smsText, QStringLiteral("验证码1234"));
    EXPECT_EQ(paged.records[0].time, QStringLiteral("2024年3月5日"));

    const char16_t* unusable[] = {u"", u"0|0|", u"0|0|x", u"5|1", u"abc|1|x", u"-1|0|x", u"|1|x"};
    for (const char16_t* reply : unusable) {
        const PagedReply r = ReadPagedReply(S(reply));
        EXPECT_FALSE(r.usable) << S(reply).toStdString();
        EXPECT_TRUE(r.records.isEmpty());
    }
    // Only field 2 holds records: a "|" inside an SMS cuts them short.
    const PagedReply cut = ReadPagedReply(u"1|1|1001#c-a#c-138#c-1#c-co|de#c-t");
    EXPECT_TRUE(cut.usable);
    EXPECT_TRUE(cut.records.isEmpty());
}

TEST(PagedReply, PageCountOfThirty) {
    EXPECT_EQ(PageCount(0), 0);
    EXPECT_EQ(PageCount(1), 1);
    EXPECT_EQ(PageCount(30), 1);
    EXPECT_EQ(PageCount(31), 2);
    EXPECT_EQ(PageCount(60), 2);
    EXPECT_EQ(PageCount(61), 3);
    EXPECT_EQ(PageCount(-5), 0);
}

TEST(OtherLists, WithdrawalAndRechargeUseOppositeSeparators) {
    const QList<WithdrawalRecord> withdrawals =
        ReadWithdrawalList(u"张三|pay@x|10|2024年3月5日|已到账|x,李四|a|20|t|处理中|y,short|1");
    ASSERT_EQ(withdrawals.size(), 2);
    EXPECT_EQ(withdrawals[0].name, QStringLiteral("张三"));
    EXPECT_EQ(withdrawals[0].account, QStringLiteral("pay@x"));
    EXPECT_EQ(withdrawals[0].amount, QStringLiteral("10"));
    EXPECT_EQ(withdrawals[0].appliedAt, QStringLiteral("2024年3月5日"));
    EXPECT_EQ(withdrawals[0].result, QStringLiteral("已到账"));
    EXPECT_EQ(withdrawals[1].result, QStringLiteral("处理中"));

    const QList<RechargeRecord> recharges =
        ReadRechargeList(u"2018010120003001,50,x,2024年3月5日,成功|9,1|2018,10,y,t,失败|");
    ASSERT_EQ(recharges.size(), 2);
    EXPECT_EQ(recharges[0].orderNumber, QStringLiteral("2018010120003001"));
    EXPECT_EQ(recharges[0].amount, QStringLiteral("50"));
    EXPECT_EQ(recharges[0].time, QStringLiteral("2024年3月5日"));
    EXPECT_EQ(recharges[0].result, QStringLiteral("成功"));
    EXPECT_EQ(recharges[1].result, QStringLiteral("失败"));
    EXPECT_TRUE(ReadRechargeList(u"").isEmpty());
    EXPECT_TRUE(ReadWithdrawalList(u",,,").isEmpty());
}

TEST(QrCodeReply, MarkerSeparatesTheErrorMessage) {
    const QByteArray marker("\xFF\x7B\xE7", 3);
    const QByteArray png("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);

    const QrCodeReply image = ReadQrCodeReply(png);
    EXPECT_FALSE(image.isError);
    EXPECT_EQ(image.image, png);

    // "金额错误" in GBK: BD F0 B6 EE B4 ED CE F3.
    const QByteArray gbk("\xBD\xF0\xB6\xEE\xB4\xED\xCE\xF3", 8);
    const QrCodeReply error = ReadQrCodeReply(QByteArray("junk") + marker + gbk + marker + "tail");
    EXPECT_TRUE(error.isError);
    EXPECT_TRUE(error.image.isEmpty());
    EXPECT_EQ(error.errorMessage, QStringLiteral("金额错误"));

    const QrCodeReply toEnd = ReadQrCodeReply(marker + gbk);
    EXPECT_TRUE(toEnd.isError);
    EXPECT_EQ(toEnd.errorMessage, QStringLiteral("金额错误"));

    const QrCodeReply bare = ReadQrCodeReply(marker);
    EXPECT_TRUE(bare.isError);
    EXPECT_EQ(bare.errorMessage, QString());

    const QrCodeReply empty = ReadQrCodeReply(QByteArray());
    EXPECT_FALSE(empty.isError);
    EXPECT_TRUE(empty.image.isEmpty());

    // Two of the marker's three bytes are not a marker.
    const QByteArray partial = png + QByteArray("\xFF\x7B", 2);
    EXPECT_FALSE(ReadQrCodeReply(partial).isError);
}

TEST(BadReplies, OversizedAndTruncatedRepliesGivePartialResults) {
    // A liebiao_xm list of several MiB: every full record survives.
    QString big;
    const int records = 60000;
    for (int i = 0; i < records; ++i) {
        big += QStringLiteral("%1#c-项目 %1#c-1.5#c-x#c-0#c+").arg(1000 + i);
    }
    ASSERT_GT(big.size() * 2, 3 * 1024 * 1024);
    const QList<ProjectRecord> projects = ReadProjectList(big);
    ASSERT_EQ(projects.size(), records);
    EXPECT_EQ(projects.back().name, QStringLiteral("项目%1").arg(1000 + records - 1));

    // Cut in the middle of the last record: that record is short and skipped.
    const QString cut = big.left(big.size() - 8);
    EXPECT_EQ(ReadProjectList(cut).size(), records - 1);

    // Cut inside a marker: "#c" is no separator, so the last record is one field short.
    const QString inMarker = QStringLiteral("1001#c-a#c-1#c-x#c-0#c+1002#c-b#c-2#c-x#c");
    EXPECT_EQ(ReadProjectList(inMarker).size(), 1);

    // A truncated status reply is still read field by field.
    EXPECT_FALSE(ReadStatusReply(u"1").Field(1).size());
    EXPECT_FALSE(ReadPagedReply(u"61|12").usable);
}

}  // namespace
}  // namespace lanxun
