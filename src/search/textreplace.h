#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Every occurrence of find in text replaced by replacement, exactly as written (case counts),
// scanning from the first character: matches do not overlap and text put in is not searched
// again. Nothing when find does not occur (or is empty), so a caller knows nothing changed
// without comparing texts.
std::optional<QString> replaceEvery(const QString &text, QStringView find, QStringView replacement);

// Case is ignored by comparing copies upper-cased unit by unit, whose positions are those of the
// text itself.

// Where the first occurrence of what begins in text, ignoring case, or -1. An empty what occurs
// at 0 in any text but an empty one; nothing occurs in an empty text.
qsizetype findFirst(const QString &text, const QString &what);

// Every occurrence of what, ignoring case, replaced by replacement as written. Matches are taken
// from the left, do not overlap, and text put in is not searched again. An empty what leaves the
// text as it is.
QString replaceAllIgnoringCase(const QString &text, const QString &what,
                               const QString &replacement);
