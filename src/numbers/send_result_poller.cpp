#include "numbers/send_result_poller.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <random>

#include "account/login_state.h"
#include "api/http_request.h"
#include "api/platform_call.h"
#include "api/protocol.h"
#include "api/replies.h"
#include "numbers/age_limit.h"
#include "platform/clock.h"
#include "platform/on_ui_thread.h"
#include "projects/project_items.h"

namespace lanxun {

namespace {

const QString kGivenUp = QStringLiteral("已停止获取原因：300秒内未取到发送结果");
const QString kSent = QStringLiteral("成功");
const QString kFailed = QStringLiteral("失败");
const QString kWaiting = QStringLiteral("没有收到短信");

bool IsFinal(const QString& status) {
    return status.contains(QStringLiteral("已停止获取原因")) || status.contains(kSent) ||
           status.contains(kFailed);
}

// " [x]": a letter that changes from query to query, so the user sees the line was refreshed.
QString RefreshMark() {
    std::minstd_rand random(static_cast<std::minstd_rand::result_type>(CurrentClock().Ticks()));
    std::uniform_int_distribution<int> letter('a', 'z');
    return QStringLiteral(" [") + QChar(letter(random)) + QLatin1Char(']');
}

}  // namespace

// The fields as one pass read them.
struct SendResultPoller::Watched {
    QString pickerItem;
    QString number;
    QString status;
    QString obtainedAt;
};

SendResultPoller::SendResultPoller(const Widgets& widgets)
    : projectPicker_(widgets.projectPicker),
      number_(widgets.number),
      status_(widgets.status),
      obtainedAt_(widgets.obtainedAt),
      resultLine_(widgets.resultLine),
      smsText_(widgets.smsText) {}

SendResultPoller::~SendResultPoller() {
    Stop();
}

void SendResultPoller::Run() {
    HttpRequest request;
    while (!StopRequested()) {
        Pass(request);
        if (!Pause(kPassPauseMs)) {
            return;
        }
    }
}

void SendResultPoller::Pass(HttpRequest& request) {
    const Watched seen = ReadOnUiThread([this] {
        if (!projectPicker_ || !number_ || !status_ || !obtainedAt_) {
            return Watched{};
        }
        return Watched{projectPicker_->currentText(), number_->text(), status_->text(),
                       obtainedAt_->text()};
    });
    const QString projectId = ProjectIdOfItem(seen.pickerItem);
    if (seen.pickerItem.isEmpty() || ProjectIdNumber(projectId) <= kLowestProjectId) {
        return;
    }
    if (seen.obtainedAt.isEmpty() || seen.number.isEmpty() || IsFinal(seen.status)) {
        return;
    }
    if (AgeLimitPassed(seen.obtainedAt, CurrentClock().Now())) {
        WriteIfStill(seen, [this] {
            status_->setText(kGivenUp);
            resultLine_->setText(kGivenUp);
        });
        return;
    }
    if (!seen.status.isEmpty() && !seen.status.contains(kWaiting)) {
        return;  // answered; nothing more to ask until it expires
    }

    if (!Pause(kQueryDelayMs)) {
        return;
    }
    const QString reply =
        FetchReply(request, PollUrl(CurrentCredentials(), projectId, seen.number));
    const PollReply poll = ReadPollReply(reply);
    if (!poll.complete) {
        WriteIfStill(seen, [this, &reply] {
            status_->setText(reply);
            resultLine_->setText(reply);
        });
    } else if (!poll.arrived) {
        const QString line = poll.text + RefreshMark();
        WriteIfStill(seen, [this, &poll, &line] {
            status_->setText(poll.text);
            resultLine_->setText(line);
        });
    } else if (poll.text.contains(kSent) || poll.text.contains(kFailed)) {
        const QString outcome = poll.text.contains(kSent) ? kSent : kFailed;
        WriteIfStill(seen, [this, &poll, &outcome] {
            status_->setText(outcome);
            resultLine_->setText(poll.text);
        });
    } else {
        // Neither outcome yet: the text is shown and the next pass asks again.
        WriteIfStill(seen, [this, &poll] { smsText_->setPlainText(poll.text); });
    }
}

void SendResultPoller::WriteIfStill(const Watched& watched, const std::function<void()>& write) {
    RunOnUiThread([&] {
        if (!number_ || !status_ || !obtainedAt_ || !resultLine_ || !smsText_) {
            return;
        }
        // The same number with the same acquisition time: not cleared, not obtained anew.
        if (number_->text() == watched.number && obtainedAt_->text() == watched.obtainedAt) {
            write();
        }
    });
}

}  // namespace lanxun
