#pragma once

#include "book/book.h"
#include "book/result.h"

#include <QByteArrayView>
#include <QString>

// A book read from another format: what goes into the windows, and how many entries of the
// book's own table of contents the chapter table had no room for.
struct ImportedBook
{
    Book book;
    qsizetype chaptersLeftOut = 0;
    // Why the book's own table of contents gave no chapters, when it is damaged or cannot be
    // read; the text is read all the same.
    QString tableProblem;
    // The encoding a text was read in, when it was neither UTF-8 nor Windows-1252, for the
    // user to be told.
    QString encoding;
};

// An EPUB book (2 or 3) in the bytes of the file at path (which only names it in messages): the
// text of its content documents in reading order, its title, authors and description, and a
// chapter row per entry of its table of contents. A damaged, protected or hostile book is a
// FileError; nothing is written anywhere.
Result<ImportedBook> readEpub(QByteArrayView bytes, const QString &path);

// An HTML page: its text, its title element as the title, its h1 to h3 headings as chapters.
Result<ImportedBook> readHtmlBook(QByteArrayView bytes, const QString &path);
