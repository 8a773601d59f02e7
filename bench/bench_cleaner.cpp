// The Text Cleaner's boxes and Replace on the largest corpus book.
//
//   build/bench/bench_cleaner

#include "cleaner/textcleaner.h"
#include "search/textreplace.h"

#include "corpusbook.h"

#include <benchmark/benchmark.h>

namespace {

bool ready(benchmark::State &state, const std::string &what)
{
    if (largestCorpusBook().text.isEmpty()) {
        state.SkipWithError("no books in the corpus folder");
        return false;
    }
    state.SetLabel(largestCorpusBook().name.toStdString() + ", " + what);
    return true;
}

// Argument: one box 0 to 5, or 6 for all six together.
void CleanBoxes(benchmark::State &state)
{
    CleanerBoxes boxes{};
    const int box = int(state.range(0));
    if (box == CleanerBoxCount)
        boxes.fill(true);
    else
        boxes[box] = true;
    if (!ready(state, box == CleanerBoxCount ? "all boxes" : "box " + std::to_string(box)))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(CleanText(largestCorpusBook().text, boxes));
}
BENCHMARK(CleanBoxes)->DenseRange(0, CleanerBoxCount)->Unit(benchmark::kMillisecond);

// "the" matches tens of thousands of times in any English book.
void ReplaceFrequentWord(benchmark::State &state)
{
    if (!ready(state, "the -> THE"))
        return;
    for (auto _ : state) {
        const QString &text = largestCorpusBook().text;
        if (findFirst(text, QStringLiteral("the")) >= 0)
            benchmark::DoNotOptimize(
                replaceAllIgnoringCase(text, QStringLiteral("the"), QStringLiteral("THE")));
    }
}
BENCHMARK(ReplaceFrequentWord)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
