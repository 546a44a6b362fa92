#include "platform/window_picker.h"

#include "platform/gbk.h"
#include "platform/service_slot.h"
#include "platform/x11_connection.h"

namespace lanxun {
namespace {

class X11WindowPicker final : public WindowPicker {
public:
    WindowHandle WindowAt(const QPoint& globalPos) override {
        X11Connection connection;
        return connection.ClientWindowAt(globalPos);
    }

    QString Title(WindowHandle window) override {
        X11Connection connection;
        return CutToGbkBytes(connection.Title(window), 255);
    }
};

constinit ServiceSlot<WindowPicker, X11WindowPicker> slot;

}  // namespace

WindowPicker& Picker() {
    return slot.Get();
}

void InstallPicker(WindowPicker* service) {
    slot.Install(service);
}

QString CutToGbkBytes(const QString& title, int maxBytes) {
    int bytes = 0;
    qsizetype end = 0;
    while (end < title.size()) {
        const qsizetype length = title.at(end).isHighSurrogate() && end + 1 < title.size() ? 2 : 1;
        const int charBytes = GbkByteLength(title.mid(end, length));
        if (bytes + charBytes > maxBytes) {
            break;
        }
        bytes += charBytes;
        end += length;
    }
    return title.left(end);
}

}  // namespace lanxun
