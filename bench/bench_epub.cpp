// Importing the largest EPUB book of the corpus folder (reading the archive, the text of every
// content document and the chapter table), and the largest text book of the corpus written as
// one web page, a paragraph element for each paragraph.
//
//   build/bench/bench_epub

#include "import/bookimport.h"
#include "import/epubimport.h"
#include "import/htmlmarkup.h"

#include "corpusbook.h"

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

// The book's paragraphs as p elements, a short paragraph as a heading, in a page of its own.
QByteArray webPage(const QString &text)
{
    QByteArray page = "<!DOCTYPE html><html><head><meta charset='utf-8'><title>Book</title>"
                      "</head><body>\n";
    const QStringList paragraphs = text.split(QStringLiteral("\r\n\r\n"));
    for (const QString &paragraph : paragraphs) {
        const QByteArray written = paragraph.simplified().toHtmlEscaped().toUtf8();
        page += written.size() < 40 ? "<h2>" + written + "</h2>\n"
                                    : "<p class='para'>" + written + "</p>\n";
    }
    return page + "</body></html>\n";
}

void ImportWebPage(benchmark::State &state)
{
    const CorpusBook &book = largestCorpusBook();
    if (book.text.isEmpty()) {
        state.SkipWithError("no books in the corpus folder");
        return;
    }
    const QByteArray page = webPage(book.text);
    state.SetLabel(book.name.toStdString() + " as a page of " + std::to_string(page.size() >> 10)
                   + " KB");
    for (auto _ : state)
        benchmark::DoNotOptimize(readHtmlBook(page, QStringLiteral("book.html")));
    state.SetBytesProcessed(state.iterations() * page.size());
}
BENCHMARK(ImportWebPage)->Unit(benchmark::kMillisecond);

// The parse alone, without the walk that writes the text.
void ParseWebPage(benchmark::State &state)
{
    const CorpusBook &book = largestCorpusBook();
    if (book.text.isEmpty()) {
        state.SkipWithError("no books in the corpus folder");
        return;
    }
    const QByteArray page = webPage(book.text);
    for (auto _ : state)
        benchmark::DoNotOptimize(HtmlMarkup::parseHtml(page));
}
BENCHMARK(ParseWebPage)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
