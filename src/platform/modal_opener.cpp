#include "platform/modal_opener.h"

#include <QEventLoop>
#include <QPointer>
#include <QWidget>
#include <atomic>

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

RealModalOpener& Real() {
    static RealModalOpener real;
    return real;
}

std::atomic<ModalOpener*> installed{nullptr};

}  // namespace

ModalOpener& ModalWindows() {
    ModalOpener* opener = installed.load();
    return opener ? *opener : Real();
}

void InstallModalWindows(ModalOpener* opener) {
    installed.store(opener);
}

}  // namespace lanxun
