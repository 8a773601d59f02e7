#pragma once

// What "make" does to a book between reading and saving it, as a user would in the windows:
// Book Info typed in, Clean, Replace, Auto Scan, Find Chapters, Sort Chapters. "make" and
// "convert" run the one recipe, so a book converted with a folder is the book made alone.

#include "book/book.h"
#include "book/codepage.h"
#include "book/result.h"
#include "chapters/chapterscan.h"
#include "cleaner/textcleaner.h"
#include "import/epubimport.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

struct BookRecipe
{
    std::optional<QString> title, author, synopsis; // typed over what the source brings
    CleanerBoxes boxes{};
    QList<std::pair<QString, QString>> replacements; // find, replacement; in this order
    std::optional<ScanOptions> scan;
    bool findChapters = false;
    bool sort = false;
    // The code page the book file is read and written in; each book's own guess when none.
    std::optional<CodePage::Id> codePage;
};

// The source of a book: an earlier book file opened, or any other file imported, to be saved in
// codePage, or in the code page its bytes or letters call for when none is given.
Result<ImportedBook> readBookSource(const QString &path, bool open,
                                    std::optional<CodePage::Id> codePage);

struct MadeBook
{
    Book book;
    // What the steps did, each a line as make prints it, naming the book file by out.
    QStringList notes;
    qsizetype foundLeftOut = 0; // chapters found that the table had no room for
};

// What the user is told of how the source was read: the encoding of a text that was neither
// UTF-8 nor Windows-1252, and the code page the book is saved in when it was guessed and is not
// Windows-1252. Each a line naming input; none when there is nothing to tell.
QStringList sourceNotes(const ImportedBook &source, const QString &input, const BookRecipe &recipe);

// The recipe's steps on a book read from its source, in the order a user works in the windows.
MadeBook applyRecipe(Book book, const BookRecipe &recipe, const QString &out);

// What the user is warned of once the book is saved as out: no title, characters stored as
// "?", a table of contents that gave no chapters or did not fit, chapters found that did not
// fit. Each a line without the tool's name.
QStringList savedBookWarnings(const Book &book, const CodePage::Unstorable &unstorable,
                              const ImportedBook &source, qsizetype foundLeftOut,
                              const QString &out);

// A book that reaches the end of the recipe without a title takes name as make --title NAME
// would have given it: box 7 gives the name its storable form.
void giveTitle(Book &book, const QString &name, const CleanerBoxes &boxes);
