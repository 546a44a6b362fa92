#include "projects/docking_page_controller.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QTreeWidget>
#include <QWidget>

#include "account/login_state.h"
#include "api/endpoints.h"
#include "api/platform_call.h"
#include "api/protocol.h"
#include "api/replies.h"
#include "platform/busy_indication.h"
#include "platform/clipboard.h"
#include "platform/gbk.h"
#include "platform/handler_scope.h"
#include "platform/message_box.h"
#include "projects/docking_rows.h"

namespace lanxun {

namespace {

const QString kActive = QStringLiteral("正常");
const QString kPaused = QStringLiteral("暂停");

// The row a confirmation was asked about, found again after the wait by its
// position and code, so a reply never lands on another docking.
QTreeWidgetItem* SameRow(QTreeWidget* list, int row, const QString& code) {
    QTreeWidgetItem* item = list->topLevelItem(row);
    return item != nullptr && item->text(kDockingCodeColumn) == code ? item : nullptr;
}

int SelectedRow(const QTreeWidget* list) {
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->indexOfTopLevelItem(selected.first());
}

}  // namespace

DockingPageController::DockingPageController(const Widgets& widgets) : widgets_(widgets) {}

void DockingPageController::LoadList() {
    HandlerScope running(widgets_.window);
    widgets_.list->clear();
    QList<QStringList> rows;
    {
        BusyIndication busy(widgets_.window, widgets_.progress);
        const QString reply = FetchReply(DockingListUrl(CurrentCredentials()));
        if (running.WindowClosing()) {
            return;
        }
        for (const DockingRecord& record : ReadDockingList(reply)) {
            rows.append(OwnDockingCells(record));
        }
        FillList(widgets_.list, rows);
    }
}

void DockingPageController::ShowJoinPanel() {
    widgets_.joinCode->clear();
    widgets_.joinPanel->show();
    widgets_.joinPanel->raise();
}

void DockingPageController::HideJoinPanel() {
    widgets_.joinPanel->hide();
}

void DockingPageController::JoinByCode() {
    HandlerScope running(widgets_.window);
    const QString code = TrimBlanks(widgets_.joinCode->text());
    if (!IsDockingCode(code)) {
        MessageBoxes().Information(widgets_.window, QStringLiteral("对接码输入错误"));
        return;
    }
    const QString reply = FetchReply(JoinDockingUrl(CurrentCredentials(), code));
    if (running.WindowClosing()) {
        return;
    }
    if (!MessageSucceeded(reply)) {
        ShowReply(reply);
        return;
    }
    HideJoinPanel();
    LoadList();
}

void DockingPageController::Pause() {
    if (!IsDockingCode(SelectedCell(widgets_.list, kDockingCodeColumn))) {
        MessageBoxes().Information(widgets_.window, QStringLiteral("操作对接失败"));
        return;
    }
    if (SelectedCell(widgets_.list, kDockingStatusColumn) != kActive) {
        return;
    }
    Toggle(QStringLiteral("暂停对接"), kPaused);
}

void DockingPageController::Resume() {
    if (!IsDockingCode(SelectedCell(widgets_.list, kDockingCodeColumn))) {
        MessageBoxes().Information(widgets_.window, QStringLiteral("操作对接失败"));
        return;
    }
    Toggle(QStringLiteral("恢复对接"), kActive);
}

void DockingPageController::Toggle(const QString& question, const QString& newStatus) {
    HandlerScope running(widgets_.window);
    const int row = SelectedRow(widgets_.list);
    const QString code = SelectedCell(widgets_.list, kDockingCodeColumn);
    if (!ConfirmAndSend(running, question, ToggleDockingUrl(CurrentCredentials(), code))) {
        return;
    }
    if (QTreeWidgetItem* item = SameRow(widgets_.list, row, code)) {
        item->setText(kDockingStatusColumn, newStatus);
    }
}

bool DockingPageController::ConfirmAndSend(const HandlerScope& running, const QString& question,
                                           const EndpointCall& call) {
    if (!Confirm(question) || running.WindowClosing()) {
        return false;
    }
    const QString reply = FetchReply(call);
    if (running.WindowClosing()) {
        return false;
    }
    if (!MessageSucceeded(reply)) {
        ShowReply(reply);
        return false;
    }
    return true;
}

void DockingPageController::Delete() {
    HandlerScope running(widgets_.window);
    const int row = SelectedRow(widgets_.list);
    const QString code = SelectedCell(widgets_.list, kDockingCodeColumn);
    if (!IsDockingCode(code)) {
        MessageBoxes().Information(widgets_.window, QStringLiteral("请选择要删除的对接"));
        return;
    }
    if (!ConfirmAndSend(running, QStringLiteral("删除对接"),
                        DeleteDockingUrl(CurrentCredentials(), code))) {
        return;
    }
    if (QTreeWidgetItem* item = SameRow(widgets_.list, row, code)) {
        delete item;
    }
}

void DockingPageController::CopyCode() {
    const QString code = SelectedCell(widgets_.list, kDockingCodeColumn);
    if (!code.isEmpty()) {
        Clipboard().SetText(code);
    }
}

DockingMenu DockingPageController::MenuForSelection() const {
    if (SelectedCell(widgets_.list, kDockingCodeColumn).isEmpty()) {
        return DockingMenu::Refresh;
    }
    return SelectedCell(widgets_.list, kDockingStatusColumn) == kPaused ? DockingMenu::Paused
                                                                        : DockingMenu::Running;
}

bool DockingPageController::Confirm(const QString& question) {
    // The docking confirmations alone have Yes and No and no icon.
    return MessageBoxes().Show({widgets_.window, question, MessageBoxService::DefaultTitle(),
                                MessageButtons::YesNo, MessageIcon::None});
}

void DockingPageController::ShowReply(const QString& reply) {
    MessageBoxes().Information(widgets_.window, reply);
}

}  // namespace lanxun
