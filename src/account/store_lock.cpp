#include "account/store_lock.h"

namespace lanxun {

std::mutex& StoreLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace lanxun
