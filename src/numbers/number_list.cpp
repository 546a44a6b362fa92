#include "numbers/number_list.h"

#include <QTreeWidget>
#include <atomic>

#include "platform/on_ui_thread.h"

namespace lanxun {
namespace {

constexpr int kIdentityRole = Qt::UserRole + 1;

quint64 NextIdentity() {
    static std::atomic<quint64> last{0};
    return ++last;
}

quint64 IdentityOf(const QTreeWidgetItem* item) {
    return item->data(NumberList::kSequence, kIdentityRole).toULongLong();
}

NumberRow ReadItem(const QTreeWidgetItem* item, int position) {
    NumberRow row;
    row.sequence = item->text(NumberList::kSequence);
    row.phone = item->text(NumberList::kPhone);
    row.homeRegion = item->text(NumberList::kHomeRegion);
    row.code = item->text(NumberList::kCode);
    row.status = item->text(NumberList::kStatus);
    row.smsText = item->text(NumberList::kSmsText);
    row.obtainedAt = item->text(NumberList::kObtainedAt);
    row.projectId = item->text(NumberList::kProjectId);
    row.identity = IdentityOf(item);
    row.position = position;
    return row;
}

QTreeWidgetItem* FindItem(QTreeWidget* view, quint64 identity) {
    if (view == nullptr || identity == 0) {
        return nullptr;
    }
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = view->topLevelItem(i);
        if (IdentityOf(item) == identity) {
            return item;
        }
    }
    return nullptr;
}

}  // namespace

NumberList::NumberList(QTreeWidget* view) : view_(view) {}

int NumberList::RowCount() const {
    return ReadOnUiThread([this] { return view_ ? view_->topLevelItemCount() : 0; });
}

NumberRow NumberList::Row(int position) const {
    return ReadOnUiThread([this, position] {
        const QTreeWidgetItem* item = view_ ? view_->topLevelItem(position) : nullptr;
        return item ? ReadItem(item, position) : NumberRow{};
    });
}

int NumberList::PositionOf(quint64 identity) const {
    return ReadOnUiThread([this, identity] {
        QTreeWidgetItem* item = FindItem(view_, identity);
        return item ? view_->indexOfTopLevelItem(item) : -1;
    });
}

NumberRow NumberList::RowOf(quint64 identity) const {
    return ReadOnUiThread([this, identity] {
        QTreeWidgetItem* item = FindItem(view_, identity);
        return item ? ReadItem(item, view_->indexOfTopLevelItem(item)) : NumberRow{};
    });
}

NumberRow NumberList::Append(const QString& phone, const QString& obtainedAt,
                             const QString& projectId) {
    return ReadOnUiThread([&, this] {
        if (!view_) {
            return NumberRow{};
        }
        const int position = view_->topLevelItemCount();
        QStringList cells(kColumnCount);
        cells[kSequence] = QString::number(position + 1);
        cells[kPhone] = phone;
        cells[kObtainedAt] = obtainedAt;
        cells[kProjectId] = projectId;
        auto* item = new QTreeWidgetItem(cells);
        item->setData(kSequence, kIdentityRole, NextIdentity());
        view_->addTopLevelItem(item);
        return ReadItem(item, position);
    });
}

bool NumberList::Write(quint64 identity, std::initializer_list<std::pair<Column, QString>> cells) {
    return ReadOnUiThread([&, this] {
        QTreeWidgetItem* item = FindItem(view_, identity);
        if (item == nullptr) {
            return false;
        }
        for (const auto& [column, text] : cells) {
            item->setText(column, text);
        }
        return true;
    });
}

NumberRow NumberList::Renew(quint64 identity, const QString& phone, const QString& status,
                            const QString& obtainedAt) {
    return ReadOnUiThread([&, this] {
        QTreeWidgetItem* item = FindItem(view_, identity);
        if (item == nullptr) {
            return NumberRow{};
        }
        item->setText(kPhone, phone);
        item->setText(kStatus, status);
        item->setText(kObtainedAt, obtainedAt);
        item->setData(kSequence, kIdentityRole, NextIdentity());
        return ReadItem(item, view_->indexOfTopLevelItem(item));
    });
}

bool NumberList::Remove(quint64 identity) {
    return ReadOnUiThread([&, this] {
        QTreeWidgetItem* item = FindItem(view_, identity);
        delete item;
        return item != nullptr;
    });
}

void NumberList::Clear() {
    RunOnUiThread([this] {
        if (view_) {
            view_->clear();
        }
    });
}

bool NumberList::ClearIfOnly(const QSet<quint64>& identities) {
    return ReadOnUiThread([&, this] {
        for (int i = 0; view_ && i < view_->topLevelItemCount(); ++i) {
            if (!identities.contains(IdentityOf(view_->topLevelItem(i)))) {
                return false;
            }
        }
        if (view_) {
            view_->clear();
        }
        return true;
    });
}

std::vector<NumberRow> NumberList::Rows() const {
    return ReadOnUiThread([this] {
        std::vector<NumberRow> rows;
        for (int i = 0; view_ && i < view_->topLevelItemCount(); ++i) {
            rows.push_back(ReadItem(view_->topLevelItem(i), i));
        }
        return rows;
    });
}

NumberRow NumberList::Selected() const {
    return ReadOnUiThread([this] {
        if (!view_) {
            return NumberRow{};
        }
        QTreeWidgetItem* item = view_->currentItem();
        if (item == nullptr || !item->isSelected()) {
            const QList<QTreeWidgetItem*> selected = view_->selectedItems();
            item = selected.isEmpty() ? nullptr : selected.first();
        }
        return item ? ReadItem(item, view_->indexOfTopLevelItem(item)) : NumberRow{};
    });
}

QStringList NumberList::Phones() const {
    return ReadOnUiThread([this] {
        QStringList phones;
        for (int i = 0; view_ && i < view_->topLevelItemCount(); ++i) {
            phones.append(view_->topLevelItem(i)->text(kPhone));
        }
        return phones;
    });
}

}  // namespace lanxun
