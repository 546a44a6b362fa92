#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "platform/downloader.h"
#include "support/sim_test.h"

namespace lanxun {
namespace {

using platformsim::Line;
using platformsim::ScriptedReply;

constexpr int kWaitMs = 60000;

ScriptedReply RawReply(const std::string& raw) {
    ScriptedReply reply;
    reply.raw = raw;
    return reply;
}

ScriptedReply SilentReply() {
    ScriptedReply reply;
    reply.delayMs = 600000;  // ended by the sim's stop at the end of the suite
    return reply;
}

ScriptedReply ClosingReply() {
    ScriptedReply reply;
    reply.closeWithoutReply = true;
    return reply;
}

// One download of /ky.zip from the local update host into a temporary folder,
// with what it reported.
class DownloaderTest : public test::SimTest {
protected:
    std::unique_ptr<Download> Start(DownloadSettings settings = {}) {
        DownloadReports reports;
        reports.sizeKnown = [this](qint64 total) {
            sizes.push_back(total);
            fileExistedAtSize = QFileInfo::exists(File());
        };
        reports.completed = [this] { ++completions; };
        reports.failed = [this] { ++failures; };
        return Downloads().Start(Url("/ky.zip", Line::Update), File(), settings,
                                 std::move(reports));
    }
    QString File() const { return temp_.path() + "/用户端.zip"; }
    bool Ended() const { return completions + failures > 0; }
    static DownloadSettings QuickSettings() {
        DownloadSettings settings;
        settings.attempts = 2;
        settings.retryPauseMs = 0;
        settings.stallTimeoutMs = 1000;
        return settings;
    }

    QTemporaryDir temp_;
    std::vector<qint64> sizes;
    bool fileExistedAtSize = false;
    int completions = 0;
    int failures = 0;
};

TEST_F(DownloaderTest, SlowDownloadInPiecesAppearsOnlyWhenWhole) {
    const std::string archive(3000, 'z');
    ScriptedReply reply{.body = archive};
    reply.trickleGapMs = 5;
    reply.tricklePieceBytes = 100;
    sim_->Script("/ky.zip", reply);

    auto download = Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Ended(); }, kWaitMs));
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(sizes, std::vector<qint64>({3000}));
    EXPECT_FALSE(fileExistedAtSize);
    EXPECT_EQ(download->ReceivedBytes(), 3000);
    QFile file(File());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), archive);
    EXPECT_FALSE(QFileInfo::exists(PartialDownloadPath(File())));
}

// A host that breaks off, refuses or has no archive: every attempt is made,
// then the failure is reported once and no file is left under either name.
TEST_F(DownloaderTest, FailedDownloadsLeaveNoFile) {
    const std::vector<std::pair<const char*, ScriptedReply>> cases = {
        {"stops mid-way",
         RawReply("HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\nPK\x03\x04 partial")},
        {"closes at once", ClosingReply()},
        {"never answers", SilentReply()},
        {"no archive", ScriptedReply{.status = 404, .body = "not found"}},
    };
    for (const auto& [label, reply] : cases) {
        SCOPED_TRACE(label);
        sim_->ClearRequests();
        sim_->Script("/ky.zip", reply);
        completions = failures = 0;
        auto download = Start(QuickSettings());
        ASSERT_TRUE(QTest::qWaitFor([&] { return Ended(); }, kWaitMs));
        EXPECT_EQ(completions, 0);
        EXPECT_EQ(failures, 1);
        EXPECT_EQ(sim_->Requests().size(), 2u);
        EXPECT_FALSE(QFileInfo::exists(File()));
        EXPECT_FALSE(QFileInfo::exists(PartialDownloadPath(File())));
    }
}

TEST_F(DownloaderTest, DestroyingAStalledDownloadStopsItAndRemovesThePart) {
    ScriptedReply reply{.body = std::string(1000, 'z')};
    reply.trickleGapMs = 60000;  // one byte, then nothing for a minute
    sim_->Script("/ky.zip", reply);
    auto download = Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !sizes.empty(); }, kWaitMs));
    download.reset();
    EXPECT_FALSE(QFileInfo::exists(PartialDownloadPath(File())));
    EXPECT_FALSE(QFileInfo::exists(File()));
    EXPECT_FALSE(Ended());
}

}  // namespace
}  // namespace lanxun
