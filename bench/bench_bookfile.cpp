// Import, save and load of the largest real book in the corpus folder.
//
//   build/bench/bench_bookfile

#include "book/bookfile.h"
#include "book/textimport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString largestCorpusBook()
{
    const QDir dir(QString::fromUtf8(LEAFWRIGHT_CORPUS_DIR));
    const QFileInfoList books =
        dir.entryInfoList({QStringLiteral("*.txt")}, QDir::Files, QDir::Size);
    return books.isEmpty() ? QString() : books.first().filePath();
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Fixture
{
    QString source = largestCorpusBook();
    QByteArray bytes = readAll(source);
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
    if (fixture().bytes.isEmpty()) {
        state.SkipWithError("no books in the corpus folder");
        return false;
    }
    state.SetLabel(QFileInfo(fixture().source).fileName().toStdString());
    return true;
}

// Reading the .txt file, choosing its encoding and making its line breaks CR LF.
void ImportText(benchmark::State &state)
{
    if (!ready(state))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(importTextFile(fixture().source));
    state.SetBytesProcessed(state.iterations() * fixture().bytes.size());
}
BENCHMARK(ImportText)->Unit(benchmark::kMillisecond);

// What Save As does for the imported book: encode and write it through a temporary file.
void SaveImportedBook(benchmark::State &state)
{
    if (!ready(state))
        return;
    Book book;
    book.title = QStringLiteral("Benchmark");
    book.text = decodeTextFile(fixture().bytes);
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
        book.text = importTextFile(fixture().source).value();
        benchmark::DoNotOptimize(SaveBook(book, fixture().saved));
    }
}
BENCHMARK(ImportAndSave)->Unit(benchmark::kMillisecond);

void LoadSavedBook(benchmark::State &state)
{
    if (!ready(state))
        return;
    Book book;
    book.text = decodeTextFile(fixture().bytes);
    SaveBook(book, fixture().saved);
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadBook(fixture().saved));
}
BENCHMARK(LoadSavedBook)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
