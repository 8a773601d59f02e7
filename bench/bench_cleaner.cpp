// The Text Cleaner's boxes and Replace on the largest corpus book.
//
//   build/bench/bench_cleaner

#include "cleaner/textcleaner.h"
#include "search/textreplace.h"

#include "corpusbook.h"

#include <QStringList>

#include <benchmark/benchmark.h>

#include <random>

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

// Argument: one box 0 to 7, or 8 for all eight together.
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

// The two boxes for real books together, as a user of a Gutenberg book ticks them.
void CleanGutenbergBoxes(benchmark::State &state)
{
    CleanerBoxes boxes{};
    boxes[GutenbergFrameBox] = boxes[StorableCharactersBox] = true;
    if (!ready(state, "boxes 6 and 7"))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(CleanText(largestCorpusBook().text, boxes));
}
BENCHMARK(CleanGutenbergBoxes)->Unit(benchmark::kMillisecond);

// About 3 MB of Cyrillic prose: 30,000 different words of 2 to 11 letters drawn at random (a
// novel's vocabulary), in lines of about 70 characters.
QString cyrillicText()
{
    std::mt19937 random(2600);
    QStringList words;
    for (int i = 0; i < 30000; ++i) {
        QString word;
        const int length = 2 + int(random() % 10);
        for (int letter = 0; letter < length; ++letter)
            word += QChar(char16_t(0x0430 + random() % 32));
        words.append(word);
    }
    QString text;
    qsizetype lineStart = 0;
    while (text.size() < 3'000'000) {
        text += words[random() % words.size()];
        if (text.size() - lineStart > 70) {
            text += u"\r\n";
            lineStart = text.size();
        } else {
            text += random() % 8 == 0 ? u", " : u" ";
        }
    }
    return text;
}

void StorableCyrillic(benchmark::State &state)
{
    static const QString text = cyrillicText();
    CleanerBoxes boxes{};
    boxes[StorableCharactersBox] = true;
    state.SetLabel("3 MB of Cyrillic, box 7");
    for (auto _ : state)
        benchmark::DoNotOptimize(CleanText(text, boxes));
}
BENCHMARK(StorableCyrillic)->Unit(benchmark::kMillisecond);

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
