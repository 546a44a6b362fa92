#pragma once

#include <mutex>

namespace lanxun {

// The one process-wide lock of the table store: it serialises the add operations
// (read, add, write back) so that two adds in this process never lose an update.
// It is a function-local static; main() calls StoreLock() once before the login
// window so that it exists from the start.
std::mutex& StoreLock();

}  // namespace lanxun
