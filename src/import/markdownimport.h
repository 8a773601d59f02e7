#pragma once

#include "epubimport.h"

// A Markdown book, rendered by md4c as a reader sees it: "#" to "###" headings as chapters, and a
// leading YAML block's title and author as Book Info. The bytes are text in any encoding.
Result<ImportedBook> readMarkdownBook(QByteArrayView bytes, const QString &path);
