#include "numbers/release_list.h"

#include <QLabel>
#include <QPointer>
#include <QSet>
#include <vector>

#include "account/login_state.h"
#include "api/http_request.h"
#include "api/platform_call.h"
#include "numbers/number_list.h"
#include "platform/clock.h"
#include "platform/on_ui_thread.h"
#include "platform/worker.h"

namespace lanxun {
namespace {

constexpr int kPauseBetweenNumbersMs = 200;

bool StopRequested() {
    const Worker* worker = Worker::Current();
    return worker != nullptr && worker->StopRequested();
}

void ShowStatus(const QPointer<QLabel>& label, const QString& text) {
    RunOnUiThread([&] {
        if (label) {
            label->setText(text);
        }
    });
}

}  // namespace

QString DisposeNumber(HttpRequest& request, Disposal how, const QString& projectId,
                      const QString& phone) {
    const Credentials credentials = CurrentCredentials();
    const EndpointCall call = how == Disposal::Release
                                  ? ReleaseUrl(credentials, projectId, phone)
                                  : BlacklistUrl(credentials, projectId, phone);
    return FetchReply(request, call);
}

void ReleaseList(NumberList& list, QLabel* statusLabel, Disposal how) {
    const QPointer<QLabel> label(statusLabel);
    ShowStatus(label, QStringLiteral("正在释放当前列表手机号码中请稍候.."));
    HttpRequest request;
    // Rows by identity, not position: the pauses let other handlers delete, renew or add
    // rows, and every number listed must go back once before the list is emptied.
    QSet<quint64> handled;
    for (;;) {
        std::vector<NumberRow> pending;
        for (const NumberRow& row : list.Rows()) {
            if (!handled.contains(row.identity)) {
                pending.push_back(row);
            }
        }
        if (pending.empty()) {
            if (list.ClearIfOnly(handled)) {
                break;
            }
            continue;  // a row came between the read and the clear
        }
        for (const NumberRow& row : pending) {
            handled.insert(row.identity);
            // A row deleted meanwhile went back with whoever deleted it; an empty value
            // would ask the platform about no number at all.
            if (row.projectId.isEmpty() || row.phone.isEmpty() ||
                !list.RowOf(row.identity).Exists()) {
                continue;
            }
            DisposeNumber(request, how, row.projectId, row.phone);
            PumpDelay(kPauseBetweenNumbersMs);
            if (StopRequested()) {
                return;
            }
        }
    }
    ShowStatus(label, QString());
}

}  // namespace lanxun
