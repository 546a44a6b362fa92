#pragma once

// Builds a zip archive of stored (uncompressed) entries in memory: enough for
// the update archive, and readable by every unzip.

#include <string>
#include <utility>
#include <vector>

namespace platformsim {

// entries: {name, content}; names are stored as given (ASCII or UTF-8).
std::string BuildStoredZip(const std::vector<std::pair<std::string, std::string>>& entries);

}  // namespace platformsim
