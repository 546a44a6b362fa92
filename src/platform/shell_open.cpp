#include "platform/shell_open.h"

#include <QDesktopServices>

#include "platform/on_ui_thread.h"
#include "platform/service_slot.h"

namespace lanxun {
namespace {

class DesktopShell final : public ShellService {
public:
    bool Open(const QUrl& url) override {
        return ReadOnUiThread([&] { return QDesktopServices::openUrl(url); });
    }
};

constinit ServiceSlot<ShellService, DesktopShell> slot;

}  // namespace

ShellService& Shell() {
    return slot.Get();
}

void InstallShell(ShellService* service) {
    slot.Install(service);
}

}  // namespace lanxun
