#pragma once

#include <QDateTime>
#include <QString>

namespace lanxun {

// How long a number is watched after it was obtained.
inline constexpr int kAgeLimitSeconds = 300;

// Whether more than kAgeLimitSeconds whole seconds lie between the date-time text `obtainedAt`
// and `now`. A text that does not read back as a date-time counts as passed: a time edited or
// corrupted in its field must not keep a number queried for ever. An empty text is no time at
// all and is left to the caller.
bool AgeLimitPassed(const QString& obtainedAt, const QDateTime& now);

}  // namespace lanxun
