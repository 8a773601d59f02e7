// Converting the whole corpus folder (text books, other shapes, EPUB books) as
// "convert CORPUS -o OUT --clean all --find-chapters --sort" does, on one thread and on two: how
// much the second core gives.
//
//   build/bench/bench_convert

#include "convert/libraryconversion.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void ConvertCorpus(benchmark::State &state)
{
    const QString corpus = QString::fromUtf8(LEAFWRIGHT_CORPUS_DIR);
    if (!QDir(corpus).exists()) {
        state.SkipWithError("no corpus folder");
        return;
    }
    BookRecipe recipe;
    recipe.boxes.fill(true);
    recipe.findChapters = true;
    recipe.sort = true;
    QTemporaryDir out;
    qsizetype books = 0;
    for (auto _ : state) {
        LibraryConversion conversion(planConversion({corpus}, out.path()), recipe, false);
        conversion.run(int(state.range(0)));
        books = conversion.plan().jobs.size();
        if (!convertedWhole(conversion))
            state.SkipWithError("a book was not converted");
    }
    state.SetLabel(std::to_string(books) + " books");
    state.SetItemsProcessed(state.iterations() * books);
}
BENCHMARK(ConvertCorpus)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
