#pragma once

#include "epubimport.h"

#include <QString>
#include <QStringList>

// What File > Import and "make --import" read, chosen by the file's extension (in any case):
// .epub an EPUB book, .html, .htm and .xhtml a web page, anything else a text file read as it
// always was (the text alone, no information, no chapters).
// recognised, when given, is what otherFormatOf found the file to be, which then decides.
Result<ImportedBook> importBook(const QString &path, const QString &recognised = {});

// The extensions (lower case, without the dot) of the files a folder is searched for when books
// are converted many at once: each format Import reads by its name, and text files.
const QStringList &importedExtensions();

// Sets the readers up; called once before books are imported on several threads at a time.
void prepareImport();
