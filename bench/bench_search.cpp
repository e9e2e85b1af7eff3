// 查找数据 over all of a.bz (全部记录).
//
// BM_WholeSearch_Search/n reads an a.bz of a million records (80 MB) in blocks and finds the
// records that hold text n, as the search window's thread does: 0 "主楼剪力墙4323" (23 records), 1
// "pb-017" typed in lower case (1,000 records, letters in either case), 2 "见证取样" (250,000
// records). BM_WholeSearch_Baseline/n reads the same file whole and counts the places where the
// text's GBK bytes stand with memmem (exactly as stored, no line numbers). Target: within 3×.

#include <benchmark/benchmark.h>

#include <cstring>

#include "benchsupport.h"
#include "mainwindow/recordfilesearch.h"
#include "platform/gbkcodec.h"
#include "platform/textfile.h"

namespace {

constexpr int kRecords = 1000000;

QString needle(qint64 n, bool asStored) {
    switch (n) {
        case 0:
            return QStringLiteral("主楼剪力墙4323");
        case 1:
            return asStored ? QStringLiteral("PB-017") : QStringLiteral("pb-017");
        default:
            return QStringLiteral("见证取样");
    }
}

void BM_WholeSearch_Search(benchmark::State& state) {
    const QString path = bench::dataFile(kRecords, 50);
    const QString text = needle(state.range(0), false);
    qsizetype found = 0;
    for (auto _ : state) {
        const RecordSearchResult result = searchRecordFile(path, text);
        found = result.hits.size();
        benchmark::DoNotOptimize(result.bytes.data());
    }
    state.counters["found"] = double(found);
}

void BM_WholeSearch_Baseline(benchmark::State& state) {
    const QString path = bench::dataFile(kRecords, 50);
    const QByteArray text = gbk::encode(needle(state.range(0), true));
    qsizetype found = 0;
    for (auto _ : state) {
        const FileContent file = readWholeFile(path);
        found = 0;
        const char* p = file.bytes.constData();
        const char* const end = p + file.bytes.size();
        while (const void* hit =
                   memmem(p, size_t(end - p), text.constData(), size_t(text.size()))) {
            ++found;
            p = static_cast<const char*>(hit) + text.size();
        }
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = double(found);
}

}  // namespace

BENCHMARK(BM_WholeSearch_Baseline)->DenseRange(0, 2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeSearch_Search)->DenseRange(0, 2)->UseRealTime()->Unit(benchmark::kMillisecond);
