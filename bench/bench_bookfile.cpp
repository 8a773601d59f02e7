// Import, save and load of the largest real book in the corpus folder.
//
//   build/bench/bench_bookfile

#include "book/bookfile.h"
#include "book/textimport.h"

#include "corpusbook.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct Fixture
{
    QTemporaryDir dir;
    QString saved = dir.filePath(QStringLiteral("bench.vlm"));
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

bool ready(benchmark::State &state)
{
    if (largestCorpusBook().bytes.isEmpty()) {
        state.SkipWithError("no books in the corpus folder");
        return false;
    }
    state.SetLabel(largestCorpusBook().name.toStdString());
    return true;
}

// Reading the .txt file, choosing its encoding and making its line breaks CR LF.
void ImportText(benchmark::State &state)
{
    if (!ready(state))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(importTextFile(largestCorpusBook().path));
    state.SetBytesProcessed(state.iterations() * largestCorpusBook().bytes.size());
}
BENCHMARK(ImportText)->Unit(benchmark::kMillisecond);

// What Save As does for the imported book: encode and write it through a temporary file.
void SaveImportedBook(benchmark::State &state)
{
    if (!ready(state))
        return;
    Book book;
    book.title = QStringLiteral("Benchmark");
    book.text = largestCorpusBook().text;
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveBook(book, fixture().saved));
    state.SetBytesProcessed(state.iterations() * book.text.size());
}
BENCHMARK(SaveImportedBook)->Unit(benchmark::kMillisecond);

// Import and save together, as a user converting a book does.
void ImportAndSave(benchmark::State &state)
{
    if (!ready(state))
        return;
    for (auto _ : state) {
        Book book;
        book.text = importTextFile(largestCorpusBook().path).value();
        benchmark::DoNotOptimize(SaveBook(book, fixture().saved));
    }
}
BENCHMARK(ImportAndSave)->Unit(benchmark::kMillisecond);

void LoadSavedBook(benchmark::State &state)
{
    if (!ready(state))
        return;
    Book book;
    book.text = largestCorpusBook().text;
    SaveBook(book, fixture().saved);
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadBook(fixture().saved));
}
BENCHMARK(LoadSavedBook)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
