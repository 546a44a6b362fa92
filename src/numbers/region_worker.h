#pragma once

#include <atomic>

#include "numbers/number_list.h"
#include "platform/worker.h"

namespace lanxun {

// Fills in the home province of every listed number that has none yet, at the segment
// service, then rests 500 ms and goes round again. The province is written to the row that
// was read (by its identity), so it never lands on another number.
class RegionWorker : public Worker {
public:
    static constexpr int kPauseAfterPassMs = 500;

    explicit RegionWorker(QTreeWidget* numberList);
    ~RegionWorker() override;

    // Passes begun so far.
    int Passes() const { return passes_.load(); }

protected:
    void Run() override;

private:
    NumberList list_;
    std::atomic<int> passes_{0};
};

}  // namespace lanxun
