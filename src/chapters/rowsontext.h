#pragma once

#include "chaptertable.h"

#include "book/offsetmap.h"

#include <QList>
#include <QString>

// A chapter row points at its heading's line in the book's text; these keep it there when the
// text changes, and tell which lines the table already points at.

struct MovedRows
{
    ChapterRows rows;
    qsizetype moved = 0;   // rows whose offset changed
    qsizetype removed = 0; // rows whose heading went with the text around it
};

// The rows after the text changed as moves says. A row stays on its heading, the first visible
// character at or after its offset: at the start of the heading's line however the text before
// it grew or shrank, or on the heading itself where its line joined the one above. A row whose
// heading line lost all of its visible text is removed. A moved offset keeps its form (a blank
// before a number that is not negative, or a plain number); a row whose offset lies outside the old
// text is left as it is.
MovedRows moveChapterRows(const ChapterRows &rows, const QString &oldText, const QString &newText,
                          const OffsetMap &moves);

// What moving the rows did, for the user: "moved 3 chapter rows with the text; removed 1 whose
// heading was removed"; empty when no row changed.
QString describeMovedRows(const MovedRows &moved);

// The start of the line that holds the offset (offsets outside the text held at its ends).
qsizetype lineStartAt(const QString &text, qsizetype offset);

// For each offset, whether some row of the table points into the same line of text.
QList<bool> linesInTable(const QList<qsizetype> &offsets, const ChapterRows &rows,
                         const QString &text);
