#pragma once

#include <QPointer>
#include <memory>
#include <vector>

#include "platform/worker.h"
#include "projects/picker_content.h"
#include "projects/send_project_list.h"

class QComboBox;
class QLineEdit;
class QWidget;

namespace lanxun {

// The project pickers of the tabs "取号" and "发短信": filled from the user's favourites by a
// background loader (at the first activation and by "刷新"), or by a search on the UI thread.
//
// Every fill replaces a picker whole in one UI-thread call (ShowReceiveContent,
// ShowSendContent), so a loader that finishes while the user reloads or searches the same
// picker never leaves a mix of two results: the last one to arrive is what the picker shows.
// Item 0 is selected after every fill; that selection is the code's, not the user's, so it
// does not count as the user picking a project.
class ProjectPickersController {
public:
    struct Widgets {
        QWidget* window = nullptr;              // the main window, disabled while a picker fills
        QComboBox* receivePicker = nullptr;     // 组合框_取号_项目列表
        QLineEdit* receiveSearchBox = nullptr;  // 编辑框1
        QComboBox* sendPicker = nullptr;        // 组合框_发短信_项目列表
        QComboBox* sendingNumbers = nullptr;    // 组合框_发送号码
        QLineEdit* sendSearchBox = nullptr;     // 编辑框3
    };

    explicit ProjectPickersController(const Widgets& widgets);
    ~ProjectPickersController();  // stops the loaders that "刷新" started

    ProjectPickersController(const ProjectPickersController&) = delete;
    ProjectPickersController& operator=(const ProjectPickersController&) = delete;

    // The favourites loaders as background routines, not yet started: the main window's first
    // activation starts them. They use this controller, so they must be stopped before it goes.
    std::unique_ptr<Worker> CreateReceiveLoader();
    std::unique_ptr<Worker> CreateSendLoader();

    // "刷新" on "取号" and on "发短信": the favourites loader on a new background thread.
    void ReloadReceivePicker();
    void ReloadSendPicker();

    // "搜索" on "取号" (编辑框1) and on "发短信" (编辑框3), with every blank removed from the
    // search text. UI thread; waits for the reply.
    void SearchReceivePicker();
    void SearchSendPicker();

    // Replace the pickers' items whole and select item 0. The send side also replaces
    // SendProjectList and, when there are projects, the sending-number picker. UI thread.
    void ShowReceiveContent(const ReceivePickerContent& content);
    void ShowSendContent(const SendPickerContent& content);

    // The lines of the send-SMS projects in the send picker; read by the send-SMS workflow.
    SendProjectList& sendProjectList() { return sendProjects_; }
    const SendProjectList& sendProjectList() const { return sendProjects_; }

    // The loaders started by "刷新" that are still running (tests wait for them).
    std::vector<Worker*> RunningReloads();

private:
    void StartReload(std::unique_ptr<Worker> loader);

    Widgets widgets_;
    SendProjectList sendProjects_;
    std::vector<std::unique_ptr<Worker>> reloads_;
};

}  // namespace lanxun
