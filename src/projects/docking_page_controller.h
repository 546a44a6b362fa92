#pragma once

#include <QString>

#include "api/endpoints.h"

class QLineEdit;
class QProgressBar;
class QTreeWidget;
class QWidget;

namespace lanxun {

class HandlerScope;

// The right-click menus of the list "专属对接".
enum class DockingMenu {
    Refresh,  // "专属刷新": no docking selected
    Running,  // "暂停对接"
    Paused,   // "恢复对接"
};

// The tab "专属对接": the user's own dockings in 超级列表框_专属列表, joining one by
// its code through the join panel, pausing, resuming and deleting the selected
// one, and copying its code. Every action runs on the UI thread and waits for
// its one request; a confirmation answered No sends nothing.
class DockingPageController {
public:
    struct Widgets {
        QWidget* window = nullptr;         // the main window: disabled while the list loads
        QTreeWidget* list = nullptr;       // 超级列表框_专属列表
        QProgressBar* progress = nullptr;  // 进度条3
        QWidget* joinPanel = nullptr;      // 分组框_加入对接
        QLineEdit* joinCode = nullptr;     // 编辑框_加入对接
    };

    explicit DockingPageController(const Widgets& widgets);

    // "刷新(R)", the menus' refresh items and the page's own button.
    void LoadList();
    // "加入对接(A)": an empty code box in the shown panel; "取消" hides it.
    void ShowJoinPanel();
    void HideJoinPanel();
    // "确定" of the join panel.
    void JoinByCode();
    // "暂停对接(Z)", "恢复对接(H)", the three delete commands, the two copy items.
    void Pause();
    void Resume();
    void Delete();
    void CopyCode();

    // The menu a right-click on the list pops up for the selected row:
    // "专属刷新" without a code, "恢复对接" for a paused docking, else "暂停对接".
    DockingMenu MenuForSelection() const;

private:
    // Pause and resume: the same request, the status the row shows on success.
    void Toggle(const QString& question, const QString& newStatus);
    // Asks `question`; on Yes sends `call` and shows a refusal as received. True when the
    // platform answered with success and the window is still there.
    bool ConfirmAndSend(const HandlerScope& running, const QString& question,
                        const EndpointCall& call);
    bool Confirm(const QString& question);
    void ShowReply(const QString& reply);

    Widgets widgets_;
};

}  // namespace lanxun
