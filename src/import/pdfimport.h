#pragma once

#include "epubimport.h"

// A PDF book, read with poppler: its text as the book reads (see pdflayout.h), a chapter row per
// outline entry (or per heading set in larger type), its title and author from its metadata or
// its title page. A PDF without text (scanned pages), one that needs a password to open, a
// damaged one and one that would take more than a book's time or memory to read are refused;
// one whose text does not map to real characters is read with a warning saying so.
Result<ImportedBook> readPdfBook(QByteArrayView bytes, const QString &path);
