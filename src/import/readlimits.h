#pragma once

#include <QString>
#include <QtGlobal>

// What reading one book may cost. A book's markup (a web page, a FictionBook, the documents of
// an archive, the HTML of a Kindle book) is held several times over while it is read: as bytes,
// as a parsed tree and as the text taken from it, so its size, not the file's, decides the
// memory an import takes. The longest real books hold a tenth of these bounds.
namespace ReadLimits {

// The most a file read whole may hold: a plain text of the longest books, with room to spare.
inline constexpr qint64 MaxFileBytes = 256 * 1024 * 1024;

// The most the markup of one book may hold, inflated from an archive or read from a file.
inline constexpr qint64 MaxMarkupBytes = 64 * 1024 * 1024;

inline QString tooMuchMarkup()
{
    return QStringLiteral("holds more than %1 MB of text and markup, more than any book; it was "
                          "not read")
        .arg(MaxMarkupBytes / (1024 * 1024));
}

} // namespace ReadLimits
