#pragma once

#include "book/book.h"

#include <QList>
#include <QStringView>

// The chapter table's operations, on its rows in memory; the Chapters window reads its two lists,
// calls these and writes the lists back.

using ChapterRows = QList<ChapterEntry>;

// The lists count their rows in 16 bits, and a book file holds no more.
constexpr qsizetype MaxChapterRows = 32767;

// The longest title a chapter record holds.
constexpr qsizetype ChapterTitleLength = 40;

// The row Add Chapter appends for what the title and offset boxes hold: the title cut to 40
// characters, the offset read as a number and written with one leading blank.
ChapterEntry newChapterRow(QStringView title, QStringView offset);

// A title for the chapter table that reads as shortened, not as cut: one longer than a record
// holds ends at a word boundary in "…", which the code page holds ("CHAPTER 36. The
// Quarter-Deck. (Enter…"); a shorter one stays as it is.
QString shortenedTitle(QStringView title);

// The rows with their titles in forms a book file in the code page holds (the Text Cleaner's box
// 7): a title that grew past a record's 40 characters loses its fill spaces, then ends in "…" if
// it must.
ChapterRows storableRows(const ChapterRows &rows, CodePage::Id codePage);

// The row for a heading a scan or the heading detector found, as scans append them: the title
// cut to 40 characters, the offset a plain number.
ChapterEntry foundChapterRow(QStringView title, qsizetype offset);

// The caret position a chapter row stands for.
qint32 chapterOffset(const ChapterEntry &row);

// Exchanges the selected row with the one above (below) it. Returns the row to select, the
// moved chapter's new place, or -1 when nothing moves: no selection, or already first (last).
int moveChapterUp(ChapterRows &rows, int selected);
int moveChapterDown(ChapterRows &rows, int selected);

// Orders the rows by offset, smallest first, as the table has always been sorted: every pair of
// rows is compared (i over all rows, j over all rows) and rows i and j are exchanged when row j's
// offset is greater. Row j then takes row i's offset text as it was, row i takes row j's
// offset rewritten as a plain number, and equal offsets can change places. Users see which rows
// were rewritten, so the result must be exactly that of the exchange.
void SortChapters(ChapterRows &rows);

// Drops the new rows that a table of tableRows rows has no room for; returns how many.
qsizetype keepRowsThatFit(ChapterRows &added, qsizetype tableRows);
