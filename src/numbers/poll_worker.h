#pragma once

#include <QPointer>
#include <QString>
#include <atomic>

#include "numbers/number_list.h"
#include "platform/worker.h"

class QComboBox;

namespace lanxun {

class ForwardingController;
class HttpRequest;
class PatternMatcher;

// Asks the platform, row by row, whether each number's SMS has arrived (yh_qm), writes the
// status, the SMS and its code into the row, and hands each received SMS to code forwarding.
// The state of a number lives in its status cell; the worker keeps none between passes. Every
// write goes to the row that was read (by its identity), so a result never lands on another
// number when rows are deleted or refilled meanwhile.
class PollWorker : public Worker {
public:
    static constexpr int kPauseAfterRowMs = 100;
    static constexpr int kPauseBeforeQueryMs = 400;
    static constexpr int kPauseAfterPassMs = 5000;

    // `forwarding` may be null (nothing is forwarded).
    PollWorker(QTreeWidget* numberList, QComboBox* projectPicker, ForwardingController* forwarding);
    ~PollWorker() override;

    // Passes begun so far; a pass is counted as it starts.
    int Passes() const { return passes_.load(); }

protected:
    void Run() override;

private:
    // One visit of the row at `position`; false when the worker is told to stop.
    bool Visit(int position, HttpRequest& request, PatternMatcher& matcher);

    NumberList list_;
    QPointer<QComboBox> picker_;
    ForwardingController* forwarding_;
    std::atomic<int> passes_{0};
};

// The code of an SMS: its first run of ASCII digits, however long; empty without digits.
QString CodeOfSms(PatternMatcher& matcher, const QString& smsText);

}  // namespace lanxun
