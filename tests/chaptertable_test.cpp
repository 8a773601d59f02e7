#include "chapters/chaptertable.h"

#include "book/offsettext.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace {

// The exchange over all pairs exactly as users know it, reading and rewriting texts each time.
void literalSort(ChapterRows &rows)
{
    const qsizetype n = rows.size();
    for (qsizetype i = 0; i < n; ++i) {
        for (qsizetype j = 0; j < n; ++j) {
            if (offsetTextToNumber(rows[j].offset) > offsetTextToNumber(rows[i].offset)) {
                const ChapterEntry rowI = rows[i];
                const ChapterEntry rowJ = rows[j];
                rows[j] = rowI;
                rows[i] = {rowJ.title, QString::number(offsetTextToNumber(rowJ.offset))};
            }
        }
    }
}

TEST(ChapterTable, SortOrdersByOffsetAndRewritesTheRowsItExchanges)
{
    const std::pair<ChapterRows, ChapterRows> cases[] = {
        {{{u"A"_s, u" 300"_s}, {u"B"_s, u" 100"_s}, {u"C"_s, u" 200"_s}},
         {{u"B"_s, u" 100"_s}, {u"C"_s, u" 200"_s}, {u"A"_s, u"300"_s}}},
        // Equal offsets change places.
        {{{u"A"_s, u" 100"_s}, {u"B"_s, u" 100"_s}, {u"C"_s, u" 0"_s}},
         {{u"C"_s, u" 0"_s}, {u"B"_s, u" 100"_s}, {u"A"_s, u"100"_s}}},
        {{}, {}},
        {{{u"Only"_s, u" 5"_s}}, {{u"Only"_s, u" 5"_s}}},
        // Already in order, yet the rows change places twice and one offset is rewritten.
        {{{u"A"_s, u" 1"_s}, {u"B"_s, u" 2"_s}}, {{u"A"_s, u" 1"_s}, {u"B"_s, u"2"_s}}},
        {{{u"Text"_s, u"Offset"_s}, {u"Neg"_s, u"-4"_s}},
         {{u"Neg"_s, u"-4"_s}, {u"Text"_s, u"0"_s}}},
    };
    for (const auto &[rows, sorted] : cases) {
        ChapterRows result = rows;
        SortChapters(result);
        EXPECT_EQ(result, sorted);
        ChapterRows literal = rows;
        literalSort(literal);
        EXPECT_EQ(literal, sorted) << "the table above must hold for the exchange itself";
    }
}

TEST(ChapterTable, SortEqualsTheExchangeOverAllPairsOnRandomTables)
{
    std::mt19937 random(32767);
    for (int round = 0; round < 200; ++round) {
        std::uniform_int_distribution<int> size(0, 60);
        std::uniform_int_distribution<int> value(0, round % 3 == 0 ? 3 : 1000);
        ChapterRows rows;
        const int n = size(random);
        for (int i = 0; i < n; ++i) {
            const int v = value(random);
            rows.append({u"Row %1"_s.arg(i),
                         random() % 2 ? offsetWithSignPosition(v) : QString::number(v)});
        }
        ChapterRows fast = rows;
        SortChapters(fast);
        literalSort(rows);
        ASSERT_EQ(fast, rows) << "round " << round;
    }
}

TEST(ChapterTable, MovesExchangeNeighboursAndFollowTheChapter)
{
    const ChapterRows three = {{u"A"_s, u" 1"_s}, {u"B"_s, u"2"_s}, {u"C"_s, u" 3"_s}};
    struct Case
    {
        bool up;
        int selected;
        int movedTo;
        QString order;
    };
    const Case cases[] = {
        {false, 0, 1, u"BAC"_s},  {true, 2, 1, u"ACB"_s},   {true, 0, -1, u"ABC"_s},
        {false, 2, -1, u"ABC"_s}, {true, -1, -1, u"ABC"_s}, {false, -1, -1, u"ABC"_s},
    };
    for (const Case &c : cases) {
        ChapterRows rows = three;
        const int moved =
            c.up ? moveChapterUp(rows, c.selected) : moveChapterDown(rows, c.selected);
        EXPECT_EQ(moved, c.movedTo);
        QString order;
        for (const ChapterEntry &row : rows)
            order += row.title;
        EXPECT_EQ(order, c.order);
        for (const ChapterEntry &row : rows)
            EXPECT_EQ(row.offset, three[row.title[0].unicode() - u'A'].offset)
                << "offsets keep their form";
    }
    ChapterRows empty;
    EXPECT_EQ(moveChapterDown(empty, 0), -1);
}

TEST(ChapterTable, AddedRowsCutTheTitleAndWriteTheOffsetWithABlank)
{
    EXPECT_EQ(newChapterRow(u"Enter Chapter Title Here...", u"Offset"),
              (ChapterEntry{u"Enter Chapter Title Here..."_s, u" 0"_s}));
    EXPECT_EQ(newChapterRow(u"T", u"1234"), (ChapterEntry{u"T"_s, u" 1234"_s}));
    EXPECT_EQ(newChapterRow(QString(45, u'x'), u"7").title, QString(40, u'x'));
}

TEST(ChapterTable, KeepsOnlyTheRowsThatFitTheTable)
{
    ChapterRows added(5, {u"x"_s, u"1"_s});
    EXPECT_EQ(keepRowsThatFit(added, MaxChapterRows - 3), 2);
    EXPECT_EQ(added.size(), 3);
    EXPECT_EQ(keepRowsThatFit(added, 0), 0);
    EXPECT_EQ(keepRowsThatFit(added, MaxChapterRows), 3);
    EXPECT_TRUE(added.isEmpty());
}

} // namespace
