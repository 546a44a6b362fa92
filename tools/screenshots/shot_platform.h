#pragma once

// The local platform in-process for the screenshot programs: every client line and the
// segment host pointed at it, and the demo user logged in.

#include <QString>
#include <cstdio>

#include "account/login_state.h"
#include "api/server_lines.h"
#include "numbers/home_region.h"
#include "platform_sim.h"

namespace shots {

// False (and the reason on stderr) when the platform cannot start.
inline bool StartDemoPlatform(platformsim::PlatformSim& sim) {
    if (!sim.Start()) {
        std::fprintf(stderr, "%s\n", sim.StartError().c_str());
        return false;
    }
    using platformsim::Line;
    const auto address = [&sim](Line line) { return QString::fromStdString(sim.Address(line)); };
    lanxun::ServerLines lines;
    lines.accountLine = address(Line::Account);
    lines.projectLine = address(Line::Project);
    lines.dockingLine = address(Line::Docking);
    lines.numberLine = address(Line::Number);
    lines.disposalLine = address(Line::Disposal);
    lines.pollLine = address(Line::Poll);
    lines.recordLine = address(Line::Record);
    lines.sendLine = address(Line::Send);
    lines.withdrawLine = address(Line::Withdraw);
    lines.rechargeLine = address(Line::Recharge);
    lanxun::SetLines(lines);
    lanxun::SetSegmentHost(address(Line::Segment));
    lanxun::CurrentLogin().userName = QStringLiteral("demo2026");
    lanxun::CurrentLogin().password = QStringLiteral("lanxun666");
    return true;
}

}  // namespace shots
