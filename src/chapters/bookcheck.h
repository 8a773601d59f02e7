#pragma once

#include "book/book.h"

#include <QList>
#include <QString>

// What a reader on the phone would stumble over in a book: the things a book file may hold
// without being damaged, but that make it read badly.
struct BookProblem
{
    enum class Kind {
        OffsetOutsideText, // a chapter starts before the text or at or after its end
        OffsetsOutOfOrder, // a chapter starts before the one above it
        SameOffset,        // two chapters start at the same place
        NotAtLineStart,    // a chapter starts in the middle of a line
        FieldCut,          // a title or information field fills its whole width
        EmptyText,
        NumberingGap, // a chapter number missing or repeated within its part
    };

    Kind kind;
    int chapter; // the chapter's number, counted from 1; 0 when it is about the whole book
    QString message;

    friend bool operator==(const BookProblem &, const BookProblem &) = default;
};

// The key of a kind in the batch tool's JSON: "offset-outside-text", ...
QString kindName(BookProblem::Kind kind);

// Every problem, in this order: the book's fields, the text, then each chapter in turn. The
// text is taken as the file stores it, line breaks of any kind (CR LF, LF, CR) included. Gaps
// in the numbering are read from the titles as the table nests them (numberinggaps.h) and
// reported at the chapter where they show.
QList<BookProblem> checkBook(const Book &book);
