#include "platform/process.h"

#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <atomic>
#include <vector>

namespace lanxun {
namespace {

class ImmediateExit final : public ProcessExit {
public:
    void EndOwnProcess() override { ::_exit(0); }
};

ImmediateExit& Real() {
    static ImmediateExit real;
    return real;
}

std::atomic<ProcessExit*> installed{nullptr};

// The executable's file name of a process, or empty when it cannot be read
// (another user's process, a zombie, a kernel thread).
QString ExecutableName(const QString& pid) {
    const QByteArray link = QFile::encodeName(QStringLiteral("/proc/%1/exe").arg(pid));
    char buffer[4096];
    const ssize_t length = ::readlink(link.constData(), buffer, sizeof buffer);
    if (length <= 0) {
        return {};
    }
    QString target = QFile::decodeName(QByteArray(buffer, static_cast<int>(length)));
    // A replaced or deleted executable (as after an update) still names its file.
    const QString deleted = QStringLiteral(" (deleted)");
    if (target.endsWith(deleted)) {
        target.chop(deleted.size());
    }
    return QFileInfo(target).fileName();
}

// The running processes in process-table order (by process id).
std::vector<pid_t> ProcessSnapshot() {
    std::vector<pid_t> pids;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool ok = false;
        const qlonglong pid = entry.toLongLong(&ok);
        if (ok && pid > 0) {
            pids.push_back(static_cast<pid_t>(pid));
        }
    }
    std::sort(pids.begin(), pids.end());
    return pids;
}

}  // namespace

ProcessExit& ProcessExits() {
    ProcessExit* service = installed.load();
    return service ? *service : Real();
}

void InstallProcessExit(ProcessExit* service) {
    installed.store(service);
}

void EndOwnProcess() {
    ProcessExits().EndOwnProcess();
}

QString OwnExecutableName() {
    return ExecutableName(QStringLiteral("self"));
}

bool TerminateProcessByName(const QString& exeName, bool caseSensitive) {
    const QString wanted = exeName.isEmpty() ? OwnExecutableName() : exeName;
    if (wanted.isEmpty()) {
        return false;
    }
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (const pid_t pid : ProcessSnapshot()) {
        if (ExecutableName(QString::number(pid)).compare(wanted, cs) != 0) {
            continue;
        }
        if (pid == ::getpid()) {
            EndOwnProcess();
            return true;
        }
        return ::kill(pid, SIGKILL) == 0;
    }
    return false;
}

}  // namespace lanxun
