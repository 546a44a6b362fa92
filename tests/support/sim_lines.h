#pragma once

#include <QString>
#include <QStringList>

#include "api/server_lines.h"
#include "platform_sim.h"

namespace lanxun::test {

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

// The request targets the local platform received, in order.
inline QStringList SimTargets(const platformsim::PlatformSim& sim) {
    QStringList targets;
    for (const platformsim::RecordedRequest& request : sim.Requests()) {
        targets << QString::fromStdString(request.target);
    }
    return targets;
}

}  // namespace lanxun::test
