#pragma once

#include "epubimport.h"

// A Kindle book without DRM (.mobi, .azw3, .azw, .prc), read with libmobi: its HTML as a web
// page reads, its table of contents as chapter rows (its h1 to h3 headings when it has none),
// its metadata as Book Info. An encrypted book is refused as DRM-protected.
Result<ImportedBook> readKindleBook(QByteArrayView bytes, const QString &path);
