#pragma once

#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <utility>
#include <vector>

#include <QTreeWidget>

namespace lanxun {

// One row of the number list as it was read, with the identity of the row it came from.
struct NumberRow {
    QString sequence;    // "序号": the row count before insertion plus 1
    QString phone;       // "手机号码"
    QString homeRegion;  // "归属地"
    QString code;        // "验证码"
    QString status;      // "状态"
    QString smsText;     // "短信内容"
    QString obtainedAt;  // hidden: date-time text of the acquisition
    QString projectId;   // hidden: the project ID text the number was obtained for

    quint64 identity = 0;  // 0: there was no row at that position
    int position = -1;     // 0-based, at the moment of the read

    bool Exists() const { return identity != 0; }
};

// The number list of the tab "取号" (超级列表框_取码_列表框), the one way every thread reaches
// it. Each call is one access carried out on the UI thread, so single reads and writes never
// interleave; sequences of calls are not atomic, and rows are added and deleted between them.
//
// Every row carries a hidden identity (item data, not a column). A worker that read a row
// writes back through that identity: the write lands on the same row wherever it has moved,
// and nowhere when the row is gone or has been given out again ("再次使用号码" gives the row a
// new identity, so a result computed for its old life is dropped).
class NumberList {
public:
    enum Column {
        kSequence = 0,
        kPhone = 1,
        kHomeRegion = 2,
        kCode = 3,
        kStatus = 4,
        kSmsText = 5,
        kObtainedAt = 6,
        kProjectId = 7,
    };
    static constexpr int kColumnCount = 8;

    explicit NumberList(QTreeWidget* view);

    int RowCount() const;
    // The row at `position` (0-based); a row that does not Exist() when there is none.
    NumberRow Row(int position) const;
    // The row's current position, or -1 when it is gone.
    int PositionOf(quint64 identity) const;
    // The row with `identity` as it stands now, wherever it has moved; a row that does not
    // Exist() when it is gone.
    NumberRow RowOf(quint64 identity) const;

    // Appends a row: sequence is the row count before insertion plus 1, then the phone, the
    // acquisition time and the project ID; the other cells stay empty.
    NumberRow Append(const QString& phone, const QString& obtainedAt, const QString& projectId);

    // Writes the cells of the row with `identity`, all in one access; false when it is gone.
    bool Write(quint64 identity, std::initializer_list<std::pair<Column, QString>> cells);
    // "再次使用号码": new phone, status and acquisition time, and a new identity. The row's
    // new state, or a row that does not Exist() when the row is gone.
    NumberRow Renew(quint64 identity, const QString& phone, const QString& status,
                    const QString& obtainedAt);

    bool Remove(quint64 identity);
    void Clear();
    // Empties the list when every row in it is one of `identities`; false, and nothing
    // removed, when it holds another.
    bool ClearIfOnly(const QSet<quint64>& identities);

    // Every row as it stands, in order, read in one access.
    std::vector<NumberRow> Rows() const;

    // The current selection, or a row that does not Exist().
    NumberRow Selected() const;
    // Column 1 of every row, in order.
    QStringList Phones() const;

    QTreeWidget* View() const { return view_.data(); }

private:
    QPointer<QTreeWidget> view_;
};

}  // namespace lanxun
