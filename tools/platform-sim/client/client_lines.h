#pragma once

// The bridge between the client and the local platform, for the programs that run both (the
// tests and the screenshots); the platform itself knows nothing of the client.

#include <QString>

#include "api/server_lines.h"
#include "platform_sim.h"

namespace lanxun {

// The client's ten lines pointed at the local platform's listeners.
inline ServerLines SimLines(const platformsim::PlatformSim& sim) {
    using platformsim::Line;
    auto address = [&sim](Line line) { return QString::fromStdString(sim.Address(line)); };
    ServerLines lines;
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
    return lines;
}

}  // namespace lanxun
