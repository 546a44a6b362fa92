#pragma once

class QWidget;

namespace lanxun {

// Opens a window modally and returns when the window has been destroyed.
// The opener takes the window over: it is deleted when it closes.
class ModalOpener {
public:
    virtual ~ModalOpener() = default;
    virtual void OpenModal(QWidget* window) = 0;
};

// The process-wide opener; a test installs its own (nullptr restores the real one).
ModalOpener& ModalWindows();
void InstallModalWindows(ModalOpener* opener);

}  // namespace lanxun
