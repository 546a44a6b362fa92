#pragma once

#include <QString>

namespace lanxun {

// Ends the client's own process at once with exit code 0: no clean-up, no
// flushing, background threads cut off wherever they are.
class ProcessExit {
public:
    virtual ~ProcessExit() = default;
    virtual void EndOwnProcess() = 0;
};

// The process-wide service; a test installs its own (nullptr restores the real one).
ProcessExit& ProcessExits();
void InstallProcessExit(ProcessExit* service);

// Shorthand for ProcessExits().EndOwnProcess(). Returns only when a test's
// service did not end the process.
void EndOwnProcess();

// The file name (no directory) of the running executable, as it was when the
// process started: a later rename of the file does not change it.
QString OwnExecutableName();

// Ends the first running process, in process-table order, whose executable
// file name equals `exeName` (an empty name means the client's own). Letter case
// is ignored unless `caseSensitive`. True when a process was ended; false when
// none matched or it could not be ended. A match on the own process ends it
// through EndOwnProcess(), so it exits with code 0; another process is killed.
bool TerminateProcessByName(const QString& exeName = QString(), bool caseSensitive = false);

}  // namespace lanxun
