// Importing the largest EPUB book of the corpus folder: reading the archive, the text of every
// content document and the chapter table.
//
//   build/bench/bench_epub

#include "import/bookimport.h"

#include <QDir>
#include <QFileInfo>

#include <benchmark/benchmark.h>

namespace {

QString largestEpub()
{
    const QDir dir(QString::fromUtf8(LEAFWRIGHT_CORPUS_DIR) + QStringLiteral("/epub"));
    const QFileInfoList books =
        dir.entryInfoList({QStringLiteral("*.epub")}, QDir::Files, QDir::Size);
    return books.isEmpty() ? QString() : books.first().filePath();
}

void ImportEpub(benchmark::State &state)
{
    const QString path = largestEpub();
    if (path.isEmpty()) {
        state.SkipWithError("no EPUB books in the corpus folder");
        return;
    }
    state.SetLabel(QFileInfo(path).fileName().toStdString());
    for (auto _ : state)
        benchmark::DoNotOptimize(importBook(path));
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}
BENCHMARK(ImportEpub)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
