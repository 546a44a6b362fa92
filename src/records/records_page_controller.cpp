#include "records/records_page_controller.h"

#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

#include "account/login_state.h"
#include "api/platform_call.h"
#include "api/protocol.h"
#include "api/replies.h"
#include "platform/busy_indication.h"
#include "platform/clipboard.h"
#include "platform/handler_scope.h"
#include "platform/message_box.h"

namespace lanxun {

RecordsPageController::RecordsPageController(PagedList kind, const Widgets& widgets)
    : kind_(kind), widgets_(widgets) {}

void RecordsPageController::Fill(QTreeWidget* list, const PagedReply& reply) {
    QList<QTreeWidgetItem*> rows;
    rows.reserve(reply.records.size());
    int number = list->topLevelItemCount();
    for (const PagedRecord& r : reply.records) {
        // The time stands before the SMS text on screen, after it in the reply.
        rows.append(
            new QTreeWidgetItem(QStringList{QString::number(++number), r.projectId, r.projectName,
                                            r.phone, r.price, r.time, r.smsText}));
    }
    list->addTopLevelItems(rows);
}

PagedReply RecordsPageController::Load(bool search, const QString& page,
                                       const QString& labelWhileLoading) {
    HandlerScope running(widgets_.window);
    widgets_.list->clear();
    QString reply;
    {
        BusyIndication busy(widgets_.window, widgets_.progress);
        if (!labelWhileLoading.isNull()) {
            widgets_.pageLabel->setText(labelWhileLoading);
        }
        const Credentials credentials = CurrentCredentials();
        const QString text = widgets_.searchBox->text();
        const bool firstPage = page == u"1";
        const EndpointCall call = search
                                      ? (firstPage ? PagedSearchUrl(credentials, kind_, text)
                                                   : PagedSearchUrl(credentials, kind_, text, page))
                                      : (firstPage ? PagedRecordsUrl(credentials, kind_)
                                                   : PagedRecordsUrl(credentials, kind_, page));
        reply = FetchReply(call);
    }
    const PagedReply read = ReadPagedReply(reply);
    if (read.usable && !running.WindowClosing()) {
        Fill(widgets_.list, read);
    }
    return read;
}

void RecordsPageController::SetTotals(const PagedReply& reply, const QString& pageLabel) {
    widgets_.countLabel->setText(reply.totalCount);
    widgets_.amountLabel->setText(reply.totalAmount);
    widgets_.pageLabel->setText(pageLabel);
}

void RecordsPageController::SetUnusableTotals() {
    widgets_.countLabel->setText(QStringLiteral("0"));
    widgets_.amountLabel->setText(QStringLiteral("0"));
    widgets_.pageLabel->setText(QStringLiteral("0/0"));
}

void RecordsPageController::Refresh() {
    searchMode_ = false;
    widgets_.searchBox->clear();
    const PagedReply reply = Load(false, QStringLiteral("1"));
    if (reply.usable) {
        SetTotals(reply, QStringLiteral("1/%1").arg(PageCount(reply.count)));
    } else {
        SetUnusableTotals();
    }
}

void RecordsPageController::Search() {
    const PagedReply reply = Load(true, QStringLiteral("1"));
    if (reply.usable) {
        SetTotals(reply, QStringLiteral("1/%1").arg(PageCount(reply.count)));
        searchMode_ = true;
    } else {
        SetUnusableTotals();  // the search mode stays as it was
    }
}

void RecordsPageController::FirstPage() {
    const PagedReply reply = Load(searchMode_, QStringLiteral("1"));
    if (reply.usable) {
        SetTotals(reply, QStringLiteral("1/%1").arg(PageCount(reply.count)));
    } else {
        SetUnusableTotals();
    }
}

void RecordsPageController::NextPage() {
    MoveBy(1);
}

void RecordsPageController::PreviousPage() {
    MoveBy(-1);
}

void RecordsPageController::MoveBy(int step) {
    const QString label = widgets_.pageLabel->text();
    const qsizetype firstSlash = label.indexOf(u'/');
    const qsizetype lastSlash = label.lastIndexOf(u'/');
    const int current =
        ReadInteger(firstSlash < 0 ? QStringView(label) : QStringView(label).left(firstSlash));
    const int total = lastSlash < 0 ? 0 : ReadInteger(QStringView(label).mid(lastSlash + 1));
    if (step > 0 && current >= total) {
        MessageBoxes().Information(widgets_.window, QStringLiteral("当前已是最后一页"));
        return;
    }
    if (step < 0 && current <= 1) {
        MessageBoxes().Information(widgets_.window, QStringLiteral("当前已是最前一页"));
        return;
    }
    const int page = current + step;
    // The totals stay; the new page label stands whatever the reply.
    Load(searchMode_, QString::number(page), QStringLiteral("%1/%2").arg(page).arg(total));
}

void RecordsPageController::LastPage() {
    const QString label = widgets_.pageLabel->text();
    const qsizetype lastSlash = label.lastIndexOf(u'/');
    const QString page = lastSlash < 0 ? QString() : label.mid(lastSlash + 1);
    const PagedReply reply = Load(searchMode_, page);
    if (reply.usable) {
        SetTotals(reply, page + u'/' + page);
    } else {
        SetUnusableTotals();
    }
}

QString RecordsPageController::SelectedCell(int column) const {
    const QList<QTreeWidgetItem*> selected = widgets_.list->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text(column);
}

bool RecordsPageController::OffersCopyMenu() const {
    return widgets_.copyMenu && !SelectedCell(0).isEmpty();
}

void RecordsPageController::ShowCopyMenu() {
    if (OffersCopyMenu()) {
        widgets_.copyMenu->popup(QCursor::pos());
    }
}

void RecordsPageController::CopyPhone() {
    if (!SelectedCell(0).isEmpty()) {
        Clipboard().SetText(SelectedCell(3));
    }
}

void RecordsPageController::CopySmsText() {
    if (!SelectedCell(0).isEmpty()) {
        Clipboard().SetText(SelectedCell(6));
    }
}

}  // namespace lanxun
