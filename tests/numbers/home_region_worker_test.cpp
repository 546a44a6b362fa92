#include <QTreeWidget>

#include "api/protocol.h"
#include "numbers/region_worker.h"
#include "numbers_page_fixture.h"
#include "platform/gbk.h"
#include "support/sim_reply.h"

namespace lanxun {
namespace {

using test::Reply;

QString ProvinceOf(const QString& phone) {
    return FromGbk(
        QByteArray::fromStdString(platformsim::PlatformSim::SegmentProvince(phone.toStdString())));
}

QString SegmentTarget(const QString& phone) {
    return QStringLiteral("/cc/json/mobile_tel_segment.htm?tel=") + phone;
}

class RegionWorkerTest : public test::NumbersPageTest {
protected:
    void TearDown() override {
        worker_.reset();
        NumbersPageTest::TearDown();
    }
    void StartWorker() {
        worker_ = std::make_unique<RegionWorker>(Control<QTreeWidget>("超级列表框_取码_列表框"));
        worker_->Start();
    }
    void WaitForPasses(int more) {
        const int until = worker_->Passes() + more;
        ASSERT_TRUE(QTest::qWaitFor([&] { return worker_->Passes() >= until; }, 60000));
    }
    NumberRow AddRow(const QString& phone) {
        return List().Append(phone, DateTimeText(clock_.Now()), QStringLiteral("1003"));
    }
    QStringList SegmentTargets() {
        QStringList targets;
        for (const platformsim::RecordedRequest& r : sim_->Requests()) {
            if (r.line == "segment") {
                targets << QString::fromStdString(r.target);
            }
        }
        return targets;
    }

    std::unique_ptr<RegionWorker> worker_;
};

TEST_F(RegionWorkerTest, EachListedNumberIsLookedUpOnce) {
    const QStringList phones{"13810010000", "13810020000", "13810030000"};
    for (const QString& phone : phones) {
        AddRow(phone);
    }
    List().Append(QString(), DateTimeText(clock_.Now()), QStringLiteral("1003"));  // no number
    StartWorker();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (int i = 0; i < phones.size(); ++i) {
                if (List().Row(i).homeRegion.isEmpty()) {
                    return false;
                }
            }
            return true;
        },
        30000));
    WaitForPasses(3);
    QStringList targets;
    for (int i = 0; i < phones.size(); ++i) {
        EXPECT_EQ(List().Row(i).homeRegion, ProvinceOf(phones[i]));
        targets << SegmentTarget(phones[i]);
    }
    EXPECT_FALSE(ProvinceOf(phones[0]).isEmpty());
    EXPECT_EQ(SegmentTargets(), targets);
    EXPECT_TRUE(List().Row(3).homeRegion.isEmpty());
}

// Whatever goes wrong at the segment service, the row reads "未知" and is not asked again.
TEST_F(RegionWorkerTest, NoProvinceGivesUnknown) {
    struct Case {
        const char* name;
        QString phone;
        std::function<void()> arrange;
    };
    const std::vector<Case> cases = {
        {"reply without province", QStringLiteral("12345"), [] {}},
        {"host down", QStringLiteral("13810040000"),
         [] { SetSegmentHost(QStringLiteral("127.0.0.1:1")); }},
        {"slower than its 5 s", QStringLiteral("13810050000"),
         [] {
             sim_->Script(SegmentTarget(QStringLiteral("13810050000")).toStdString(),
                          Reply(200, "province:'X',", {}, 6000));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        worker_.reset();
        List().Clear();
        sim_->ClearRequests();
        SetSegmentHost(QString::fromStdString(sim_->Address(platformsim::Line::Segment)));
        c.arrange();
        AddRow(c.phone);
        StartWorker();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !List().Row(0).homeRegion.isEmpty(); }, 30000));
        EXPECT_EQ(List().Row(0).homeRegion, QStringLiteral("未知"));
        WaitForPasses(2);
        EXPECT_LE(SegmentTargets().size(), 1);
    }
}

}  // namespace
}  // namespace lanxun
