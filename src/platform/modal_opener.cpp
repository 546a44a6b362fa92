#include "platform/modal_opener.h"

#include <QEventLoop>
#include <QPointer>
#include <QWidget>

#include "platform/service_slot.h"

namespace lanxun {
namespace {

class RealModalOpener final : public ModalOpener {
public:
    void OpenModal(QWidget* window) override {
        if (!window) {
            return;
        }
        QPointer<QWidget> guard = window;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowModality(Qt::ApplicationModal);
        QEventLoop loop;
        QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
        window->show();
        if (guard) {
            loop.exec();
        }
    }
};

constinit ServiceSlot<ModalOpener, RealModalOpener> slot;

}  // namespace

ModalOpener& ModalWindows() {
    return slot.Get();
}

void InstallModalWindows(ModalOpener* opener) {
    slot.Install(opener);
}

}  // namespace lanxun
