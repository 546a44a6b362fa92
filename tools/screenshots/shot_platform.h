#pragma once

// The local platform in-process for the screenshot programs: every client line and the
// segment host pointed at it, the demo user logged in, and the replies they script.

#include <QString>
#include <cstdio>

#include "account/login_state.h"
#include "api/server_lines.h"
#include "client_lines.h"
#include "numbers/home_region.h"
#include "platform/gbk.h"
#include "platform_sim.h"

namespace shots {

// False (and the reason on stderr) when the platform cannot start.
inline bool StartDemoPlatform(platformsim::PlatformSim& sim) {
    if (!sim.Start()) {
        std::fprintf(stderr, "%s\n", sim.StartError().c_str());
        return false;
    }
    lanxun::SetLines(lanxun::SimLines(sim));
    lanxun::SetSegmentHost(QString::fromStdString(sim.Address(platformsim::Line::Segment)));
    lanxun::CurrentLogin().userName = QStringLiteral("demo2026");
    lanxun::CurrentLogin().password = QStringLiteral("lanxun666");
    return true;
}

// A scripted reply of status 200 whose body is `text` in GBK, as the platform sends it.
inline platformsim::ScriptedReply GbkReply(const QString& text) {
    platformsim::ScriptedReply reply;
    reply.body = lanxun::ToGbk(text).toStdString();
    return reply;
}

}  // namespace shots
