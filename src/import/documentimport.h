#pragma once

#include "epubimport.h"

// Word (.docx) and OpenDocument (.odt) documents: their paragraphs in order, headings of levels
// 1 to 3 as chapters (the Heading 1 to 3 styles or outline levels; text:h), title and author
// from the document's properties. What a tracked change deleted and comments are no text; a
// footnote reads as its number.
Result<ImportedBook> readWordDocument(QByteArrayView bytes, const QString &path);
Result<ImportedBook> readOpenDocument(QByteArrayView bytes, const QString &path);
