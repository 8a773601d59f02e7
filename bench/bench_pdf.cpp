// Importing the PDF books of the corpus folder: poppler's reading of every page's words, the
// lines, running heads, footnotes and paragraphs made of them, and the chapter table.
//
//   build/bench/bench_pdf

#include "import/bookimport.h"

#include <QFileInfo>

#include <benchmark/benchmark.h>

namespace {

void ImportPdf(benchmark::State &state, const char *name)
{
    const QString path = QString::fromUtf8(LEAFWRIGHT_CORPUS_DIR) + QStringLiteral("/pdf/")
                         + QString::fromUtf8(name);
    if (!QFileInfo::exists(path)) {
        state.SkipWithError("the PDF is not in the corpus folder");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(importBook(path));
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}
BENCHMARK_CAPTURE(ImportPdf, Meditations162Pages, "latex-meditations-outline.pdf")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImportPdf, MeditationsTwoPagesASheet, "latex-meditations-imposed-2up.pdf")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImportPdf, Novel14Pages, "lualatex-novel-example-nooutline.pdf")
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
