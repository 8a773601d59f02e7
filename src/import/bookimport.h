#pragma once

#include "epubimport.h"

#include <QString>

// What File > Import and "make --import" read, chosen by the file's extension (in any case):
// .epub an EPUB book, .html, .htm and .xhtml a web page, anything else a text file read as it
// always was (the text alone, no information, no chapters).
// recognised, when given, is what otherFormatOf found the file to be, which then decides.
Result<ImportedBook> importBook(const QString &path, const QString &recognised = {});
