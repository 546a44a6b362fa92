#include "records/fund_records_controller.h"

#include <QTreeWidget>
#include <functional>

#include "account/login_state.h"
#include "api/platform_call.h"
#include "api/replies.h"
#include "platform/busy_indication.h"
#include "platform/clipboard.h"
#include "platform/handler_scope.h"

namespace lanxun {

namespace {

QTreeWidgetItem* Row(int number, const QStringList& cells) {
    return new QTreeWidgetItem(QStringList{QString::number(number)} + cells);
}

// An unpaged list: emptied, loaded behind the busy indication, filled in one go.
void LoadList(QWidget* window, QTreeWidget* list, QProgressBar* progress, const EndpointCall& call,
              const std::function<QList<QTreeWidgetItem*>(const QString& reply)>& rowsOf) {
    HandlerScope running(window);
    list->clear();
    QString reply;
    {
        BusyIndication busy(window, progress);
        reply = FetchReply(call);
    }
    list->addTopLevelItems(rowsOf(reply));
}

}  // namespace

void FundRecordsController::LoadWithdrawals() {
    LoadList(widgets_.window, widgets_.withdrawals, widgets_.withdrawalProgress,
             WithdrawalRecordsUrl(CurrentCredentials()), [](const QString& reply) {
                 QList<QTreeWidgetItem*> rows;
                 for (const WithdrawalRecord& r : ReadWithdrawalList(reply)) {
                     rows.append(Row(rows.size() + 1,
                                     {r.name, r.account, r.amount, r.appliedAt, r.result}));
                 }
                 return rows;
             });
}

void FundRecordsController::LoadRecharges() {
    LoadList(widgets_.window, widgets_.recharges, widgets_.rechargeProgress,
             RechargeRecordsUrl(CurrentCredentials()), [](const QString& reply) {
                 QList<QTreeWidgetItem*> rows;
                 for (const RechargeRecord& r : ReadRechargeList(reply)) {
                     rows.append(Row(rows.size() + 1, {r.orderNumber, r.amount, r.time, r.result}));
                 }
                 return rows;
             });
}

void FundRecordsController::CopyOrderNumber() {
    const QList<QTreeWidgetItem*> selected = widgets_.recharges->selectedItems();
    const QString order = selected.isEmpty() ? QString() : selected.first()->text(1);
    if (!order.isEmpty()) {
        Clipboard().SetText(order);
    }
}

}  // namespace lanxun
