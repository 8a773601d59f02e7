#include "book/textimport.h"
#include "chapters/bookcheck.h"
#include "chapters/chaptertable.h"

#include "referencescan.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace Qt::StringLiterals;

namespace {

TEST(ChapterScan, AppendsTheFirstOccurrenceOfEverySearchInSearchOrder)
{
    using enum HeadingStyle;
    // The text, the style, whole lines or not, and the rows.
    const std::tuple<QString, HeadingStyle, bool, QString> cases[] = {
        {u"Chapter 12\r\nChapter 1"_s, Digits, false, u"Chapter 1@0|Chapter 12@0"_s},
        {u"Holiday 3, counterpart 2, Notebook 4"_s, Digits, false,
         u"part 2@18|day 3@4|book 4@30"_s},
        {u"the prologue; indexed; an Epilogue"_s, Digits, false,
         u"prologue@4|Epilogue@26|index@14"_s},
        {u"Chapter 5 Chapter 05 Chapter 10"_s, TwoDigits, false, u"Chapter 05@10|Chapter 10@21"_s},
        {u"CHAPTER II. CHAPTER I."_s, RomanNumerals, false, u"CHAPTER I@0|CHAPTER II@0"_s},
        {u"CHAPTER TWENTY-ONE, Chapter Twenty one"_s, Words, false,
         u"CHAPTER TWENTY@0|Chapter Twenty one@20"_s},
        {u"Chapter One Hundred and one; Chapter One Hundren and one"_s, Words, false,
         u"Chapter One@0|Chapter One Hundred@0|Chapter One Hundren and one@29"_s},
        {u"1 first\r\n12 Twelve\r\n2 Two\r\n2"_s, LineDigits, false, u"1@9|2@20|12@9"_s},
        {u"I\r\nIt was\r\nV."_s, LineRoman, false, u"I@3|V@11"_s},
        {u"x\r\n7. The Return\r\nmore"_s, LineDigits, true, u"7. The Return@3"_s},
    };
    for (const auto &[text, style, wholeLine, expected] : cases) {
        EXPECT_EQ(ScanChapters(text, {style, wholeLine}, numberTables()), rows(expected))
            << text.toStdString();
        EXPECT_EQ(referenceScan(text, {style, wholeLine}), rows(expected))
            << text.toStdString() << " (the sequential searches)";
    }
}

// The exchange over all pairs as users know it: equal offsets change places, rows already in
// order change places twice, and an offset the exchange touches is rewritten without its sign
// position.
TEST(ChapterTable, SortOrdersByOffsetAndRewritesTheRowsItExchanges)
{
    for (const auto &[unsorted, sorted] :
         {std::pair{u"A@ 100|B@ 100|C@ 0"_s, u"C@ 0|B@ 100|A@100"_s},
          {u"A@ 1|B@ 2"_s, u"A@ 1|B@2"_s},
          {u"Text@Offset|Neg@-4"_s, u"Neg@-4|Text@0"_s}}) {
        ChapterRows result = rows(unsorted);
        SortChapters(result);
        EXPECT_EQ(result, rows(sorted));
    }
    ChapterRows added(5, {u"x"_s, u"1"_s});
    EXPECT_EQ(keepRowsThatFit(added, MaxChapterRows - 3), 2) << "rows left out";
    EXPECT_EQ(added.size(), 3);
}

TEST(ChapterTable, LongTitlesAreShortenedAtAWordAndEndInAnEllipsis)
{
    for (const auto &[title, shortened] : {
             std::pair{u"CHAPTER 36. The Quarter-Deck. (Enter Ahab: Then, All.)"_s,
                       u"CHAPTER 36. The Quarter-Deck. (Enter\u2026"_s},
             {u"Exactly forty characters long, this one."_s,
              u"Exactly forty characters long, this one."_s},
             {u"Forty-one characters, and a comma, before"_s,
              u"Forty-one characters, and a comma\u2026"_s},
             {u"Supercalifragilisticexpialidocious-and-more-words"_s,
              u"Supercalifragilisticexpialidocious-and\u2026"_s},
         }) {
        EXPECT_EQ(shortenedTitle(title), shortened);
        EXPECT_LE(shortenedTitle(title).size(), ChapterTitleLength);
    }
    // Box 7's forms of a table's titles: a longer form drops its fill spaces before it is
    // shortened.
    const ChapterRows storable = storableRows(
        {{u"\u4E2D\u6587"_s.leftJustified(40), u" 1"_s}, {QString(12, u'\u4E2D'), u" 2"_s}},
        CodePage::Western);
    EXPECT_EQ(storable[0], (ChapterEntry{u"zhong w\u00E9n"_s, u" 1"_s}));
    EXPECT_LE(storable[1].title.size(), ChapterTitleLength);
    EXPECT_TRUE(storable[1].title.startsWith(u"zhong zhong"_s)
                && storable[1].title.endsWith(u'\u2026'))
        << storable[1].title.toStdString();
}

TEST(BookCheck, FindsWhatAReaderWouldStumbleOver)
{
    // Chapters at the offsets given; lines of the default text start at 0, 5, 11 and 16.
    auto book = [](const QString &offsets, const QString &text = u"One\r\ntext\r\nTwo\r\nmore"_s) {
        Book result{u"Title"_s.leftJustified(128), {}, {}, {}, text};
        for (const QString &offset : offsets.split(u'|', Qt::SkipEmptyParts))
            result.chapters.append({u"Chapter"_s.leftJustified(40), offset});
        return result;
    };
    // Chapters with these titles, one a line.
    auto titled = [](const QStringList &titles) {
        Book result;
        for (const QString &title : titles) {
            result.chapters.append({title, u" "_s + QString::number(result.text.size())});
            result.text += u"line\r\n"_s;
        }
        return result;
    };
    // The problems written "kind chapter", as the batch tool's JSON names them.
    const std::tuple<const char *, Book, QString> cases[] = {
        {"outside the text, out of order", book(u" 0| 20|-1"_s),
         u"offset-outside-text 2|offset-outside-text 3|offsets-out-of-order 3"_s},
        {"after a lone LF or CR, as stored", book(u" 2| 4| 7"_s, u"a\nb\rc\r\nd"_s), {}},
        {"chapter numbers missing or repeated within a part",
         titled({u"Book 1, CHAPTER I"_s, u"Book 1, CHAPTER II"_s, u"Book 2, CHAPTER I"_s,
                 u"Book 2, CHAPTER III"_s, u"Book 2, CHAPTER III"_s}),
         u"numbering-gap 4|numbering-gap 5"_s},
        {"numbering running on through parts, restarting under an epilogue",
         titled({u"PART ONE--The Start"_s, u"1 The Inn"_s, u"2 The Map"_s, u"PART TWO"_s,
                 u"3 The Ship"_s, u"EPILOGUE"_s, u"I"_s, u"II"_s}),
         {}},
        {"chapters restarting under each part, a chapter missing within the second",
         titled({u"Part One"_s, u"Chapter 1"_s, u"Chapter 2"_s, u"Part Two"_s, u"Chapter 1"_s,
                 u"Chapter 2"_s, u"Chapter 4"_s}),
         u"numbering-gap 7"_s},
        {"books restarting under each volume, chapters under each book",
         titled({u"Volume 1"_s, u"Book 1"_s, u"Chapter 1"_s, u"Chapter 2"_s, u"Book 2"_s,
                 u"Chapter 1"_s, u"Volume 2"_s, u"Book 1"_s, u"Chapter 1"_s, u"Chapter 1"_s}),
         u"numbering-gap 10"_s},
        {"titles naming their parts, a book and a chapter missing",
         titled({u"Book I, Chapter 1"_s, u"Book I, Chapter 2"_s, u"Book II, Chapter 1"_s,
                 u"Book II, Chapter 3"_s, u"Book IV, Chapter 1"_s,
                 u"Volume 1 / Book 1 / Chapter 1"_s, u"Volume 1 / Book 2 / Chapter 1"_s}),
         u"numbering-gap 4|numbering-gap 5"_s},
        {"a title cut before its number stands for the number between",
         titled({u"Book 1, CHAPTER I"_s, u"Book 1, CHAPTER\u2026"_s, u"Book 1, CHAPTER III"_s,
                 u"Book 1, CHAPTER V"_s}),
         u"numbering-gap 4"_s},
        {"a dotted section scheme, the first section of one chapter missing",
         titled({u"1 Scope"_s, u"1.1 Terms"_s, u"1.2"_s, u"1.2.1 Words"_s, u"2"_s, u"2.1"_s, u"3"_s,
                 u"3.2"_s}),
         u"numbering-gap 8"_s},
        {"sections numbered alone under their chapter, as a contents list nests them",
         titled({u"Chapter 1"_s, u"Chapter 1 1"_s, u"Chapter 1 2"_s, u"Chapter 2"_s,
                 u"Chapter 2 1"_s, u"Chapter 2 1"_s}),
         u"numbering-gap 6"_s},
        {"numbers visibly starting again without a part row, then one repeated",
         titled({u"LVII. THE END"_s, u"I. CHOICE"_s, u"II."_s, u"Chapter 1"_s, u"Chapter 2"_s,
                 u"Chapter 1"_s, u"Chapter 3"_s}),
         u"numbering-gap 6"_s},
        {"empty text", book(u" 0"_s, QString()), u"empty-text 0|offset-outside-text 1"_s},
        {"sections numbered afresh under each titled heading, a repeat inside one run",
         titled(
             {u"Song of Myself"_s, u"1"_s, u"2"_s, u"The Body Electric"_s, u"1"_s, u"2"_s, u"2"_s}),
         u"numbering-gap 7"_s},
        {"numbers restarting under an unnumbered heading, then one repeated",
         titled({u"PROLOGUE"_s, u"Chapter 1"_s, u"Chapter 2"_s, u"Chapter 1"_s, u"Chapter 3"_s}),
         u"numbering-gap 4"_s},
        {"twenty chapters missing in a row are a gap, more are another numbering",
         titled({u"Chapter 1"_s, u"Chapter 22"_s, u"Chapter 44"_s}),
         QStringList(20, u"numbering-gap 2"_s).join(u'|')},
        {"a title that fills its field, cut or shortened",
         titled({QString(40, u'x'), QString(39, u'x') + u'\u2026'}), u"field-cut 1"_s},
    };
    for (const auto &[name, checked, problems] : cases) {
        QStringList found;
        for (const BookProblem &problem : checkBook(checked))
            found << kindName(problem.kind) + u' ' + QString::number(problem.chapter);
        EXPECT_EQ(found.join(u'|'), problems) << name;
    }
    // A gap in a dotted scheme names what is missing as a section.
    const QList<BookProblem> dotted = checkBook(titled({u"1"_s, u"1.2"_s}));
    ASSERT_EQ(dotted.size(), 1);
    EXPECT_TRUE(dotted[0].message.contains(u"section 1.1"_s)) << dotted[0].message.toStdString();
}

} // namespace
