#include "platform/shell_open.h"

#include <QDesktopServices>
#include <atomic>

#include "platform/on_ui_thread.h"

namespace lanxun {
namespace {

class DesktopShell final : public ShellService {
public:
    bool Open(const QUrl& url) override {
        return ReadOnUiThread([&] { return QDesktopServices::openUrl(url); });
    }
};

DesktopShell& Real() {
    static DesktopShell real;
    return real;
}

std::atomic<ShellService*> installed{nullptr};

}  // namespace

ShellService& Shell() {
    ShellService* service = installed.load();
    return service ? *service : Real();
}

void InstallShell(ShellService* service) {
    installed.store(service);
}

}  // namespace lanxun
