#pragma once

#include "book/book.h"
#include "chapters/chaptertable.h"

#include <QString>

// The parts of the book that a step of its history changes besides the text: Book Info and the
// chapter table.
struct BookFields
{
    QString title;
    QString author;
    ChapterRows rows;
    QString synopsis;

    friend bool operator==(const BookFields &, const BookFields &) = default;
};

// The fields as the windows hold them now, and the windows made to hold others.
BookFields currentFields();
// The book the windows hold now, text and all, and a book's fields.
Book currentBook();
BookFields fieldsOf(const Book &book);
void showFields(const BookFields &fields);

// Makes a change of the whole book one step that Undo takes back and Redo makes again: the new
// text (none when the text stays), then the fields. The caret goes to the given offset. Typing
// before and after stays undoable as ever. A change that changes nothing makes no step.
void commitBookStep(const QString *newText, const BookFields &after, qsizetype caret);

// After Undo or Redo of such a step: the caret where its change of the text began, not at the
// end of what came back. Runs by itself once the program is idle again; Undo and Redo call it
// at once.
void placeCaretAfterStep();
