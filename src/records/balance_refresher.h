#pragma once

#include <QPointer>

#include "platform/worker.h"

class QLabel;

namespace lanxun {

// Keeps the status bar's balance and withdrawable amount up to date: yh_gx, then a pause of 7 to
// 19 seconds, for as long as the main window lives. Only the two status parts change; the login's
// own figures keep their login values.
class BalanceRefresher : public Worker {
public:
    static constexpr int kShortestPauseMs = 7000;
    static constexpr int kLongestPauseMs = 19000;

    struct Widgets {
        QLabel* balancePart = nullptr;       // status part 1, "余额:"
        QLabel* withdrawablePart = nullptr;  // status part 2, "可提现:"
    };

    explicit BalanceRefresher(const Widgets& widgets);
    ~BalanceRefresher() override;

protected:
    void Run() override;

private:
    QPointer<QLabel> balancePart_;
    QPointer<QLabel> withdrawablePart_;
};

}  // namespace lanxun
