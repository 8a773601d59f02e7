#include "chaptertable.h"

#include "book/offsettext.h"
#include "cleaner/storablecharacters.h"

#include <algorithm>
#include <utility>
#include <vector>

ChapterEntry newChapterRow(QStringView title, QStringView offset)
{
    return {title.left(ChapterTitleLength).toString(),
            offsetWithSignPosition(offsetTextToNumber(offset))};
}

QString shortenedTitle(QStringView title)
{
    if (title.size() <= ChapterTitleLength)
        return title.toString();
    // Room for the ellipsis; a word the cut would split goes whole, unless it is most of the
    // title.
    QStringView kept = title.first(ChapterTitleLength - 1);
    if (!title[kept.size()].isSpace()) {
        const qsizetype space = kept.lastIndexOf(u' ');
        if (space > ChapterTitleLength / 2)
            kept.truncate(space);
    }
    static const QStringView dangling = u" .,;:-\u2013\u2014";
    while (!kept.isEmpty() && dangling.contains(kept.back()))
        kept.chop(1);
    return kept.toString() + u'\u2026';
}

ChapterRows storableRows(const ChapterRows &rows, CodePage::Id codePage)
{
    ChapterRows result = rows;
    for (ChapterEntry &row : result) {
        QString title = MakeStorable(codePage, row.title).text;
        if (title.size() > ChapterTitleLength) {
            while (title.endsWith(u' '))
                title.chop(1);
            title = shortenedTitle(title);
        }
        row.title = title;
    }
    return result;
}

ChapterEntry foundChapterRow(QStringView title, qsizetype offset)
{
    return {title.left(ChapterTitleLength).toString(), QString::number(offset)};
}

qint32 chapterOffset(const ChapterEntry &row)
{
    return offsetTextToNumber(row.offset);
}

int moveChapterUp(ChapterRows &rows, int selected)
{
    if (selected <= 0 || selected >= rows.size())
        return -1;
    rows.swapItemsAt(selected - 1, selected);
    return selected - 1;
}

int moveChapterDown(ChapterRows &rows, int selected)
{
    if (selected < 0 || selected >= rows.size() - 1)
        return -1;
    rows.swapItemsAt(selected, selected + 1);
    return selected + 1;
}

void SortChapters(ChapterRows &rows)
{
    // A row as the exchange sees it: its value, which original row it came from, and whether
    // its offset text was rewritten by passing through the place of row i.
    struct Slot
    {
        qint32 value;
        qint32 origin;
        bool rewritten;
    };
    const auto n = qsizetype(rows.size());
    std::vector<Slot> places;
    places.reserve(n);
    for (qsizetype i = 0; i < n; ++i)
        places.push_back({chapterOffset(rows[i]), qint32(i), false});

    auto exchange = [&](qsizetype i, qsizetype j) {
        std::swap(places[i], places[j]);
        places[i].rewritten = true; // row i takes row j's offset as a plain number
    };
    // i = 0 compares against every row and leaves the greatest offset in row 0. From then on
    // the rows before i are in order and end with the greatest offset, so the rows from i on
    // are never greater than row i once j has passed it: those comparisons exchange nothing.
    for (qsizetype j = 0; j < n; ++j) {
        if (places[j].value > places[0].value)
            exchange(0, j);
    }
    for (qsizetype i = 1; i < n; ++i) {
        for (qsizetype j = 0; j < i; ++j) {
            if (places[j].value > places[i].value)
                exchange(i, j);
        }
    }

    ChapterRows sorted;
    sorted.reserve(n);
    for (const Slot &slot : places) {
        const ChapterEntry &from = rows[slot.origin];
        sorted.append({from.title, slot.rewritten ? QString::number(slot.value) : from.offset});
    }
    rows = std::move(sorted);
}

qsizetype keepRowsThatFit(ChapterRows &added, qsizetype tableRows)
{
    const qsizetype room = std::max<qsizetype>(0, MaxChapterRows - tableRows);
    const qsizetype dropped = std::max<qsizetype>(0, added.size() - room);
    added.resize(added.size() - dropped);
    return dropped;
}
