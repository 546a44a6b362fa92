#include "platform/process.h"

#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <vector>

#include "platform/service_slot.h"

namespace lanxun {
namespace {

class ImmediateExit final : public ProcessExit {
public:
    void EndOwnProcess() override { ::_exit(0); }
};

constinit ServiceSlot<ProcessExit, ImmediateExit> slot;

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

// The own name is read once, while the process loads: the self-update renames
// the running file to name + ".gx" and must still know the name it was started
// under. /proc/self/exe is the file the kernel started, whatever argv[0] says.
// QCoreApplication::applicationFilePath() reads the same link, but needs an
// application object, gives the new name when first asked after the rename, and
// falls back to argv[0] once the file is deleted.
const QString& StartName() {
    static const QString name = ExecutableName(QStringLiteral("self"));
    return name;
}
[[maybe_unused]] const QString& startNameTakenAtLoad = StartName();

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
    return slot.Get();
}

void InstallProcessExit(ProcessExit* service) {
    slot.Install(service);
}

void EndOwnProcess() {
    ProcessExits().EndOwnProcess();
}

QString OwnExecutableName() {
    return StartName();
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
