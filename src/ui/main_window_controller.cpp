#include "ui/main_window_controller.h"

#include <QComboBox>
#include <QLabel>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>

#include "account/login_state.h"
#include "account/startup.h"
#include "numbers/loop_mode.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "ui/region_list.h"
#include "ui/status_bar.h"

namespace lanxun {

MainWindowController::MainWindowController(const Widgets& widgets, QPointer<QWidget> loginWindow,
                                           std::vector<WorkerFactory> workers)
    : widgets_(widgets),
      loginWindow_(std::move(loginWindow)),
      workerFactories_(std::move(workers)) {}

MainWindowController::~MainWindowController() {
    StopWorkers();
}

void MainWindowController::RequestStopWorkers() {
    for (auto& worker : workers_) {
        worker->RequestStop();
    }
}

void MainWindowController::StopWorkers() {
    // Every routine is flagged before the first is waited for, so their stops overlap.
    RequestStopWorkers();
    for (auto& worker : workers_) {
        worker->Stop();
    }
    workers_.clear();
}

void MainWindowController::Activated() {
    if (activated_) {
        return;
    }
    activated_ = true;
    if (loginWindow_) {
        // Deferred: the login window may still be on the call stack that opened us.
        loginWindow_->deleteLater();
        loginWindow_.clear();
    }
    FillStatusBar();
    ApplyPagePresentation();
    FillRegionPickers();
    SetGetLoopMode(QStringLiteral("1"));
    widgets_.numbersButton->setFocus(Qt::OtherFocusReason);
    StartWorkers();
}

void MainWindowController::FillStatusBar() {
    const LoginState& login = CurrentLogin();
    const QString texts[] = {
        QStringLiteral("用户:") + login.userName,
        QStringLiteral("余额:") + login.balance,
        QStringLiteral("可提现:") + login.withdrawable,
        QStringLiteral("版本:") + QString::fromUtf8(kClientVersion),
        QStringLiteral("客服QQ:") + login.serviceQq,
    };
    for (int i = 0; i < static_cast<int>(std::size(texts)); ++i) {
        if (QLabel* part = StatusPart(widgets_.statusBar, i)) {
            part->setText(texts[i]);
        }
    }
}

void MainWindowController::ApplyPagePresentation() {
    // The client switches pages itself: no page headers a click could use (the empty
    // page 1 must stay unreachable) and no frame around the pages.
    widgets_.pages->tabBar()->hide();
    widgets_.pages->setDocumentMode(true);
}

void MainWindowController::FillRegionPickers() {
    const QStringList items = RegionPickerItems();
    for (const QString& item : items) {
        widgets_.numbersRegions->addItem(item);
        widgets_.sendSmsRegions->addItem(item);
    }
    widgets_.numbersRegions->setCurrentIndex(0);
    widgets_.sendSmsRegions->setCurrentIndex(0);
}

void MainWindowController::StartWorkers() {
    for (const WorkerFactory& create : workerFactories_) {
        if (std::unique_ptr<Worker> worker = create()) {
            worker->Start();
            workers_.push_back(std::move(worker));
        }
    }
}

bool MainWindowController::ConfirmExit() {
    if (!MessageBoxes().OkCancel(widgets_.window, QStringLiteral("退出用户端"),
                                 MessageBoxService::DefaultTitle(), MessageIcon::None)) {
        return false;
    }
    // The client's own process, never another copy found by its file name.
    EndOwnProcess();
    return true;  // reached only when the process could not be ended: close normally
}

}  // namespace lanxun
