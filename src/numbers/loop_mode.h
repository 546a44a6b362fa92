#pragma once

#include <QString>

namespace lanxun {

// The loop modes of the two acquisition tabs, as sent with yh_qh: "1" filters
// numbers that already received a code, "2" does not, "" before any choice.
// Written on the UI thread, read by acquisition threads.
QString GetLoopMode();
void SetGetLoopMode(const QString& mode);
QString SendLoopMode();
void SetSendLoopMode(const QString& mode);

}  // namespace lanxun
