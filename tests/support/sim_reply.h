#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform_sim.h"

namespace lanxun::test {

// A scripted answer of the local platform, fields set by name so that new
// fields keep their defaults.
inline platformsim::ScriptedReply Reply(
    int status, std::string body, std::vector<std::pair<std::string, std::string>> headers = {},
    int delayMs = 0, bool closeWithoutReply = false) {
    platformsim::ScriptedReply reply;
    reply.status = status;
    reply.body = std::move(body);
    reply.headers = std::move(headers);
    reply.delayMs = delayMs;
    reply.closeWithoutReply = closeWithoutReply;
    return reply;
}

// A reply whose body arrives one byte at a time, `gapMs` apart.
inline platformsim::ScriptedReply TrickledReply(std::string body, int gapMs) {
    platformsim::ScriptedReply reply = Reply(200, std::move(body));
    reply.trickleGapMs = gapMs;
    return reply;
}

}  // namespace lanxun::test
