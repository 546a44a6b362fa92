#include "projects/project_list_controller.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QTreeWidget>

#include "account/login_state.h"
#include "api/platform_call.h"
#include "api/replies.h"
#include "platform/busy_indication.h"
#include "platform/handler_scope.h"
#include "platform/message_box.h"
#include "projects/project_items.h"

namespace lanxun {

namespace {

enum Column { kId = 0, kName = 1, kPrice = 2, kKind = 3, kFavourite = 4 };

const QString kTick = QStringLiteral("√");

QString KindText(const QString& name) {
    return IsSendSmsProjectName(name) ? QStringLiteral("发短信") : QStringLiteral("收短信");
}

}  // namespace

ProjectListController::ProjectListController(const Widgets& widgets) : widgets_(widgets) {
    widgets_.list->setContextMenuPolicy(Qt::CustomContextMenu);
}

void ProjectListController::LoadFullList() {
    widgets_.favouritesBox->setChecked(false);
    LoadList(QString());
}

void ProjectListController::Search() {
    const QString text = widgets_.searchBox->text();
    if (text.isEmpty()) {
        MessageBoxes().Information(widgets_.window, QStringLiteral("请输入搜索内容"));
        return;
    }
    widgets_.favouritesBox->setChecked(false);
    LoadList(text);
}

void ProjectListController::LoadList(const QString& searchText) {
    HandlerScope running(widgets_.window);
    widgets_.list->clear();
    BusyIndication busy(widgets_.window, widgets_.progress);
    const QString reply = FetchReply(ProjectListUrl(CurrentCredentials(), searchText));
    widgets_.progress->setValue(widgets_.progress->maximum());
    ShowProjects(reply);
}

void ProjectListController::ShowProjects(const QString& reply) {
    QList<QStringList> rows;
    for (const ProjectRecord& p : ReadProjectList(reply)) {
        rows.append({p.id, p.name, p.price, KindText(p.name), p.IsFavourite() ? kTick : QString()});
    }
    AppendRows(rows);
}

void ProjectListController::FavouritesBoxClicked() {
    if (widgets_.favouritesBox->isChecked()) {
        LoadFavourites();
    } else {
        LoadFullList();
    }
}

void ProjectListController::LoadFavourites() {
    HandlerScope running(widgets_.window);
    widgets_.list->clear();
    BusyIndication busy(widgets_.window, widgets_.progress);
    const QString reply = FetchReply(FavouritesUrl(CurrentCredentials(), ProjectKind::ReceiveSms));
    widgets_.progress->setValue(widgets_.progress->maximum());
    QList<QStringList> rows;
    for (const FavouriteRecord& p : ReadFavouriteList(reply)) {
        rows.append({p.id, p.name, p.price, KindText(p.name), kTick});
    }
    AppendRows(rows);
}

void ProjectListController::AppendRows(const QList<QStringList>& rows) {
    QList<QTreeWidgetItem*> items;
    items.reserve(rows.size());
    for (const QStringList& row : rows) {
        items.append(new QTreeWidgetItem(row));
    }
    // One insertion, so ten thousand rows do not cost ten thousand layouts.
    widgets_.list->addTopLevelItems(items);
}

QMenu* ProjectListController::RowMenu() const {
    const QTreeWidgetItem* row = widgets_.list->currentItem();
    if (!row || ProjectIdNumber(row->text(kId)) < kLowestProjectId) {
        return nullptr;
    }
    return widgets_.favouritesBox->isChecked() ? widgets_.removeMenu : widgets_.addMenu;
}

void ProjectListController::ShowRowMenu(const QPoint& globalPosition) {
    if (QMenu* menu = RowMenu()) {
        menu->popup(globalPosition);
    }
}

void ProjectListController::AddFavourite() {
    QTreeWidgetItem* row = widgets_.list->currentItem();
    if (!row || row->text(kId).isEmpty()) {
        return;
    }
    // Input is held back while the request waits, so the row is still there afterwards.
    HandlerScope running(widgets_.window);
    const QString reply = FetchReply(
        AddFavouriteUrl(CurrentCredentials(), row->text(kId), row->text(kName), row->text(kPrice)));
    if (MessageSucceeded(reply)) {
        row->setText(kFavourite, kTick);
    } else {
        MessageBoxes().Information(widgets_.window, reply);
    }
}

void ProjectListController::RemoveFavourite() {
    QTreeWidgetItem* row = widgets_.list->currentItem();
    if (!row || ProjectIdNumber(row->text(kId)) < kLowestProjectId) {
        return;
    }
    HandlerScope running(widgets_.window);
    const QString id = row->text(kId);
    BusyIndication busy(widgets_.window, widgets_.progress);
    const QString reply = FetchReply(RemoveFavouriteUrl(CurrentCredentials(), id));
    if (MessageSucceeded(reply)) {
        delete row;
    }
}

}  // namespace lanxun
