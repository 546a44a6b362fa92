#include "platform/clock.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <thread>

#include "platform/on_ui_thread.h"
#include "platform/service_slot.h"
#include "platform/worker.h"

namespace lanxun {
namespace {

class SystemClock final : public Clock {
public:
    SystemClock() { started_.start(); }
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
    qint64 Ticks() const override { return started_.elapsed(); }
    qint64 RealMs(qint64 ms) const override { return ms; }

private:
    QElapsedTimer started_;
};

constinit ServiceSlot<Clock, SystemClock> slot;

}  // namespace

Clock& CurrentClock() {
    return slot.Get();
}

void InstallClock(Clock* clock) {
    slot.Install(clock);
}

bool PumpDelay(int ms) {
    const qint64 real = std::max<qint64>(0, CurrentClock().RealMs(ms));
    if (OnUiThread()) {
        QEventLoop loop;
        QTimer::singleShot(std::chrono::milliseconds(real), Qt::PreciseTimer, &loop,
                           &QEventLoop::quit);
        loop.exec();
        return true;
    }
    if (Worker* worker = Worker::Current()) {
        return worker->Pause(ms);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(real));
    return true;
}

}  // namespace lanxun
