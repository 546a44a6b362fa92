#pragma once

// What the sim answers when no script is set: the account line's `sign`, the
// update host's version file, and the segment host's province lookup.

#include <string>
#include <vector>

#include "platform_sim.h"

namespace platformsim {

// The reply (GBK) to a `sign` target "/sign/username=<u>&password=<p>...".
std::string SignReply(const std::vector<Account>& accounts, const std::string& target);
// The segment host's script text (GBK) for a "tel" value.
std::string SegmentReply(const std::string& number);
// The first value of `key` in a query text "a=1&b=2", still escaped.
std::string QueryValue(const std::string& query, const std::string& key);

}  // namespace platformsim
