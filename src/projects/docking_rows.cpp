#include "projects/docking_rows.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>

#include "api/protocol.h"
#include "platform/gbk.h"

namespace lanxun {

namespace {

const QString kSendMarker = QStringLiteral("(发送");

// Code, displayed project name, price and type: the first four columns of every docking list.
QStringList LeadingCells(const DockingRecord& record) {
    const bool sends = record.projectName.contains(kSendMarker);
    const QString name = sends ? TextBefore(record.projectName, kSendMarker) : record.projectName;
    return {record.code, name, record.price,
            sends ? QStringLiteral("发短信") : QStringLiteral("收短信")};
}

}  // namespace

bool IsDockingCode(const QString& code) {
    return GbkByteLength(code) >= kMinDockingCodeBytes;
}

QStringList OwnDockingCells(const DockingRecord& record) {
    return LeadingCells(record) << record.status << record.cardCount;
}

QStringList PublicDockingCells(const DockingRecord& record) {
    return LeadingCells(record) << record.status;
}

QList<QStringList> FilterDockingRows(const QList<QStringList>& rows, const QString& text) {
    QList<QStringList> matches;
    for (const QStringList& row : rows) {
        for (qsizetype column = 1; column < row.size(); ++column) {
            if (row[column].contains(text, Qt::CaseSensitive)) {
                matches.append(row);
                break;
            }
        }
    }
    return matches;
}

QList<QStringList> ListRows(const QTreeWidget* list) {
    QList<QStringList> rows;
    rows.reserve(list->topLevelItemCount());
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        QStringList cells;
        for (int column = 0; column < list->columnCount(); ++column) {
            cells << item->text(column);
        }
        rows.append(cells);
    }
    return rows;
}

void FillList(QTreeWidget* list, const QList<QStringList>& rows) {
    list->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(rows.size());
    for (const QStringList& row : rows) {
        items.append(new QTreeWidgetItem(row));
    }
    list->addTopLevelItems(items);
}

QString SelectedCell(const QTreeWidget* list, int column) {
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text(column);
}

}  // namespace lanxun
