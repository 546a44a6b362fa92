#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <atomic>

#include "platform/on_ui_thread.h"

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

SystemClipboard& Real() {
    static SystemClipboard real;
    return real;
}

std::atomic<ClipboardService*> installed{nullptr};

}  // namespace

ClipboardService& Clipboard() {
    ClipboardService* service = installed.load();
    return service ? *service : Real();
}

void InstallClipboard(ClipboardService* service) {
    installed.store(service);
}

}  // namespace lanxun
