#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/on_ui_thread.h"
#include "platform/service_slot.h"

namespace lanxun {
namespace {

class SystemClipboard final : public ClipboardService {
public:
    void SetText(const QString& text) override {
        RunOnUiThread([&] { QGuiApplication::clipboard()->setText(text); });
    }
    QString Text() override {
        return ReadOnUiThread([] { return QGuiApplication::clipboard()->text(); });
    }
};

constinit ServiceSlot<ClipboardService, SystemClipboard> slot;

}  // namespace

ClipboardService& Clipboard() {
    return slot.Get();
}

void InstallClipboard(ClipboardService* service) {
    slot.Install(service);
}

}  // namespace lanxun
