#pragma once

#include <QUrl>

namespace lanxun {

// Hands a web address or a messenger link to the desktop ("open" through the
// system shell). Whether anything can open it is the desktop's business.
class ShellService {
public:
    virtual ~ShellService() = default;
    // False when the desktop could not open the address.
    virtual bool Open(const QUrl& url) = 0;
};

// The process-wide service; a test installs its own (nullptr restores the real one).
ShellService& Shell();
void InstallShell(ShellService* service);

}  // namespace lanxun
