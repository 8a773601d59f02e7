// Import, save and load of the largest real book in the corpus folder, and the guesses of its
// code page.
//
//   build/bench/bench_bookfile

#include "book/bookfile.h"
#include "book/codepageguess.h"
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

// What Import adds: the code page that holds the most of the book's letters.
void GuessCodePageOfText(benchmark::State &state)
{
    if (!ready(state))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(CodePage::guessFromText({largestCorpusBook().text}));
    state.SetBytesProcessed(state.iterations() * largestCorpusBook().text.size());
}
BENCHMARK(GuessCodePageOfText)->Unit(benchmark::kMillisecond);

// What Open adds, for a Western book (letters alone decide) and for the same book in Cyrillic
// letters, where Greek and Cyrillic read alike and ICU's detector is asked.
void GuessCodePageOfBytes(benchmark::State &state)
{
    if (!ready(state))
        return;
    QString text = largestCorpusBook().text;
    if (state.range(0) == 1251) {
        for (QChar &c : text) {
            if (c.isLower() && c.unicode() < 0x80)
                c = QChar(u'\u0430' + (c.unicode() - u'a'));
        }
    }
    const QByteArray bytes = CodePage::encode(CodePage::Id(state.range(0)), text);
    for (auto _ : state)
        benchmark::DoNotOptimize(CodePage::guessFromBytes({bytes}));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(GuessCodePageOfBytes)->Arg(1252)->Arg(1251)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
