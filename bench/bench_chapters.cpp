// The automatic chapter scan on the largest corpus book, against the plain 902 sequential
// searches it stands for, the heading detector on the same book, and Sort Chapters on a full
// table.
//
//   build/bench/bench_chapters

#include "chapters/chapterscan.h"
#include "chapters/chaptertable.h"
#include "chapters/headingdetector.h"

#include "../tests/referencescan.h"

#include "corpusbook.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

bool ready(benchmark::State &state)
{
    if (largestCorpusBook().text.isEmpty()) {
        state.SkipWithError("no books in the corpus folder");
        return false;
    }
    state.SetLabel(largestCorpusBook().name.toStdString() + ", style "
                   + std::to_string(state.range(0)));
    return true;
}

// What the Auto Scan button costs, progress reports included.
void ScanOnePass(benchmark::State &state)
{
    if (!ready(state))
        return;
    NumberTables tables;
    BuildRomanNumerals(tables);
    BuildNumberWords(tables);
    const ScanOptions options{HeadingStyle(state.range(0)), false};
    int reports = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ScanChapters(largestCorpusBook().text, options, tables,
                                              [&](int, const QString &) { ++reports; }));
    }
}
BENCHMARK(ScanOnePass)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

void ScanSequentialSearches(benchmark::State &state)
{
    if (!ready(state))
        return;
    const ScanOptions options{HeadingStyle(state.range(0)), false};
    for (auto _ : state)
        benchmark::DoNotOptimize(referenceScan(largestCorpusBook().text, options));
}
BENCHMARK(ScanSequentialSearches)->Arg(0)->Arg(5)->Unit(benchmark::kMillisecond);

// What Find Chapters costs on the largest book; it must stay linear and within 30 ms.
void FindHeadingsInLargestBook(benchmark::State &state)
{
    if (largestCorpusBook().text.isEmpty()) {
        state.SkipWithError("no books in the corpus folder");
        return;
    }
    state.SetLabel(largestCorpusBook().name.toStdString());
    for (auto _ : state)
        benchmark::DoNotOptimize(FindHeadings(largestCorpusBook().text));
}
BENCHMARK(FindHeadingsInLargestBook)->Unit(benchmark::kMillisecond);

// A full table of 32,767 rows: random offsets with repeats, and rows in descending order, which
// makes the most exchanges.
void SortFullTable(benchmark::State &state)
{
    std::mt19937 random(7);
    ChapterRows rows;
    for (int i = 0; i < MaxChapterRows; ++i) {
        const int offset = state.range(0) == 0 ? int(random() % 100000) : MaxChapterRows - i;
        rows.append({QStringLiteral("Chapter %1").arg(i), QString::number(offset)});
    }
    state.SetLabel(state.range(0) == 0 ? "random" : "descending");
    for (auto _ : state) {
        ChapterRows sorted = rows;
        SortChapters(sorted);
        benchmark::DoNotOptimize(sorted);
    }
}
BENCHMARK(SortFullTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
