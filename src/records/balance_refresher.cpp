#include "records/balance_refresher.h"

#include <QLabel>
#include <random>

#include "account/login_state.h"
#include "api/http_request.h"
#include "api/platform_call.h"
#include "api/replies.h"
#include "platform/clock.h"
#include "platform/on_ui_thread.h"

namespace lanxun {

BalanceRefresher::BalanceRefresher(const Widgets& widgets)
    : balancePart_(widgets.balancePart), withdrawablePart_(widgets.withdrawablePart) {}

BalanceRefresher::~BalanceRefresher() {
    Stop();
}

void BalanceRefresher::Run() {
    HttpRequest request;  // one for the whole run
    std::mt19937 random(static_cast<std::mt19937::result_type>(
        CurrentClock().Now().toMSecsSinceEpoch() ^ CurrentClock().Ticks()));
    std::uniform_int_distribution<int> pause(kShortestPauseMs, kLongestPauseMs);
    while (!StopRequested()) {
        const QString reply = FetchReply(request, BalanceUrl(CurrentCredentials()));
        if (const std::optional<BalanceReply> figures = ReadBalanceReply(reply)) {
            RunOnUiThread([this, &figures] {
                if (balancePart_) {
                    balancePart_->setText(QStringLiteral("余额:") + figures->balance);
                }
            });
            RunOnUiThread([this, &figures] {
                if (withdrawablePart_) {
                    withdrawablePart_->setText(QStringLiteral("可提现:") + figures->withdrawable);
                }
            });
        }
        if (!Pause(pause(random))) {
            return;
        }
    }
}

}  // namespace lanxun
