#pragma once

#include <QString>

namespace lanxun {

// The system clipboard, plain text only. Callable from any thread; the
// clipboard itself is used on the UI thread.
class ClipboardService {
public:
    virtual ~ClipboardService() = default;
    virtual void SetText(const QString& text) = 0;
    virtual QString Text() = 0;
};

// The process-wide service; a test installs its own (nullptr restores the real one).
ClipboardService& Clipboard();
void InstallClipboard(ClipboardService* service);

}  // namespace lanxun
