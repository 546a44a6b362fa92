#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "platform/worker.h"

class QComboBox;
class QStatusBar;
class QTabWidget;
class QWidget;

namespace lanxun {

// The main window's own life: its first activation and the exit confirmation.
class MainWindowController {
public:
    struct Widgets {
        QWidget* window = nullptr;
        QStatusBar* statusBar = nullptr;      // 状态条1
        QTabWidget* pages = nullptr;          // 高级选择夹1
        QComboBox* numbersRegions = nullptr;  // 组合框_地区
        QComboBox* sendSmsRegions = nullptr;  // 组合框_地区1
        QWidget* numbersButton = nullptr;     // 超级按钮_收短信, focused at activation
    };
    // Creates one background routine; nullptr: none.
    using WorkerFactory = std::function<std::unique_ptr<Worker>()>;

    // `loginWindow` is destroyed at the first activation; `workers` start then, in order.
    MainWindowController(const Widgets& widgets, QPointer<QWidget> loginWindow,
                         std::vector<WorkerFactory> workers);
    ~MainWindowController();  // stops the routines

    // Runs the first-activation sequence once; later activations do nothing.
    void Activated();
    bool FirstActivationDone() const { return activated_; }

    // A close request: asks "退出用户端"; OK ends the process at once. True when the window
    // is to close after all (the process could not be ended).
    bool ConfirmExit();

    // Flags every routine to stop (pauses and requests in flight end), without waiting.
    void RequestStopWorkers();
    // Flags every routine, then waits for each; the window's destruction does this before
    // its form goes.
    void StopWorkers();

private:
    void FillStatusBar();
    void ApplyPagePresentation();
    void FillRegionPickers();
    void StartWorkers();

    Widgets widgets_;
    QPointer<QWidget> loginWindow_;
    std::vector<WorkerFactory> workerFactories_;
    std::vector<std::unique_ptr<Worker>> workers_;
    bool activated_ = false;
};

}  // namespace lanxun
