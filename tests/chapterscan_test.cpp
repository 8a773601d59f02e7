#include "chapters/chapterscan.h"

#include "referencescan.h"
#include "testfiles.h"

#include "book/textimport.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace {

NumberTables filledTables()
{
    NumberTables tables;
    BuildRomanNumerals(tables);
    BuildNumberWords(tables);
    return tables;
}

QList<ChapterEntry> scan(const QString &text, HeadingStyle style, bool wholeLine = false)
{
    return ScanChapters(text, {style, wholeLine}, filledTables());
}

struct ScanCase
{
    const char *name;
    QString text;
    HeadingStyle style;
    bool wholeLine;
    QList<ChapterEntry> rows;
};

TEST(ChapterScan, AppendsTheFirstOccurrenceOfEverySearchInSearchOrder)
{
    using enum HeadingStyle;
    const ScanCase cases[] = {
        {"lower case, titled as written",
         u"The chapter 1 begins"_s,
         Digits,
         false,
         {{u"chapter 1"_s, u"4"_s}}},
        {"number 1 inside a longer number",
         u"Chapter 12\r\nChapter 1"_s,
         Digits,
         false,
         {{u"Chapter 1"_s, u"0"_s}, {u"Chapter 12"_s, u"0"_s}}},
        {"the table of contents takes the first hit",
         u"Contents\r\nChapter 1\r\nChapter 2\r\n\r\nChapter 1\r\nText\r\nChapter 2\r\n"_s,
         Digits,
         false,
         {{u"Contents"_s, u"0"_s}, {u"Chapter 1"_s, u"10"_s}, {u"Chapter 2"_s, u"21"_s}}},
        {"Book 1 before Chapter 1 wherever they stand",
         u"Chapter 1 ... Book 1"_s,
         Digits,
         false,
         {{u"Book 1"_s, u"14"_s}, {u"Chapter 1"_s, u"0"_s}}},
        {"section words inside longer words",
         u"Holiday 3, counterpart 2, Notebook 4"_s,
         Digits,
         false,
         {{u"part 2"_s, u"18"_s}, {u"day 3"_s, u"4"_s}, {u"book 4"_s, u"30"_s}}},
        {"front and back matter anywhere, also inside words",
         u"the prologue; indexed; an Epilogue"_s,
         Digits,
         false,
         {{u"prologue"_s, u"4"_s}, {u"Epilogue"_s, u"26"_s}, {u"index"_s, u"14"_s}}},
        {"style 1 pads one digit",
         u"Chapter 5 Chapter 05 Chapter 10"_s,
         TwoDigits,
         false,
         {{u"Chapter 05"_s, u"10"_s}, {u"Chapter 10"_s, u"21"_s}}},
        {"Roman I found inside II",
         u"CHAPTER II. CHAPTER I."_s,
         RomanNumerals,
         false,
         {{u"CHAPTER I"_s, u"0"_s}, {u"CHAPTER II"_s, u"0"_s}}},
        {"words",
         u"CHAPTER TWENTY-ONE, Chapter Twenty one"_s,
         Words,
         false,
         {{u"CHAPTER TWENTY"_s, u"0"_s}, {u"Chapter Twenty one"_s, u"20"_s}}},
        {"hyphenated words",
         u"CHAPTER TWENTY-ONE"_s,
         HyphenatedWords,
         false,
         {{u"CHAPTER TWENTY"_s, u"0"_s}, {u"CHAPTER TWENTY-ONE"_s, u"0"_s}}},
        {"above 100 only where the book writes Hundren",
         u"Chapter One Hundred and one; Chapter One Hundren and one"_s,
         Words,
         false,
         {{u"Chapter One"_s, u"0"_s},
          {u"Chapter One Hundred"_s, u"0"_s},
          {u"Chapter One Hundren and one"_s, u"29"_s}}},
        {"a line that begins with a number, never the first line",
         u"1 first\r\n12 Twelve\r\n2 Two"_s,
         LineDigits,
         false,
         {{u"1"_s, u"9"_s}, {u"2"_s, u"20"_s}, {u"12"_s, u"9"_s}}},
        {"a line style takes one entry per number",
         u"x\r\n3\r\n3"_s,
         LineDigits,
         false,
         {{u"3"_s, u"3"_s}}},
        {"Roman lines match any line that begins with the letter",
         u"I\r\nIt was\r\nV."_s,
         LineRoman,
         false,
         {{u"I"_s, u"3"_s}, {u"V"_s, u"11"_s}}},
        {"whole line",
         u"x\r\n7. The Return\r\nmore"_s,
         LineDigits,
         true,
         {{u"7. The Return"_s, u"3"_s}}},
        {"whole line, heading on the last line",
         u"Text\r\nChapter 3: The Storm"_s,
         Digits,
         true,
         {{u"Chapter 3: The Storm"_s, u"6"_s}}},
        {"whole line keeps a long title whole",
         u"Chapter 1 "_s + QString(60, u'x'),
         Digits,
         true,
         {{u"Chapter 1 "_s + QString(60, u'x'), u"0"_s}}},
        {"empty text", QString(), Digits, false, {}},
        {"line breaks count as two characters",
         u"\r\n\r\nPreface"_s,
         Digits,
         false,
         {{u"Preface"_s, u"4"_s}}},
    };
    for (const ScanCase &c : cases) {
        EXPECT_EQ(scan(c.text, c.style, c.wholeLine), c.rows) << c.name;
        EXPECT_EQ(referenceScan(c.text, {c.style, c.wholeLine}), c.rows)
            << c.name << " (reference)";
    }
}

TEST(ChapterScan, ReportsEveryStepAndStatusOfTheSearches)
{
    for (const HeadingStyle style : {HeadingStyle::Digits, HeadingStyle::LineRoman}) {
        const QString text = u"Prologue\r\nI\r\nChapter 1\r\nII"_s;
        QList<ScanCall> calls;
        ScanChapters(text, {style, false}, filledTables(), [&](int steps, const QString &status) {
            calls.append({steps, status});
        });
        QList<ScanCall> expected;
        referenceScan(text, {style, false}, &expected);
        EXPECT_EQ(calls, expected);

        ASSERT_FALSE(calls.isEmpty());
        EXPECT_EQ(calls.first(), (ScanCall{1, u"Searching for Contents..."_s}));
        EXPECT_EQ(calls.last(), (ScanCall{ScanSteps, QString()}));
    }

    QList<ScanCall> lineStyle;
    ScanChapters(u"none"_s, {HeadingStyle::LineDigits, false}, filledTables(),
                 [&](int steps, const QString &status) {
                     lineStyle.append({steps, status});
                 });
    EXPECT_EQ(lineStyle.size(), 4 + 128 * 7 + 2 + 1) << "nothing found: every search is made";
    EXPECT_EQ(lineStyle[4], (ScanCall{5, u"Searching for \r\n1..."_s}));
}

TEST(ChapterScan, ASecondScanAppendsTheSameEntriesAgain)
{
    const QString text = u"Chapter 1 and Chapter 2"_s;
    EXPECT_EQ(scan(text, HeadingStyle::Digits), scan(text, HeadingStyle::Digits));
}

// Texts made of heading fragments, so that many searches hit, overlap and nest.
QString headingSoup(std::mt19937 &random, int pieces)
{
    static const QString Pieces[] = {
        u"Chapter "_s, u"chapter"_s,  u"BOOK "_s,  u"Part "_s,  u"Day "_s, u"Section "_s,
        u"Volume "_s,  u"Letter "_s,  u"1"_s,      u"2"_s,      u"12"_s,   u"0"_s,
        u"I"_s,        u"V"_s,        u"X"_s,      u"L"_s,      u"C"_s,    u"One"_s,
        u" "_s,        u"-"_s,        u"Twenty"_s, u"one"_s,    u"\r\n"_s, u"Hundren and "_s,
        u"Index"_s,    u"Prologue"_s, u"ß"_s,      u"\u0131"_s, u"x"_s,
    };
    QString text;
    std::uniform_int_distribution<int> pick(0, int(std::size(Pieces)) - 1);
    for (int i = 0; i < pieces; ++i)
        text += Pieces[pick(random)];
    return text;
}

TEST(ChapterScan, OnePassEqualsTheSequentialSearchesOnGeneratedTexts)
{
    std::mt19937 random(902);
    for (int round = 0; round < 100; ++round) {
        const QString text = headingSoup(random, 1 + round * 9);
        for (int style = 0; style < HeadingStyleCount; ++style) {
            const ScanOptions options{HeadingStyle(style), round % 2 == 0};
            ASSERT_EQ(ScanChapters(text, options, filledTables()), referenceScan(text, options))
                << "style " << style << " on: " << text.toStdString();
        }
    }
}

TEST(ChapterScan, OnePassEqualsTheSequentialSearchesOnEveryCorpusBook)
{
    const QStringList books = corpusBooks();
    if (books.isEmpty())
        GTEST_SKIP() << "no corpus books in " << corpusDir().toStdString();
    for (const QString &book : books) {
        const QString text = decodeTextFile(readBytes(book));
        for (int style = 0; style < HeadingStyleCount; ++style) {
            const ScanOptions options{HeadingStyle(style), style % 2 == 1};
            EXPECT_EQ(ScanChapters(text, options, filledTables()), referenceScan(text, options))
                << book.toStdString() << ", style " << style;
        }
    }
}

} // namespace
