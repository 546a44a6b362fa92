#include <QTreeWidget>
#include <random>

#include "api/protocol.h"
#include "numbers/poll_worker.h"
#include "numbers/region_worker.h"
#include "numbers_page_fixture.h"
#include "platform/gbk.h"
#include "support/sim_reply.h"

namespace lanxun {
namespace {

using test::Gbk;
using test::Reply;

// Numbers whose provinces all differ, so that a province on the wrong row shows.
QStringList Phones() {
    QStringList phones;
    for (int block = 1000; block < 1024; ++block) {
        phones << QStringLiteral("138") + QString::number(block) + QStringLiteral("0000");
    }
    return phones;
}

QString ProvinceOf(const QString& phone) {
    return FromGbk(
        QByteArray::fromStdString(platformsim::PlatformSim::SegmentProvince(phone.toStdString())));
}

// Rows are emptied, refilled and removed on the UI thread while both workers are between
// reading a row and writing to it (the platform holds each reply back a little). Every reply
// names its number, so a status, code or province that lands on another number shows.
class NumberRaceTest : public test::NumbersPageTest {
protected:
    void SetUp() override {
        NumbersPageTest::SetUp();
        std::mt19937 random(2026);
        std::uniform_int_distribution<int> delay(2, 25);
        for (const QString& phone : Phones()) {
            const std::string poll =
                Target("yh_qm", QStringLiteral("&id=1003&phone=") + phone).toStdString();
            sim_->ScriptSequence(
                poll,
                {Reply(200, Gbk(QStringLiteral("0||没有收到短信") + phone), {}, delay(random)),
                 Reply(200, Gbk(QStringLiteral("1|1|验证码") + phone + QStringLiteral("。")), {},
                       delay(random))});
            sim_->Script(
                ("/cc/json/mobile_tel_segment.htm?tel=" + phone).toStdString(),
                Reply(200, "province:'" + Gbk(ProvinceOf(phone)) + "',", {}, delay(random)));
        }
    }
    void TearDown() override {
        poller_.reset();
        regions_.reset();
        NumbersPageTest::TearDown();
    }

    // Everything in every row belongs to that row's number.
    void ExpectRowsConsistent() {
        for (const NumberRow& row : Rows()) {
            SCOPED_TRACE(row.phone.toStdString());
            const QString status = row.status;
            EXPECT_TRUE(status.isEmpty() || status == QStringLiteral("读取中") ||
                        status == QStringLiteral("短信已达到") ||
                        status == QStringLiteral("没有收到短信") + row.phone)
                << status.toStdString();
            EXPECT_TRUE(row.code.isEmpty() || row.code == row.phone) << row.code.toStdString();
            EXPECT_TRUE(row.smsText.isEmpty() || row.smsText.contains(row.phone));
            EXPECT_TRUE(row.homeRegion.isEmpty() || row.homeRegion == ProvinceOf(row.phone))
                << row.homeRegion.toStdString();
            arrived_ += row.code.isEmpty() ? 0 : 1;
            located_ += row.homeRegion.isEmpty() ? 0 : 1;
        }
    }

    std::unique_ptr<PollWorker> poller_;
    std::unique_ptr<RegionWorker> regions_;
    int arrived_ = 0;
    int located_ = 0;
};

TEST_F(NumberRaceTest, NothingLandsOnAnotherNumber) {
    const QStringList phones = Phones();
    QTreeWidget* view = Control<QTreeWidget>("超级列表框_取码_列表框");
    poller_ = std::make_unique<PollWorker>(view, Picker(), nullptr);
    regions_ = std::make_unique<RegionWorker>(view);
    poller_->Start();
    regions_->Start();

    std::mt19937 random(11);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const auto append = [&] {
        List().Append(phones[pick(phones.size())], DateTimeText(clock_.Now()),
                      QStringLiteral("1003"));
    };
    for (int round = 0; round < 150; ++round) {
        switch (pick(3)) {
            case 0:  // a new acquisition: the list rebuilt
                List().Clear();
                for (int n = 1 + pick(6); n > 0; --n) {
                    append();
                }
                break;
            case 1:  // one number disposed of
                if (List().RowCount() > 0) {
                    List().Remove(List().Row(pick(List().RowCount())).identity);
                }
                break;
            default:
                append();
        }
        // Lets the workers move on before the next change: by a request or two, so that the
        // change finds them waiting for a reply; or, when no row is left to ask about, by a
        // whole pass each. Either must come.
        const size_t seen = sim_->Requests().size();
        const size_t more = static_cast<size_t>(pick(3));
        const int polls = poller_->Passes() + 2;
        const int lookups = regions_->Passes() + 2;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return sim_->Requests().size() > seen + more ||
                       (poller_->Passes() >= polls && regions_->Passes() >= lookups);
            },
            30000))
            << "the workers stopped going round";
        ExpectRowsConsistent();
        if (HasFailure()) {
            break;
        }
    }
    // The workers did get their results in while the rows changed under them.
    EXPECT_GT(arrived_, 0);
    EXPECT_GT(located_, 0);
}

}  // namespace
}  // namespace lanxun
