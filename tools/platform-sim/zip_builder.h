#pragma once

// Builds a zip archive of stored (uncompressed) entries in memory: enough for
// the update archive, and readable by every unzip.

#include <string>
#include <utility>
#include <vector>

namespace platformsim {

// entries: {name, content}; names are stored as given (ASCII or UTF-8).
std::string BuildStoredZip(const std::vector<std::pair<std::string, std::string>>& entries);

// One entry with everything a test may want to vary: the name's bytes (flagged
// UTF-8 or left unflagged, as Chinese Windows writes GBK names) and the Unix
// mode (0: the entry records none, as an archive made on Windows).
struct ZipEntry {
    std::string name;
    std::string content;
    unsigned mode = 0100755;
    bool utf8Name = true;
};
std::string BuildStoredZip(const std::vector<ZipEntry>& entries);

}  // namespace platformsim
