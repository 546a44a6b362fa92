#include "numbers/release_list.h"

#include <QLabel>
#include <QPointer>

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
    const int count = list.RowCount();
    for (int position = 0; position < count; ++position) {
        // By position, as the list stood: a row deleted meanwhile shifts the rest up.
        const NumberRow row = list.Row(position);
        DisposeNumber(request, how, row.projectId, row.phone);
        PumpDelay(kPauseBetweenNumbersMs);
        if (StopRequested()) {
            return;
        }
    }
    list.Clear();
    ShowStatus(label, QString());
}

}  // namespace lanxun
