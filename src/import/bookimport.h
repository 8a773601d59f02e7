#pragma once

#include "epubimport.h"

#include "book/codepage.h"

#include <QString>
#include <QStringList>

#include <optional>

// What File > Import and "make --import" read: the file's content decides where it tells (see
// kindOfBook), its name otherwise; a text file gives the text alone, in whatever encoding it
// was written, every other format its information and chapter table as well. A file that is
// plainly no book (an image, an archive of something else, binary data) is refused.
// The book is to be saved in codePage, or in the code page that holds the most of its letters
// when none is given; a letter that code page holds only decomposed is written so.
Result<ImportedBook> importBook(const QString &path,
                                std::optional<CodePage::Id> codePage = std::nullopt);

// Whether a file's name is that of a book Import reads (a text file, an EPUB book, a web page,
// a FictionBook, a Kindle book, a document, Markdown, a PDF): what a folder is searched for when
// many books are converted at once, and what a drop on the main window imports.
bool isImportedByName(const QString &path);

// Sets the readers up; called once before books are imported on several threads at a time.
void prepareImport();
