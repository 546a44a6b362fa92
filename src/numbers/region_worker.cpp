#include "numbers/region_worker.h"

#include "api/http_request.h"
#include "api/pattern_matcher.h"
#include "numbers/home_region.h"

namespace lanxun {

RegionWorker::RegionWorker(QTreeWidget* numberList) : list_(numberList) {}

RegionWorker::~RegionWorker() {
    Stop();
}

void RegionWorker::Run() {
    HttpRequest request;  // both for the worker's whole life, on its own thread
    PatternMatcher matcher;
    while (!StopRequested()) {
        ++passes_;
        const int count = list_.RowCount();
        for (int position = 0; position < count && !StopRequested(); ++position) {
            const NumberRow row = list_.Row(position);
            if (row.Exists() && !row.phone.isEmpty() && row.homeRegion.isEmpty()) {
                const QString province = LookUpHomeRegion(request, matcher, row.phone);
                list_.Write(row.identity, {{NumberList::kHomeRegion, province}});
            }
        }
        if (!Pause(kPauseAfterPassMs)) {
            return;
        }
    }
}

}  // namespace lanxun
