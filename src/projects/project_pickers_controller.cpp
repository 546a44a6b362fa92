#include "projects/project_pickers_controller.h"

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>
#include <algorithm>

#include "account/login_state.h"
#include "api/platform_call.h"
#include "api/protocol.h"
#include "platform/clock.h"
#include "platform/handler_scope.h"
#include "platform/message_box.h"
#include "platform/on_ui_thread.h"

namespace lanxun {

namespace {

constexpr int kFavouritesPauseMs = 300;
constexpr int kReceiveSearchPauseMs = 300;
constexpr int kSendSearchPauseMs = 100;

void SetEnabled(QWidget* window, bool enabled) {
    RunOnUiThread([window, enabled] { window->setEnabled(enabled); });
}

// One favourites load: window disabled, a pause, the picker cleared, the request, then the
// whole result handed to the UI thread in one call, which also enables the window again.
class FavouritesLoader : public Worker {
public:
    FavouritesLoader(ProjectPickersController& pickers, const ProjectPickersController::Widgets& w,
                     ProjectKind kind)
        : pickers_(pickers), widgets_(w), kind_(kind) {}
    ~FavouritesLoader() override { Stop(); }

protected:
    void Run() override {
        const bool send = kind_ == ProjectKind::SendSms;
        if (send) {
            RunOnUiThread([this] { pickers_.sendProjectList().Clear(); });
        }
        SetEnabled(widgets_.window, false);
        if (!Pause(kFavouritesPauseMs)) {
            return;
        }
        QComboBox* picker = send ? widgets_.sendPicker : widgets_.receivePicker;
        RunOnUiThread([picker] { picker->clear(); });
        const QString reply = FetchReply(FavouritesUrl(CurrentCredentials(), kind_));
        if (StopRequested()) {
            return;
        }
        if (send) {
            const SendPickerContent content = SendPickerFromFavourites(reply);
            RunOnUiThread([this, &content] {
                pickers_.ShowSendContent(content);
                widgets_.window->setEnabled(true);
            });
        } else {
            const ReceivePickerContent content = ReceivePickerFromFavourites(reply);
            RunOnUiThread([this, &content] {
                pickers_.ShowReceiveContent(content);
                widgets_.window->setEnabled(true);
            });
        }
    }

private:
    ProjectPickersController& pickers_;
    ProjectPickersController::Widgets widgets_;
    ProjectKind kind_;
};

}  // namespace

ProjectPickersController::ProjectPickersController(const Widgets& widgets) : widgets_(widgets) {}

ProjectPickersController::~ProjectPickersController() {
    reloads_.clear();  // each loader stops and is waited for
}

std::unique_ptr<Worker> ProjectPickersController::CreateReceiveLoader() {
    return std::make_unique<FavouritesLoader>(*this, widgets_, ProjectKind::ReceiveSms);
}

std::unique_ptr<Worker> ProjectPickersController::CreateSendLoader() {
    return std::make_unique<FavouritesLoader>(*this, widgets_, ProjectKind::SendSms);
}

void ProjectPickersController::ReloadReceivePicker() {
    StartReload(CreateReceiveLoader());
}

void ProjectPickersController::ReloadSendPicker() {
    StartReload(CreateSendLoader());
}

void ProjectPickersController::StartReload(std::unique_ptr<Worker> loader) {
    // Finished loaders are let go here, so repeated clicks do not pile up threads.
    std::erase_if(reloads_, [](const std::unique_ptr<Worker>& w) { return w->Finished(); });
    loader->Start();
    reloads_.push_back(std::move(loader));
}

std::vector<Worker*> ProjectPickersController::RunningReloads() {
    std::vector<Worker*> running;
    for (const auto& loader : reloads_) {
        if (!loader->Finished()) {
            running.push_back(loader.get());
        }
    }
    return running;
}

void ProjectPickersController::SearchReceivePicker() {
    const QString text = RemoveBlanks(widgets_.receiveSearchBox->text());
    if (text.isEmpty()) {
        MessageBoxes().Information(widgets_.window, QStringLiteral("请输入项目ID或关键字"));
        return;
    }
    HandlerScope running(widgets_.window);
    widgets_.receivePicker->clear();
    widgets_.window->setEnabled(false);
    PumpDelay(kReceiveSearchPauseMs);
    const QString reply = FetchReply(ProjectListUrl(CurrentCredentials(), text));
    ShowReceiveContent(ReceivePickerFromSearch(reply));
    widgets_.window->setEnabled(true);
}

void ProjectPickersController::SearchSendPicker() {
    const QString text = RemoveBlanks(widgets_.sendSearchBox->text());
    if (text.isEmpty()) {
        MessageBoxes().Information(widgets_.window, QStringLiteral("请输入项目ID或关键字"));
        return;
    }
    HandlerScope running(widgets_.window);
    sendProjects_.Clear();
    widgets_.sendPicker->clear();
    widgets_.window->setEnabled(false);
    PumpDelay(kSendSearchPauseMs);
    const QString reply = FetchReply(ProjectListUrl(CurrentCredentials(), text));
    ShowSendContent(SendPickerFromSearch(reply));
    widgets_.window->setEnabled(true);
}

void ProjectPickersController::ShowReceiveContent(const ReceivePickerContent& content) {
    // Selections by code emit no `activated`: a fill is never taken for the user's pick.
    QComboBox* picker = widgets_.receivePicker;
    picker->clear();
    picker->addItems(content.items);
    picker->setCurrentIndex(0);
}

void ProjectPickersController::ShowSendContent(const SendPickerContent& content) {
    sendProjects_.Replace(content.sendProjectList);
    if (content.hasProjects) {
        widgets_.sendingNumbers->clear();
        // Each number carries the index of its project's line, as when the user picks a project.
        for (const SendingNumberItem& item : SendingNumberItems(sendProjects_.Lines())) {
            widgets_.sendingNumbers->addItem(item.number, item.line);
        }
    }
    QComboBox* picker = widgets_.sendPicker;
    picker->clear();
    picker->addItems(content.items);
    widgets_.sendingNumbers->setCurrentIndex(0);
    picker->setCurrentIndex(0);
}

}  // namespace lanxun
