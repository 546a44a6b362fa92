// A paged record reply of 10 000 records read and shown in the list view, beside a bare split
// of the same reply (QString::split at "|", "#c+" and "#c-"), in one run.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QTreeWidget>

#include "api/replies.h"
#include "records/records_page_controller.h"

namespace {

using namespace lanxun;

const QString& Reply10000() {
    static const QString reply = [] {
        QStringList records;
        for (int i = 0; i < 10000; ++i) {
            records << QStringLiteral(
                           "%1#c-抖音#c-138%2#c-0.50#c-【抖音】您的验证码是%3，5分钟内有效。"
                           "#c-2026年12月9日14时%4分%5秒")
                           .arg(1000 + i % 8)
                           .arg(i, 8, 10, QLatin1Char('0'))
                           .arg(100000 + i)
                           .arg(i % 60)
                           .arg(1 + i % 59);
        }
        return QStringLiteral("10000|5000.00|") + records.join(QStringLiteral("#c+"));
    }();
    return reply;
}

// The client's way: the paged reply read, every record shown as a row of the SMS list.
void BM_PagedReply_ReadAndShown(benchmark::State& state) {
    QTreeWidget list;
    list.setColumnCount(7);
    for (auto _ : state) {
        list.clear();
        const PagedReply reply = ReadPagedReply(Reply10000());
        RecordsPageController::Fill(&list, reply);
        benchmark::DoNotOptimize(list.topLevelItemCount());
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}

// The baseline: the same reply split with plain Qt, nothing shown.
void BM_PagedReply_BareSplit(benchmark::State& state) {
    for (auto _ : state) {
        const QStringList fields = Reply10000().split(u'|');
        qsizetype cells = 0;
        for (const QString& record : fields.value(2).split(QStringLiteral("#c+"))) {
            cells += record.split(QStringLiteral("#c-")).size();
        }
        benchmark::DoNotOptimize(cells);
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}

// Read only, without the list: what the reader itself costs beside the bare split.
void BM_PagedReply_ReadOnly(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadPagedReply(Reply10000()));
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}

BENCHMARK(BM_PagedReply_BareSplit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PagedReply_ReadOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PagedReply_ReadAndShown)->Unit(benchmark::kMillisecond);

}  // namespace
