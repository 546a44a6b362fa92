#pragma once

#include <QString>
#include <QStringList>

#include "client_lines.h"
#include "platform_sim.h"

namespace lanxun::test {

using lanxun::SimLines;

// The request targets the local platform received, in order.
inline QStringList SimTargets(const platformsim::PlatformSim& sim) {
    QStringList targets;
    for (const platformsim::RecordedRequest& request : sim.Requests()) {
        targets << QString::fromStdString(request.target);
    }
    return targets;
}

}  // namespace lanxun::test
