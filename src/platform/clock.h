#pragma once

#include <QDateTime>

namespace lanxun {

// The one source of time: the current date-time, the tick count and how long
// a delay really lasts. Tests install a fast clock so that waits of minutes
// take moments, while Now() and Ticks() move on as if the full time had passed.
class Clock {
public:
    virtual ~Clock() = default;

    virtual QDateTime Now() const = 0;
    // Milliseconds since an arbitrary start, never going backwards.
    virtual qint64 Ticks() const = 0;
    // How many real milliseconds a delay of `ms` clock milliseconds lasts.
    virtual qint64 RealMs(qint64 ms) const = 0;
};

// The process-wide clock; a test installs its own (nullptr restores the real one).
Clock& CurrentClock();
void InstallClock(Clock* clock);

// Waits `ms` clock milliseconds. On the UI thread it runs a local event loop, so
// every window message (input included) keeps being handled meanwhile; on a
// worker it sleeps and returns early, false, when the worker is told to stop.
// The one wait of this kind: every other pause goes through it.
bool PumpDelay(int ms);

}  // namespace lanxun
