#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "platform/gbk.h"
#include "support/sim_test.h"
#include "zip_builder.h"

namespace lanxun {
namespace {

using platformsim::Line;
using platformsim::ScriptedReply;

constexpr int kWaitMs = 90000;

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

class UpdateEndToEndTest : public test::SimTest {};

// A copy of the client at 6.6, installed as "lanxun" in a folder of its own and
// started from another current folder, sees 版本号:6.7, downloads an archive
// holding the stand-in under its name, unpacks it, starts it and ends; the new
// copy lives on after the old one has gone.
TEST_F(UpdateEndToEndTest, ClientReplacesItselfAndStartsTheNewVersion) {
    QTemporaryDir runDir;
    QTemporaryDir currentDir;
    const QString program = runDir.path() + "/lanxun";
    ASSERT_TRUE(QFile::copy(UPDATE_CLIENT, program));
    const QByteArray standIn = Read(UPDATE_STANDIN);
    ASSERT_FALSE(standIn.isEmpty());

    sim_->Script("/yh.txt", {.body = ToGbk("版本号:6.7").toStdString()});
    ScriptedReply archive{.body = platformsim::BuildStoredZip(std::vector<platformsim::ZipEntry>{
                              {"lanxun", standIn.toStdString()}})};
    archive.trickleGapMs = 1;
    archive.tricklePieceBytes = 8192;
    sim_->Script("/ky.zip", archive);

    QProcess client;
    client.setWorkingDirectory(currentDir.path());
    client.setProcessChannelMode(QProcess::ForwardedChannels);
    client.start(program, {QString::fromStdString(sim_->Address(Line::Update))});
    ASSERT_TRUE(client.waitForFinished(kWaitMs));
    EXPECT_EQ(client.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(client.exitCode(), 0);

    const QString ran = runDir.path() + "/ran.txt";
    ASSERT_TRUE(QTest::qWaitFor([&] { return Read(ran) == "started\n"; }, kWaitMs));
    EXPECT_EQ(Read(program), standIn);
    EXPECT_TRUE(QFileInfo(program).isExecutable());
    EXPECT_FALSE(QFileInfo::exists(program + ".gx"));
    EXPECT_FALSE(QFileInfo::exists(runDir.path() + "/用户端.zip"));
    EXPECT_TRUE(
        QDir(currentDir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));

    // The old process has ended; the new copy must still be running.
    Write(runDir.path() + "/go");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Read(ran) == "started\nfinished\n"; }, kWaitMs));

    QStringList targets;
    for (const auto& request : sim_->Requests()) {
        targets << QString::fromStdString(request.target);
    }
    EXPECT_EQ(targets, QStringList({"/yh.txt", "/ky.zip"}));
}

}  // namespace
}  // namespace lanxun
