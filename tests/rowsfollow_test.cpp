#include "book/offsetmap.h"
#include "book/textimport.h"
#include "chapters/headingdetector.h"
#include "chapters/rowsontext.h"
#include "cleaner/textcleaner.h"
#include "search/textreplace.h"

#include "rowsfollowing.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <random>
#include <tuple>

using namespace Qt::StringLiterals;

namespace {

// A map written "at:removed>inserted" per span, separated by blanks.
OffsetMap spans(const QString &written)
{
    OffsetMap map;
    for (const QString &span : written.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList parts = span.split(QRegularExpression(u"[:>]"_s));
        map.replace(parts[0].toInt(), parts[1].toInt(), parts[2].toInt());
    }
    return map;
}

// Old positions 0 to 9 as the map places them, "-" where removed outright.
QString placed(const OffsetMap &map)
{
    QStringList result;
    for (qsizetype position = 0; position < 10; ++position) {
        result << (map.firstSurvivor(position, position + 1) < 0
                       ? u"-"_s
                       : QString::number(map.map(position)));
    }
    return result.join(u' ');
}

TEST(OffsetMap, PlacesEveryOldPositionAndComposesChanges)
{
    // A map, then the same positions after a second map.
    const std::tuple<QString, QString, QString> cases[] = {
        {u""_s, u""_s, u"0 1 2 3 4 5 6 7 8 9"_s},
        {u"2:2>0"_s, u""_s, u"0 1 - - 2 3 4 5 6 7"_s},
        {u"2:0>3"_s, u""_s, u"0 1 5 6 7 8 9 10 11 12"_s},
        {u"2:3>1"_s, u""_s, u"0 1 2 2 2 3 4 5 6 7"_s},
        {u"2:1>3 6:2>0"_s, u""_s, u"0 1 2 5 6 7 - - 8 9"_s},
        // Touching spans join, but a stretch removed outright stays removed.
        {u"2:1>1 3:1>2"_s, u""_s, u"0 1 2 3 5 6 7 8 9 10"_s},
        {u"2:1>0 3:1>2"_s, u""_s, u"0 1 - 2 4 5 6 7 8 9"_s},
        {u"0:10>0"_s, u""_s, u"- - - - - - - - - -"_s},
        // Composed: the second map counts in the first one's new text.
        {u"2:2>0"_s, u"0:1>3"_s, u"0 3 - - 4 5 6 7 8 9"_s},
        {u"2:2>0"_s, u"1:2>0"_s, u"0 - - - - 1 2 3 4 5"_s},
        {u"2:0>4"_s, u"3:2>0"_s, u"0 1 4 5 6 7 8 9 10 11"_s},
        {u"5:1>1"_s, u"5:1>0"_s, u"0 1 2 3 4 - 5 6 7 8"_s},
        {u"4:2>2"_s, u"3:4>1"_s, u"0 1 2 3 3 3 3 4 5 6"_s},
    };
    for (const auto &[first, then, expected] : cases) {
        const OffsetMap map = OffsetMap::compose(spans(first), spans(then));
        EXPECT_EQ(placed(map), expected) << first.toStdString() << " then " << then.toStdString();
    }
    OffsetMap trimmed;
    trimmed.replace(3, u"\r\n ", u"\r\n\r\n");
    EXPECT_EQ(trimmed, spans(u"5:1>2"_s)) << "what both sides begin and end with stays";
}

TEST(MovedRows, RowsStayOnTheirHeadingsOrGoWithThem)
{
    const QString text = u"Header\r\n*** START OF THE PROJECT GUTENBERG EBOOK X ***\r\n\r\n"
                         "  CHAPTER I\r\nOne\r\ntwo\r\n\r\nCHAPTER II\r\n"
                         "*** END OF THE PROJECT GUTENBERG EBOOK X ***\r\nLicence"_s;
    const qsizetype one = text.indexOf(u"  CHAPTER I"_s);
    const qsizetype two = text.indexOf(u"CHAPTER II"_s);
    const qsizetype licence = text.indexOf(u"Licence"_s);
    CleanerBoxes frameAndSpaces{};
    frameAndSpaces[GutenbergFrameBox] = frameAndSpaces[5] = true;
    CleanerBoxes unwrap{};
    unwrap[0] = true;
    // The boxes, the rows before and after, and how many moved and went.
    const std::tuple<CleanerBoxes, ChapterRows, ChapterRows, qsizetype, qsizetype> cases[] = {
        {frameAndSpaces,
         {{u"A"_s, u" 0"_s},
          {u"I"_s, u" %1"_s.arg(one)},
          {u"II"_s, QString::number(two)},
          {u"L"_s, QString::number(licence)},
          {u"far"_s, u"99999"_s}},
         {{u"I"_s, u" 0"_s}, {u"II"_s, u"24"_s}, {u"far"_s, u"99999"_s}},
         2,
         2},
        // Lines joined into the lines above move both headings up; the first stays at the start
        // of its line, blanks and all.
        {unwrap,
         {{u"I"_s, QString::number(one)}, {u"II"_s, QString::number(two)}},
         {{u"I"_s, QString::number(one - 1)}, {u"II"_s, QString::number(two - 3)}},
         2,
         0},
    };
    for (const auto &[boxes, before, after, moved, removed] : cases) {
        const CleanOutcome outcome = Clean(text, boxes);
        const MovedRows result = moveChapterRows(before, text, outcome.text, outcome.moves);
        EXPECT_EQ(result.rows, after);
        EXPECT_EQ(result.moved, moved);
        EXPECT_EQ(result.removed, removed);
    }
    EXPECT_EQ(describeMovedRows({{}, 1, 1234}),
              u"moved 1 chapter row with the text; removed 1,234 chapter rows whose heading was "
              "removed"_s);
}

TEST(MovedRows, ReplaceMovesRowsByWhatItPutInIncludingLineBreaks)
{
    const QString text = u"a\r\nA\r\nx\r\nB"_s;
    const ChapterRows rows = {{u"A"_s, u" 3"_s}, {u"B"_s, u"9"_s}};
    // What is replaced by what, and the rows after.
    const std::tuple<QString, QString, ChapterRows> cases[] = {
        {u"x"_s, u"xxx"_s, {{u"A"_s, u" 3"_s}, {u"B"_s, u"11"_s}}},
        {u"x"_s, u"\n\n"_s, {{u"A"_s, u" 3"_s}, {u"B"_s, u"12"_s}}},
        {u"\r\n"_s, QString(), {{u"A"_s, u" 1"_s}, {u"B"_s, u"3"_s}}},
        {u"\n"_s, QString(), rows}, // the lone CRs left are line breaks again
    };
    for (const auto &[what, by, expected] : cases) {
        const Replacement replaced = ReplaceInBook(text, what, by);
        EXPECT_EQ(moveChapterRows(rows, text, replaced.text, replaced.moves).rows, expected)
            << what.toStdString() << " by " << by.toStdString();
    }
    EXPECT_EQ(ReplaceInBook(u"whale Whale"_s, u"WHALE"_s, u"fish"_s).count, 2);
    EXPECT_EQ(describeReplaced(1981), u"1,981 replaced"_s);
}

// Random books, boxes and replacements: every row whose heading stayed stands on it, every row
// whose heading went was removed.
TEST(MovedRows, EveryBoxAndReplacementKeepsRowsOnTheirHeadings)
{
    // The blanks before a heading become "<PAR>", whose "A" then becomes a line break: the row
    // follows "<P", the text it stood on.
    EXPECT_EQ(checkRowsFollowTheirHeadings(QByteArray::fromHex("deff042d0018feffffff003f01")),
              QString());
    std::mt19937 random(1342);
    for (int round = 0; round < 3000; ++round) {
        QByteArray recipe(int(random() % 80), Qt::Uninitialized);
        for (char &byte : recipe)
            byte = char(random());
        const QString problem = checkRowsFollowTheirHeadings(recipe);
        ASSERT_TRUE(problem.isEmpty())
            << problem.toStdString() << " in recipe " << recipe.toHex().toStdString();
    }
}

// The detector's rows of every corpus book, through all eight boxes, start the lines they
// started, with the same heading on them; and the detector finds as many in the cleaned text.
TEST(MovedRows, CorpusRowsStayOnTheirHeadingLinesThroughEveryBox)
{
    const QStringList books = corpusBooks();
    if (books.isEmpty())
        GTEST_SKIP() << "no corpus books in " << corpusDir().toStdString();
    CleanerBoxes all;
    all.fill(true);
    auto lineAt = [](const QString &text, qsizetype offset) {
        const qsizetype start = lineStartAt(text, offset);
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\r')
            ++end;
        return QStringView(text).sliced(start, end - start).trimmed().left(8).toString();
    };
    for (const QString &book : books) {
        const QString text = decodeTextFile(readBytes(book));
        ChapterRows rows;
        for (const FoundHeading &heading : FindHeadings(text))
            rows.append(foundChapterRow(heading.title, heading.offset));
        const CleanOutcome outcome = Clean(text, all);
        const MovedRows moved = moveChapterRows(rows, text, outcome.text, outcome.moves);
        ASSERT_EQ(moved.rows.size(), rows.size()) << book.toStdString();
        EXPECT_NEAR(double(FindHeadings(outcome.text).size()), double(rows.size()),
                    double(rows.size()) / 100)
            << book.toStdString() << " cleaned";
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const qsizetype offset = chapterOffset(moved.rows[i]);
            EXPECT_EQ(offset, lineStartAt(outcome.text, offset)) << book.toStdString();
            EXPECT_EQ(lineAt(outcome.text, offset), lineAt(text, chapterOffset(rows[i])))
                << book.toStdString() << ", row " << i;
        }
    }
}

TEST(MovedRows, FindChaptersKnowsTheLinesTheTableHolds)
{
    const QString text = u"CHAPTER I\r\ntext\r\nCHAPTER II\r\n"_s;
    EXPECT_EQ(linesInTable({0, 17, 11}, {{u"I"_s, u" 3"_s}, {u"x"_s, u"-5"_s}}, text),
              (QList<bool>{true, false, false}));
}

} // namespace
