#include "numbers/poll_worker.h"

#include <QComboBox>

#include "account/login_state.h"
#include "api/http_request.h"
#include "api/pattern_matcher.h"
#include "api/platform_call.h"
#include "api/protocol.h"
#include "api/replies.h"
#include "numbers/age_limit.h"
#include "numbers/chosen_project.h"
#include "numbers/forwarding_controller.h"
#include "platform/clock.h"

namespace lanxun {
namespace {

const QString kReading = QStringLiteral("读取中");
const QString kArrived = QStringLiteral("短信已达到");
const QString kStopped = QStringLiteral("已停止获取原因");
const QString kExpired = QStringLiteral("已停止获取原因：300秒内未取到短信");
const QString kNoSmsYet = QStringLiteral("没有收到短信");

}  // namespace

QString CodeOfSms(PatternMatcher& matcher, const QString& smsText) {
    matcher.Execute(QStringLiteral("[0-9][0-9]{0,}"), smsText);
    return matcher.MatchText(1);
}

PollWorker::PollWorker(QTreeWidget* numberList, QComboBox* projectPicker,
                       ForwardingController* forwarding)
    : list_(numberList), picker_(projectPicker), forwarding_(forwarding) {}

PollWorker::~PollWorker() {
    Stop();
}

void PollWorker::Run() {
    HttpRequest request;  // both for the worker's whole life, on its own thread
    PatternMatcher matcher;
    while (!StopRequested()) {
        ++passes_;
        const int count = list_.RowCount();
        for (int position = 0; position < count; ++position) {
            if (!Visit(position, request, matcher) || !Pause(kPauseAfterRowMs)) {
                return;
            }
        }
        if (!Pause(kPauseAfterPassMs)) {
            return;
        }
    }
}

bool PollWorker::Visit(int position, HttpRequest& request, PatternMatcher& matcher) {
    // The picker is read again for every row: a change of project applies at once.
    const QString projectId = ChosenProjectId(picker_);
    if (projectId.isEmpty()) {
        return true;
    }
    const NumberRow row = list_.Row(position);
    if (!row.Exists() || row.obtainedAt.isEmpty()) {
        return true;
    }
    if (row.status.contains(kStopped) || row.status.contains(kArrived)) {
        return true;
    }
    if (AgeLimitPassed(row.obtainedAt, CurrentClock().Now())) {
        list_.Write(row.identity, {{NumberList::kStatus, kExpired}});
        return true;
    }
    if (!row.status.isEmpty() && !row.status.contains(kNoSmsYet)) {
        return true;  // answered: left alone until its time is over
    }

    if (!list_.Write(row.identity, {{NumberList::kStatus, kReading}})) {
        return true;  // gone meanwhile
    }
    if (!Pause(kPauseBeforeQueryMs)) {
        return false;
    }
    const QString reply = FetchReply(request, PollUrl(CurrentCredentials(), projectId, row.phone));
    const PollReply answer = ReadPollReply(reply);
    if (!answer.arrived) {
        list_.Write(row.identity, {{NumberList::kStatus, answer.statusText}});
        return true;
    }
    const QString code = CodeOfSms(matcher, answer.text);
    if (!list_.Write(row.identity, {{NumberList::kStatus, kArrived},
                                    {NumberList::kSmsText, answer.text},
                                    {NumberList::kCode, code}})) {
        return true;  // the number left the list; its SMS has no row to go with
    }
    const NumberRow now = list_.RowOf(row.identity);
    if (forwarding_ != nullptr && now.Exists()) {
        forwarding_->ForwardReceivedSms(now.position + 1, now.sequence, answer.passOn, answer.text,
                                        code);
    }
    return !StopRequested();
}

}  // namespace lanxun
