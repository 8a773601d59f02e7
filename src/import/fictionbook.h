#pragma once

#include "epubimport.h"

// A FictionBook (.fb2), the e-book format of phone readers in Eastern Europe, read with libxml2:
// the bodies' sections in order as text (titles, paragraphs, poems by stanza, epigraphs,
// citations; the notes after the story), its title-info as Book Info (the book's title, its
// authors joined with " & ", the annotation as the synopsis) and a chapter per section title,
// nested sections one after another, a title that is a number alone read with its parent's.
Result<ImportedBook> readFictionBook(QByteArrayView bytes, const QString &path);

// The same, packed in a ZIP archive (.fb2.zip, .fbz): its first .fb2 file.
Result<ImportedBook> readFictionBookZip(QByteArrayView bytes, const QString &path);
