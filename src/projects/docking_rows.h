#pragma once

// The rows the docking lists show, made from the platform's docking records,
// and the rules the docking actions share.

#include <QList>
#include <QString>
#include <QStringList>

#include "api/replies.h"

class QTreeWidget;

namespace lanxun {

// A docking code names a real docking only from this many GBK bytes on.
inline constexpr int kMinDockingCodeBytes = 13;
bool IsDockingCode(const QString& code);

// Columns of 超级列表框_专属列表: code, project, price, type, status, card supply count.
enum DockingColumn : int {
    kDockingCodeColumn = 0,
    kDockingProjectColumn = 1,
    kDockingPriceColumn = 2,
    kDockingTypeColumn = 3,
    kDockingStatusColumn = 4,
    kDockingCardCountColumn = 5,
};

// The user's own list: the six cells of a record. A send-SMS project shows the
// name before its first "(发送" and the type "发短信"; any other the whole name
// and "收短信".
QStringList OwnDockingCells(const DockingRecord& record);
// The public lists: code, project, price and type as above, and in the fifth
// column ("供卡数量") field 0 of the record.
QStringList PublicDockingCells(const DockingRecord& record);

// The rows of `rows` that hold `text` (exact, case-sensitive) in any cell but
// the first (the docking code), each row once, in order.
QList<QStringList> FilterDockingRows(const QList<QStringList>& rows, const QString& text);

// A list's rows as cells, and the list refilled with rows, in one go.
QList<QStringList> ListRows(const QTreeWidget* list);
void FillList(QTreeWidget* list, const QList<QStringList>& rows);

// Column 0 and column `column` of the selected row; empty texts when no row is selected.
QString SelectedCell(const QTreeWidget* list, int column);

}  // namespace lanxun
