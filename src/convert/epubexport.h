#pragma once

// A book written out as an EPUB 3 book, so that a library of book files can be read on any
// other reader: one XHTML document per chapter (the text before the first chapter in one of its
// own), a paragraph per block of lines between blank lines, a navigation document and an NCX
// from the chapter table, the title, author and synopsis as metadata. Importing it gives back
// the text (where each chapter starts after a blank line, and lines hold no runs of spaces), the
// information and the chapter table.

#include "book/book.h"
#include "book/result.h"

#include <QByteArray>

#include <optional>

// The EPUB book's bytes; nothing when the archive could not be made.
std::optional<QByteArray> epubOf(const Book &book);

// Writes the EPUB book to path whole, or leaves whatever stood there untouched.
std::optional<FileError> ExportEpub(const Book &book, const QString &path);
