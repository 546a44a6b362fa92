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
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    platformsim::PlatformSim sim;
    if (!folder.mkpath(QStringLiteral(".")) || !sim.Start()) {
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
    const QString path = folder.filePath(QStringLiteral("update-downloading.png"));
    const bool saved = window->grab().save(path);
    delete window;  // stops the download
    lanxun::InstallFileLocations(nullptr);
    if (!saved) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("%s\n", qPrintable(path));
    return 0;
}
