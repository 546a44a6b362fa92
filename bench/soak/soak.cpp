// The soak: the whole client, logged in against the local platform, for a day of the fast clock.
// The main window runs all six background routines; 16 rows at a time go through a batch, their
// codes and "释放号码", with code forwarding on into a recording window of another process.
//
// At the end it reports resident memory, threads and open files at start and end (both read at
// the same point of a cycle: nothing held, no batch running), the codes received and forwarded
// (each must reach its own row and the target exactly once) and the UI thread's longest stall.
// On the way it prints a memory series (resident, the heap in use and what the heap took from
// the system) every twelfth of the run, so a plateau shows apart from a steady climb.
// Exits with 1 when a code went missing, twice or astray, a cycle hung, the memory in use grew
// by 5 % or more (less the forwarding log, which only grows by design: its size is reported
// apart), or a thread or an open file was left over.
//
// Needs an X display with room for a window manager (run it with `make soak`, which starts
// Xvfb). Arguments: --hours=N (of the fast clock, default 24), --factor=N (default 120: a day
// in 12 minutes), --quick (one hour of the clock, for a trial run), --trim (give the heap's free
// pages back before each point of the series), --clear-log (clear the forwarding log after each
// point, which measures exactly what the rest of the client holds), --leave-heap (end at once
// after the report, freeing nothing: a heap profiler then lists all that was held at the end).

#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

#include "account/login_state.h"
#include "api/server_lines.h"
#include "numbers/forwarding_controller.h"
#include "numbers/home_region.h"
#include "numbers/numbers_page_controller.h"
#include "platform/window_picker.h"
#include "platform_sim.h"
#include "sim_numbers.h"
#include "support/fake_services.h"
#include "support/sim_lines.h"
#include "ui/main_window.h"
#include "x11_desktop.h"

namespace {

using namespace lanxun;

constexpr int kRows = 16;
// A cycle that takes longer than this in real time has hung.
constexpr qint64 kCycleLimitMs = 120000;
// Cycles run before the start figures are taken: fonts, caches and pools settle in them.
constexpr int kWarmUpCycles = 3;
const QString kSeparator = QStringLiteral(",");

struct Options {
    qint64 clockHours = 24;
    qint64 factor = 120;
    bool trim = false;       // malloc_trim(0) before each point of the memory series
    bool clearLog = false;   // clear the forwarding log after each point of the series
    bool leaveHeap = false;  // end without freeing anything, for a heap profiler's last look
};

Options ParseOptions(const QStringList& args) {
    Options options;
    for (const QString& arg : args.mid(1)) {
        if (arg == QStringLiteral("--quick")) {
            options.clockHours = 1;
        } else if (arg.startsWith(QStringLiteral("--hours="))) {
            options.clockHours = std::max<qint64>(1, arg.mid(8).toLongLong());
        } else if (arg == QStringLiteral("--trim")) {
            options.trim = true;
        } else if (arg == QStringLiteral("--clear-log")) {
            options.clearLog = true;
        } else if (arg == QStringLiteral("--leave-heap")) {
            options.leaveHeap = true;
        } else if (arg.startsWith(QStringLiteral("--factor="))) {
            options.factor = std::max<qint64>(1, arg.mid(9).toLongLong());
        } else {
            std::fprintf(stderr, "unknown argument: %s\n", qPrintable(arg));
        }
    }
    return options;
}

struct ProcessFigures {
    qint64 residentKb = 0;
    qint64 anonymousKb = 0;  // the part of it that is the heap, stacks and other private pages
    qint64 fileKb = 0;       // mapped files: the program, its libraries, fonts
    qint64 sharedKb = 0;     // shared memory, e.g. window images shared with the X server
    int threads = 0;
    int openFiles = 0;
};

ProcessFigures ReadProcessFigures() {
    ProcessFigures figures;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            const QList<QByteArray> parts = line.simplified().split(' ');
            if (parts.size() >= 2 && parts[0] == "VmRSS:") {
                figures.residentKb = parts[1].toLongLong();
            } else if (parts.size() >= 2 && parts[0] == "RssAnon:") {
                figures.anonymousKb = parts[1].toLongLong();
            } else if (parts.size() >= 2 && parts[0] == "RssFile:") {
                figures.fileKb = parts[1].toLongLong();
            } else if (parts.size() >= 2 && parts[0] == "RssShmem:") {
                figures.sharedKb = parts[1].toLongLong();
            } else if (parts.size() >= 2 && parts[0] == "Threads:") {
                figures.threads = parts[1].toInt();
            }
        }
    }
    // Less the descriptor of the listing itself.
    figures.openFiles = int(QDir(QStringLiteral("/proc/self/fd"))
                                .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                                .size());
    return figures;
}

bool RunUntil(const std::function<bool()>& done, qint64 limitMs);

// The figures with the client's short-lived threads and files (a request's resolver, a pool
// thread about to expire) left out: the fewest seen in five looks over half a second.
ProcessFigures SettledProcessFigures() {
    ProcessFigures settled = ReadProcessFigures();
    for (int i = 0; i < 4; ++i) {
        RunUntil([] { return false; }, 100);
        const ProcessFigures now = ReadProcessFigures();
        settled.threads = std::min(settled.threads, now.threads);
        settled.openFiles = std::min(settled.openFiles, now.openFiles);
        settled.residentKb = now.residentKb;
    }
    return settled;
}

// Resident memory once the heap's free pages have gone back to the system: what is still in
// use, without the allocator's spare.
qint64 LiveResidentKb() {
    malloc_trim(0);
    return ReadProcessFigures().residentKb;
}

// What the allocator holds: the bytes handed out and not yet freed (in every arena, and the
// large blocks it maps on their own), what it took from the system for that, and its arenas.
// Set apart from resident memory, these tell a growing heap from a fragmenting one.
struct HeapFigures {
    qint64 inUseKb = 0;
    qint64 fromSystemKb = 0;
    int arenas = 0;
};

HeapFigures ReadHeapFigures() {
    const struct mallinfo2 info = mallinfo2();
    HeapFigures figures;
    figures.inUseKb = qint64((info.uordblks + info.hblkhd) / 1024);
    figures.fromSystemKb = qint64((info.arena + info.hblkhd) / 1024);
    char* text = nullptr;
    size_t size = 0;
    if (FILE* stream = open_memstream(&text, &size)) {
        malloc_info(0, stream);
        std::fclose(stream);
        for (const char* at = text; (at = std::strstr(at, "<heap nr=")) != nullptr; ++at) {
            ++figures.arenas;
        }
        std::free(text);
    }
    return figures;
}

// CPU time of the calling thread: beside the wall clock it tells a stall of work from one of
// waiting (for a core, or for another process such as the X server).
qint64 ThreadCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// How long the UI thread has waited for a core, ready to run, since it started (the second
// figure of its schedstat); 0 where the kernel keeps no such figure. Opened on the UI thread.
class RunQueueWait {
public:
    RunQueueWait() : fd_(open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC)) {}
    ~RunQueueWait() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    RunQueueWait(const RunQueueWait&) = delete;
    RunQueueWait& operator=(const RunQueueWait&) = delete;

    qint64 Ns() const {
        char text[96] = {};
        if (fd_ < 0 || pread(fd_, text, sizeof text - 1, 0) <= 0) {
            return 0;
        }
        unsigned long long running = 0;
        unsigned long long waiting = 0;
        return std::sscanf(text, "%llu %llu", &running, &waiting) == 2 ? qint64(waiting) : 0;
    }

private:
    int fd_;
};

// The longest single event the UI thread handled, by its receiver (and the receiver's parent):
// a long stall between two turns of the loop is one of these, or many short ones.
class EventProbeApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        if (QThread::currentThread() != thread()) {
            return QApplication::notify(receiver, event);
        }
        if (depth_ > 0) {
            ++depth_;
            const bool handled = QApplication::notify(receiver, event);
            --depth_;
            return handled;
        }
        ++depth_;
        QElapsedTimer took;
        took.start();
        const qint64 cpuBefore = ThreadCpuNs();
        const qint64 waitBefore = runQueue_.Ns();
        const bool handled = QApplication::notify(receiver, event);
        const qint64 ns = took.nsecsElapsed();
        --depth_;
        if (ns > longestNs_) {
            longestNs_ = ns;
            longestCpuNs_ = ThreadCpuNs() - cpuBefore;
            longestWaitNs_ = runQueue_.Ns() - waitBefore;
            const QObject* parent = receiver->parent();
            longest_ = QStringLiteral("%1 \"%2\" (in %3) event %4")
                           .arg(QString::fromLatin1(receiver->metaObject()->className()),
                                receiver->objectName(),
                                parent ? QString::fromLatin1(parent->metaObject()->className())
                                       : QStringLiteral("nothing"))
                           .arg(int(event->type()));
        }
        return handled;
    }

    double LongestMs() const { return double(longestNs_) / 1e6; }
    double LongestCpuMs() const { return double(longestCpuNs_) / 1e6; }
    double LongestWaitMs() const { return double(longestWaitNs_) / 1e6; }
    QString Longest() const { return longest_; }

private:
    RunQueueWait runQueue_;
    int depth_ = 0;
    qint64 longestNs_ = 0;
    qint64 longestCpuNs_ = 0;
    qint64 longestWaitNs_ = 0;
    QString longest_;
};

// The longest gap between two turns of the UI thread's event loop while it repaints the number
// list and moves the mouse over it every turn (as the numbers page benchmark measures it). The
// soak's own checks pause it.
class StallMeter {
public:
    explicit StallMeter(QWidget* list) : list_(list) {
        tick_.setObjectName(QStringLiteral("stall meter"));
        tick_.setInterval(1);
        QObject::connect(&tick_, &QTimer::timeout, [this] { Tick(); });
    }
    void Start() {
        sinceLast_.start();
        cpuAtLast_ = ThreadCpuNs();
        waitAtLast_ = runQueue_.Ns();
        tick_.start();
    }
    void Pause() { paused_ = true; }
    void Resume() {
        paused_ = false;
        sinceLast_.restart();
        cpuAtLast_ = ThreadCpuNs();
        waitAtLast_ = runQueue_.Ns();
    }
    double LongestMs() const { return double(longest_) / 1e6; }
    // The UI thread's own CPU time within the longest gap.
    double LongestCpuMs() const { return double(longestCpu_) / 1e6; }
    // The UI thread's wait for a core within the longest gap.
    double LongestWaitMs() const { return double(longestWait_) / 1e6; }

private:
    void Tick() {
        if (paused_) {
            return;
        }
        const qint64 gap = sinceLast_.nsecsElapsed();
        const qint64 cpu = ThreadCpuNs();
        const qint64 wait = runQueue_.Ns();
        if (gap > longest_) {
            longest_ = gap;
            longestCpu_ = cpu - cpuAtLast_;
            longestWait_ = wait - waitAtLast_;
        }
        sinceLast_.restart();
        cpuAtLast_ = cpu;
        waitAtLast_ = wait;
        x_ = (x_ + 7) % std::max(1, list_->width());
        QTest::mouseMove(list_, QPoint(x_, list_->height() / 2));
        list_->repaint();
    }

    QWidget* list_;
    QTimer tick_;
    QElapsedTimer sinceLast_;
    qint64 longest_ = 0;
    qint64 longestCpu_ = 0;
    qint64 longestWait_ = 0;
    qint64 cpuAtLast_ = 0;
    qint64 waitAtLast_ = 0;
    RunQueueWait runQueue_;
    bool paused_ = false;
    int x_ = 0;
};

// Lets the event loop run, as the client's own would, until `done` or `limitMs` real ms.
bool RunUntil(const std::function<bool()>& done, qint64 limitMs) {
    QElapsedTimer waited;
    waited.start();
    QTimer wake;  // looks at `done` at least every 5 ms without spinning
    wake.setObjectName(QStringLiteral("soak wake"));
    wake.start(5);
    while (!done()) {
        if (waited.elapsed() > limitMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

// Row `serial` of the run gets the number 139 + 8 digits and a code of its own.
QString PhoneOf(int serial) {
    return QStringLiteral("139%1").arg(serial % 100000000, 8, 10, QChar(u'0'));
}
QString CodeOf(int serial) {
    return QString::number(100000 + serial % 900000);
}
// The serial of a number handed out by this run, or -1.
int SerialOf(const QString& phone) {
    if (phone.size() != 11 || !phone.startsWith(QStringLiteral("139"))) {
        return -1;
    }
    bool ok = false;
    const int serial = phone.mid(3).toInt(&ok);
    return ok ? serial : -1;
}

// What the recording window received, read as it grows: each forwarded code arrives as
// "COM<sequence>,<phone>,<code>," followed by Shift+Enter and Enter. Only the new bytes of the
// window's log are read, and each code is kept as a count by its row's serial, so the soak's
// own bookkeeping stays small beside the client's memory.
class ForwardedCodes {
public:
    ForwardedCodes(const QString& logPath, int capacity) : logPath_(logPath) {
        counts_.resize(size_t(capacity));
    }

    // Takes in the messages completed since the last call.
    void Update(int planned) {
        QFile file(logPath_);
        if (!file.open(QIODevice::ReadOnly) || !file.seek(consumed_)) {
            return;
        }
        const QByteArray fresh = file.readAll();
        const qsizetype end = fresh.lastIndexOf("[Enter]");
        if (end < 0) {
            return;
        }
        consumed_ += end;
        static const QRegularExpression code(QStringLiteral("COM\\d+,(\\d{11}),(\\d{6}),"));
        for (auto match = code.globalMatch(QString::fromUtf8(fresh.left(end))); match.hasNext();) {
            const QRegularExpressionMatch m = match.next();
            const int serial = SerialOf(m.captured(1));
            ++total_;
            if (serial < 0 || serial >= planned || m.captured(2) != CodeOf(serial)) {
                ++astray_;
                std::printf("forwarded astray: %s %s\n", qPrintable(m.captured(1)),
                            qPrintable(m.captured(2)));
            } else {
                if (size_t(serial) >= counts_.size()) {
                    counts_.resize(counts_.size() * 2);
                }
                ++counts_[size_t(serial)];
            }
        }
    }
    int Count(int serial) const {
        return size_t(serial) < counts_.size() ? counts_[size_t(serial)] : 0;
    }
    int Total() const { return total_; }
    int Astray() const { return astray_; }

private:
    QString logPath_;
    qint64 consumed_ = 0;
    std::vector<int> counts_;  // by serial
    int total_ = 0;
    int astray_ = 0;
};

// One point of the memory series.
struct MemorySample {
    double clockHours = 0;
    int cycle = 0;
    ProcessFigures process;
    HeapFigures heap;
    qint64 inUseLessLogKb = -1;  // measured when the log is cleared at each point
    int logLines = 0;
    int threads = 0;
    int openFiles = 0;
};

double Growth(qint64 from, qint64 to) {
    return 100.0 * double(to - from) / double(from);
}

class Soak {
public:
    Soak(const Options& options, platformsim::PlatformSim& sim, test::RecorderWindow& recorder)
        : options_(options),
          sim_(sim),
          clock_(options.factor, QDateTime::currentDateTime(), test::FastClock::TimeOuts::Fast),
          forwarded_(recorder.LogPath(), int(options.clockHours * 1000)) {
        InstallClock(&clock_);
        recorderHandle_ = recorder.handle();
    }
    ~Soak() {
        delete window_.data();
        InstallClock(nullptr);
    }

    int Run() {
        const ProcessFigures launch = ReadProcessFigures();
        if (!OpenWindow()) {
            return 1;
        }
        StallMeter stalls(list_);
        stalls_ = &stalls;
        stalls.Start();
        const qint64 launchTicks = clock_.Ticks();
        firstTicks_ = launchTicks;
        sampleEveryTicks_ = std::max<qint64>(options_.clockHours * 3600 * 1000 / 12, 5 * 60 * 1000);
        nextSample_ = clock_.Ticks();
        const qint64 endTicks = clock_.Ticks() + options_.clockHours * 3600 * 1000;
        ProcessFigures start;
        qint64 startLive = 0;
        qint64 startTicks = 0;
        int cycle = 0;
        QElapsedTimer real;
        real.start();
        for (; clock_.Ticks() < endTicks || cycle <= kWarmUpCycles; ++cycle) {
            if (cycle == kWarmUpCycles) {
                Sample(cycle);
                warmUpSample_ = int(samples_.size()) - 1;
                stalls.Pause();
                start = SettledProcessFigures();
                startLive = LiveResidentKb();
                stalls.Resume();
                startTicks = clock_.Ticks();
            }
            if (clock_.Ticks() >= nextSample_) {
                Sample(cycle);
                nextSample_ = clock_.Ticks() + sampleEveryTicks_;
            }
            if (!RunCycle(cycle)) {
                failed_ = true;
                break;
            }
            if (hourSample_ < 0 && clock_.Ticks() - launchTicks >= 3600 * 1000) {
                Sample(cycle + 1);
                hourSample_ = int(samples_.size()) - 1;
            }
            if (cycle % 50 == 0) {
                const ProcessFigures now = ReadProcessFigures();
                std::printf(
                    "cycle %d: clock %.1f h, real %.0f s, rss %lld kB, threads %d, fds %d\n", cycle,
                    double(clock_.Ticks()) / 3.6e6, double(real.elapsed()) / 1000, now.residentKb,
                    now.threads, now.openFiles);
                std::fflush(stdout);
            }
        }
        // The soak's own measures (a malloc_trim, clearing the log) are no stall of the client.
        stalls.Pause();
        Sample(cycle);
        const ProcessFigures end = SettledProcessFigures();
        const qint64 endLive = LiveResidentKb();
        // The forwarding log only grows, by design: what the rest of the client holds shows once
        // its lines are gone.
        auto* log = window_->findChild<QPlainTextEdit*>(QStringLiteral("编辑框5"));
        const int logLines = log->blockCount();
        const qint64 logChars = log->document()->characterCount();
        const HeapFigures heapWithLog = ReadHeapFigures();
        log->clear();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const qint64 endWithoutLog = LiveResidentKb();
        const HeapFigures heapWithoutLog = ReadHeapFigures();
        const double logBytesPerLine =
            logLines > 1 ? 1024.0 * double(heapWithLog.inUseKb - heapWithoutLog.inUseKb) /
                               double(logLines - 1)
                         : 0.0;
        const double growthWithoutLog =
            100.0 * double(endWithoutLog - startLive) / double(startLive);
        const double clockHours = double(clock_.Ticks() - startTicks) / 3.6e6;

        // A late or repeated code would show now.
        RunUntil([] { return false; }, 2000);
        forwarded_.Update(planned_);
        int wrong = forwarded_.Astray();
        for (int serial = 0; serial < planned_; ++serial) {
            if (forwarded_.Count(serial) != 1) {
                ++wrong;
                std::printf("forwarded %dx: %s %s\n", forwarded_.Count(serial),
                            qPrintable(PhoneOf(serial)), qPrintable(CodeOf(serial)));
            }
        }

        const double growth =
            100.0 * double(end.residentKb - start.residentKb) / double(start.residentKb);
        std::printf(
            "\n== soak: %d cycles, %.1f h of the clock (x%lld) after %d warm-up cycles, "
            "%.0f s real\n",
            cycle, clockHours, options_.factor, kWarmUpCycles, double(real.elapsed()) / 1000);
        std::printf("resident memory: launch %lld kB, start %lld kB, end %lld kB (%+.2f %%)\n",
                    launch.residentKb, start.residentKb, end.residentKb, growth);
        std::printf("in use (after malloc_trim): start %lld kB, end %lld kB (%+.2f %%)\n",
                    startLive, endLive, 100.0 * double(endLive - startLive) / double(startLive));
        std::printf(
            "forwarding log: %d lines, %lld characters; in use without it at the end: "
            "%lld kB (%+.2f %% on the start)\n",
            logLines, logChars, endWithoutLog, growthWithoutLog);
        std::printf("threads: start %d, end %d\n", start.threads, end.threads);
        std::printf("open files: start %d, end %d\n", start.openFiles, end.openFiles);
        std::printf(
            "codes: planned %d, on their own rows %d, forwarded %d (wrong or repeated %d)\n",
            planned_, codesOnRows_, forwarded_.Total(), wrong);
        std::printf("messages shown besides the release confirmations: %d\n", otherMessages_);
        std::printf(
            "longest UI stall: %.1f ms (of it: %.1f ms on the UI thread's CPU, %.1f ms waiting "
            "for a core)\n",
            stalls.LongestMs(), stalls.LongestCpuMs(), stalls.LongestWaitMs());
        if (auto* probe = dynamic_cast<EventProbeApplication*>(qApp)) {
            std::printf(
                "longest single UI event: %.1f ms (%.1f ms CPU, %.1f ms waiting for a core), %s\n",
                probe->LongestMs(), probe->LongestCpuMs(), probe->LongestWaitMs(),
                qPrintable(probe->Longest()));
        }
        stalls_ = nullptr;
        PrintSeries(logBytesPerLine);

        const bool ok = !failed_ && wrong == 0 && codesOnRows_ == planned_ &&
                        forwarded_.Total() == planned_ && growthWithoutLog < 5.0 &&
                        end.threads <= start.threads && end.openFiles <= start.openFiles &&
                        otherMessages_ == 0;
        std::printf("%s\n", ok ? "PASS" : "FAIL");
        if (options_.leaveHeap) {
            std::fflush(stdout);
            std::_Exit(ok ? 0 : 1);
        }
        return ok ? 0 : 1;
    }

private:
    void Sample(int cycle) {
        const bool metering = stalls_ != nullptr;
        if (metering) {
            stalls_->Pause();
        }
        if (options_.trim) {
            malloc_trim(0);
        }
        MemorySample sample;
        sample.clockHours = double(clock_.Ticks() - firstTicks_) / 3.6e6;
        sample.cycle = cycle;
        sample.process = ReadProcessFigures();
        sample.heap = ReadHeapFigures();
        if (auto* log = window_->findChild<QPlainTextEdit*>(QStringLiteral("编辑框5"))) {
            sample.logLines = log->blockCount();
            if (options_.clearLog) {
                log->clear();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                sample.inUseLessLogKb = ReadHeapFigures().inUseKb;
                clearedLogLines_ += sample.logLines - 1;
                clearedLogKb_ += sample.heap.inUseKb - sample.inUseLessLogKb;
            }
        }
        samples_.push_back(sample);
        if (metering) {
            stalls_->Resume();
        }
    }

    // The series, with the heap in use less the forwarding log (measured when the log is cleared
    // at each point, else estimated at what one line cost when it was cleared at the end), and the
    // growth on three bases: the open window, the warm-up cycles and the first hour of the clock.
    void PrintSeries(double logBytesPerLine) const {
        if (samples_.empty()) {
            return;
        }
        if (clearedLogLines_ > 0) {
            logBytesPerLine = 1024.0 * double(clearedLogKb_) / double(clearedLogLines_);
        }
        const auto lessLog = [&](const MemorySample& sample) {
            if (sample.inUseLessLogKb >= 0) {
                return sample.inUseLessLogKb;
            }
            return sample.heap.inUseKb -
                   qint64(double(std::max(0, sample.logLines - 1)) * logBytesPerLine / 1024);
        };
        std::printf("\nmemory series (kB; the log costs %.0f bytes a line)%s%s\n", logBytesPerLine,
                    options_.trim ? ", malloc_trim before each point" : "",
                    options_.clearLog ? ", the log cleared after each point" : "");
        std::printf("%7s %6s %8s %7s %7s %6s %8s %9s %7s %6s %6s %4s\n", "clock h", "cycle",
                    "resident", "anon", "file", "shmem", "heap use", "less log", "system", "arenas",
                    "lines", "thr");
        for (const MemorySample& s : samples_) {
            std::printf("%7.2f %6d %8lld %7lld %7lld %6lld %8lld %9lld %7lld %6d %6d %4d\n",
                        s.clockHours, s.cycle, s.process.residentKb, s.process.anonymousKb,
                        s.process.fileKb, s.process.sharedKb, s.heap.inUseKb, lessLog(s),
                        s.heap.fromSystemKb, s.heap.arenas, s.logLines, s.process.threads);
        }
        const MemorySample& last = samples_.back();
        const auto printGrowth = [&](const char* name, int index) {
            if (index < 0 || size_t(index) >= samples_.size()) {
                return;
            }
            const MemorySample& base = samples_[size_t(index)];
            std::printf(
                "growth from %s (%.2f h): resident %+.2f %% (anonymous %+lld kB, files %+lld kB, "
                "shared %+lld kB), heap in use %+.2f %%, less the log %+.2f %%, taken from the "
                "system %+.2f %%\n",
                name, base.clockHours, Growth(base.process.residentKb, last.process.residentKb),
                last.process.anonymousKb - base.process.anonymousKb,
                last.process.fileKb - base.process.fileKb,
                last.process.sharedKb - base.process.sharedKb,
                Growth(base.heap.inUseKb, last.heap.inUseKb), Growth(lessLog(base), lessLog(last)),
                Growth(base.heap.fromSystemKb, last.heap.fromSystemKb));
        };
        printGrowth("the open window", 0);
        printGrowth("the warm-up cycles", warmUpSample_);
        printGrowth("the first clock hour", hourSample_);
    }

    bool OpenWindow() {
        window_ = new MainWindow(QPointer<QWidget>());
        window_->show();
        window_->activateWindow();
        if (!QTest::qWaitForWindowActive(window_)) {
            std::printf("the main window did not become active\n");
            return false;
        }
        picker_ = window_->findChild<QComboBox*>(QStringLiteral("组合框_取号_项目列表"));
        list_ = window_->findChild<QTreeWidget*>(QStringLiteral("超级列表框_取码_列表框"));
        if (!RunUntil([this] { return picker_->count() > 0; }, 30000)) {
            std::printf("the favourite projects did not arrive\n");
            return false;
        }
        const QRegularExpression id(QStringLiteral("^\\[(\\d+)\\]"));
        projectId_ = id.match(picker_->currentText()).captured(1).toStdString();
        window_->findChild<QLineEdit*>(QStringLiteral("编辑框_取号_获取数量"))
            ->setText(QString::number(kRows));
        window_->findChild<QLineEdit*>(QStringLiteral("编辑框7"))->setText(kSeparator);

        // The recording window becomes the target as the cross-hair makes it, then "启动".
        test::FixedPicker target;
        target.window = recorderHandle_;
        target.title = QStringLiteral("聊天");
        InstallPicker(&target);
        window_->forwarding().BeginCapture();
        window_->forwarding().TrackPointer({});
        window_->forwarding().EndCapture();
        InstallPicker(nullptr);
        window_->findChild<QPushButton*>(QStringLiteral("按钮1"))->click();
        if (window_->forwarding().TargetWindow() != recorderHandle_ ||
            window_->forwarding().ForwardingState() != ForwardingController::kRunning) {
            std::printf("forwarding did not start on the recording window\n");
            return false;
        }
        fakes_.messageBoxes.onShow = [this](const Message& message) {
            if (message.text != QStringLiteral("释放号码")) {
                ++otherMessages_;
                std::printf("message: %s\n", qPrintable(message.text));
            }
        };
        return true;
    }

    // One cycle: a batch of 16 fresh numbers, each with a code of its own, all polled to their
    // code and forwarded, then all released.
    bool RunCycle(int cycle) {
        platformsim::NumberModel& numbers = sim_.Numbers();
        numbers.Reset();
        sim_.ClearRequests();
        const int first = cycle * kRows;
        std::vector<std::string> phones;
        for (int serial = first; serial < first + kRows; ++serial) {
            phones.push_back(PhoneOf(serial).toStdString());
            numbers.PlanSms(
                phones.back(),
                {.text = "【抖音】您的验证码是" + CodeOf(serial).toStdString() + "，5分钟内有效。",
                 .queriesBefore = 2});
        }
        planned_ = first + kRows;
        fakes_.messageBoxes.shown.clear();
        numbers.QueueNumbers(projectId_, phones);
        window_->findChild<QPushButton*>(QStringLiteral("按钮_取号_获取号码"))->click();

        NumberList& list = window_->numbers().List();
        const auto allArrived = [&] {
            if (window_->numbers().BatchRunning() || list.RowCount() != kRows) {
                return false;
            }
            for (int i = 0; i < kRows; ++i) {
                if (list.Row(i).code.isEmpty()) {
                    return false;
                }
            }
            return true;
        };
        if (!RunUntil(allArrived, kCycleLimitMs)) {
            std::printf("cycle %d: the codes did not all arrive (%d rows)\n", cycle,
                        list.RowCount());
            return false;
        }
        for (int i = 0; i < kRows; ++i) {
            const NumberRow row = list.Row(i);
            const int serial = SerialOf(row.phone);
            if (serial >= first && serial < first + kRows && row.code == CodeOf(serial) &&
                row.status == QStringLiteral("短信已达到")) {
                ++codesOnRows_;
            } else {
                std::printf("cycle %d: row %d holds %s %s %s\n", cycle, i, qPrintable(row.phone),
                            qPrintable(row.code), qPrintable(row.status));
            }
        }

        // The codes are typed by the poller after it wrote their rows; wait for all 16.
        const auto allForwarded = [&] {
            stalls_->Pause();
            forwarded_.Update(planned_);
            stalls_->Resume();
            for (int serial = first; serial < first + kRows; ++serial) {
                if (forwarded_.Count(serial) == 0) {
                    return false;
                }
            }
            return true;
        };
        if (!RunUntil(allForwarded, kCycleLimitMs)) {
            std::printf("cycle %d: not every code reached the recording window\n", cycle);
            return false;
        }

        window_->findChild<QPushButton*>(QStringLiteral("按钮_取号全部释放"))->click();
        if (!RunUntil([&] { return list.RowCount() == 0 && numbers.Held().empty(); },
                      kCycleLimitMs)) {
            std::printf("cycle %d: %d rows and %d numbers held after the release\n", cycle,
                        list.RowCount(), int(numbers.Held().size()));
            return false;
        }
        if (numbers.Disposals().size() != size_t(kRows)) {
            std::printf("cycle %d: %d numbers released\n", cycle, int(numbers.Disposals().size()));
            return false;
        }
        return true;
    }

    Options options_;
    platformsim::PlatformSim& sim_;
    test::FastClock clock_;
    test::FakeServices fakes_;
    ForwardedCodes forwarded_;
    WindowHandle recorderHandle_ = 0;
    QPointer<MainWindow> window_;
    QComboBox* picker_ = nullptr;
    QTreeWidget* list_ = nullptr;
    StallMeter* stalls_ = nullptr;
    std::string projectId_;
    int planned_ = 0;  // rows planned so far: serials 0 to planned_ - 1
    int codesOnRows_ = 0;
    int otherMessages_ = 0;
    bool failed_ = false;
    std::vector<MemorySample> samples_;
    qint64 firstTicks_ = 0;
    qint64 sampleEveryTicks_ = 0;
    qint64 nextSample_ = 0;
    int warmUpSample_ = -1;
    int hourSample_ = -1;
    int clearedLogLines_ = 0;
    qint64 clearedLogKb_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    EventProbeApplication app(argc, argv);
    const Options options = ParseOptions(app.arguments());
    if (!test::HaveDisplay()) {
        std::fprintf(stderr, "no X display: run it under xvfb-run (make soak)\n");
        return 2;
    }
    test::WindowManager manager;
    if (!manager.Running()) {
        std::fprintf(stderr, "no window manager\n");
        return 2;
    }
    test::RecorderWindow recorder(QStringLiteral("聊天"));
    if (recorder.handle() == 0) {
        std::fprintf(stderr, "the recording window did not come up\n");
        return 2;
    }

    platformsim::PlatformSim sim;
    if (!sim.Start()) {
        std::fprintf(stderr, "the local platform did not start: %s\n", sim.StartError().c_str());
        return 2;
    }
    SetLines(test::SimLines(sim));
    SetSegmentHost(QString::fromStdString(sim.Address(platformsim::Line::Segment)));
    CurrentLogin().userName = QStringLiteral("demo2026");
    CurrentLogin().password = QStringLiteral("lanxun666");

    int result = 0;
    {
        Soak soak(options, sim, recorder);
        result = soak.Run();
    }
    return result;
}
