// A docking list of 10 000 records read and shown, beside a bare split of the same reply:
// the full load of the tab "专属对接" and the public filter over what it shows.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QString>
#include <QTreeWidget>

#include "api/protocol.h"
#include "api/replies.h"
#include "projects/docking_rows.h"

namespace {

using namespace lanxun;

const QString& Reply10000() {
    static const QString reply = [] {
        QString text;
        for (int i = 0; i < 10000; ++i) {
            text += QStringLiteral(
                        "正常#c-ZS%1#c-项目%2(发送号码:10690)#c-0.80#c-km#c-%3#c-1#c-2#c-3#c+")
                        .arg(1000000000000LL + i)
                        .arg(i)
                        .arg(i % 500);
        }
        return text;
    }();
    return reply;
}

// The baseline: records and fields split, nothing else.
void BM_BareSplit_10000(benchmark::State& state) {
    for (auto _ : state) {
        int fields = 0;
        for (const QString& record : SplitText(Reply10000(), u"#c+")) {
            fields += int(SplitText(record, u"#c-").size());
        }
        benchmark::DoNotOptimize(fields);
    }
}
BENCHMARK(BM_BareSplit_10000)->Unit(benchmark::kMillisecond);

// Read, turned into rows and put into the list, as a load does.
void BM_ReadAndShow_10000(benchmark::State& state) {
    QTreeWidget list;
    list.setColumnCount(6);
    for (auto _ : state) {
        QList<QStringList> rows;
        for (const DockingRecord& record : ReadDockingList(Reply10000())) {
            rows.append(OwnDockingCells(record));
        }
        FillList(&list, rows);
        benchmark::DoNotOptimize(list.topLevelItemCount());
    }
}
BENCHMARK(BM_ReadAndShow_10000)->Unit(benchmark::kMillisecond);

// One keystroke in the public search box over a full list of 10 000 rows.
void BM_Filter_10000(benchmark::State& state) {
    QTreeWidget full;
    full.setColumnCount(5);
    QTreeWidget filtered;
    filtered.setColumnCount(5);
    QList<QStringList> rows;
    for (const DockingRecord& record : ReadDockingList(Reply10000())) {
        rows.append(PublicDockingCells(record));
    }
    FillList(&full, rows);
    for (auto _ : state) {
        FillList(&filtered, FilterDockingRows(ListRows(&full), QStringLiteral("项目99")));
        benchmark::DoNotOptimize(filtered.topLevelItemCount());
    }
}
BENCHMARK(BM_Filter_10000)->Unit(benchmark::kMillisecond);

}  // namespace
