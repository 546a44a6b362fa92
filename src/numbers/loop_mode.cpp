#include "numbers/loop_mode.h"

#include <mutex>

namespace lanxun {
namespace {

std::mutex mutex;
QString getMode;   // guarded by mutex
QString sendMode;  // guarded by mutex

}  // namespace

QString GetLoopMode() {
    std::lock_guard lock(mutex);
    return getMode;
}

void SetGetLoopMode(const QString& mode) {
    std::lock_guard lock(mutex);
    getMode = mode;
}

QString SendLoopMode() {
    std::lock_guard lock(mutex);
    return sendMode;
}

void SetSendLoopMode(const QString& mode) {
    std::lock_guard lock(mutex);
    sendMode = mode;
}

}  // namespace lanxun
