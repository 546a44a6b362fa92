#include "numbers/age_limit.h"

#include "api/protocol.h"

namespace lanxun {

bool AgeLimitPassed(const QString& obtainedAt, const QDateTime& now) {
    const QDateTime obtained = ReadDateTimeText(obtainedAt);
    return !obtained.isValid() || obtained.secsTo(now) > kAgeLimitSeconds;
}

}  // namespace lanxun
