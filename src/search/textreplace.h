#pragma once

#include "book/offsetmap.h"

#include <QString>
#include <QStringView>

#include <optional>

// Every occurrence of find in text replaced by replacement, exactly as written (case counts),
// scanning from the first character: matches do not overlap and text put in is not searched
// again. Nothing when find does not occur (or is empty), so a caller knows nothing changed
// without comparing texts.
// Where moves is given, it records each replaced stretch.
std::optional<QString> replaceEvery(const QString &text, QStringView find, QStringView replacement,
                                    OffsetMap *moves = nullptr);

// Case is ignored by comparing copies upper-cased unit by unit, whose positions are those of the
// text itself.

// Where the first occurrence of what begins in text, ignoring case, or -1. An empty what occurs
// at 0 in any text but an empty one; nothing occurs in an empty text.
qsizetype findFirst(const QString &text, const QString &what);

// Where the next occurrence of what begins at or after from, ignoring case; where none is left,
// the first from the start of the text, and wrapped says so. -1 when there is none at all.
struct NextFound
{
    qsizetype at = -1;
    bool wrapped = false;
};
NextFound findNext(const QString &text, const QString &what, qsizetype from);

// Every occurrence of what, ignoring case, replaced by replacement as written. Matches are taken
// from the left, do not overlap, and text put in is not searched again. An empty what leaves the
// text as it is.
QString replaceAllIgnoringCase(const QString &text, const QString &what,
                               const QString &replacement);

// What the Replace button does to the book's text: every occurrence replaced as above, and the
// line breaks a replacement may have cut or put in made CR LF, as the editor reads them.
struct Replacement
{
    QString text;
    qsizetype count = 0; // occurrences replaced
    OffsetMap moves;
};
Replacement ReplaceInBook(const QString &text, const QString &what, const QString &replacement);

// How many occurrences Replace replaced, for the user: "1,981 replaced".
QString describeReplaced(qsizetype count);
