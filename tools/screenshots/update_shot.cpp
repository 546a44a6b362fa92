// Renders the update window "用户端更新" during a slow download to
// <folder>/update-downloading.png:
//   lanxun-update-screenshot <folder>
// The archive comes from a local platform on loopback, in small pieces, into a
// temporary run folder; the window is grabbed after a few progress ticks, long
// before the download could finish.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "platform/file_locations.h"
#include "platform_sim.h"
#include "shot_support.h"
#include "ui/update_window.h"

namespace {

using shots::Child;
using shots::Settle;

class TemporaryRun final : public lanxun::FileLocations {
public:
    QString DriveRoot() const override { return folder_.path(); }
    QString RunDirectory() const override { return folder_.path(); }

private:
    QTemporaryDir folder_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDir folder;
    if (const int failed = shots::OpenOutputFolder(argc, argv, folder)) {
        return failed;
    }
    platformsim::PlatformSim sim;
    if (!sim.Start()) {
        std::fprintf(stderr, "cannot start: %s\n", sim.StartError().c_str());
        return 1;
    }
    TemporaryRun run;
    lanxun::InstallFileLocations(&run);

    // 100 KiB in 1 KiB pieces every 60 ms: about six seconds in all.
    platformsim::ScriptedReply archive{
        .body = platformsim::PlatformSim::BuildZip({{"lanxun", std::string(100 * 1024, 'x')}})};
    archive.trickleGapMs = 60;
    archive.tricklePieceBytes = 1024;
    sim.Script("/ky.zip", archive);

    auto* window =
        new lanxun::UpdateWindow(QString::fromStdString(sim.Address(platformsim::Line::Update)));
    window->show();
    Settle(3300);
    const bool saved = shots::SaveWindow(window, folder, QStringLiteral("update-downloading"));
    delete window;  // stops the download
    lanxun::InstallFileLocations(nullptr);
    return saved ? 0 : 1;
}
