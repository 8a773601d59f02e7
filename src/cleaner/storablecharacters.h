#pragma once

#include "book/codepage.h"
#include "book/offsetmap.h"

#include <QString>

// A book file holds one byte per character in its code page, so a Polish name in a Western book,
// a Greek quotation or a whole Cyrillic book in the wrong code page would reach the phone as rows
// of "?". Each character the code page cannot hold is replaced by its nearest storable form
// instead, in this order: its compatibility form
// ("ﬁ" to "fi", full-width letters to ASCII), a transliteration to Latin ("Толстой" to
// "Tolstoj"), then Latin to ASCII for what is still not storable ("ł" to "l"); only what none of
// these reaches becomes "?", one per character. Characters the code page holds never change, and
// a letter it holds only decomposed (Vietnamese tones in Windows-1258) is written decomposed.
//
// Symbols ICU has no Latin for get a plain form from a table of our own: mathematical signs and
// arrows ("≤" to "<=", "→" to "->"), Japanese and Arabic punctuation, the long dashes.
struct StorableText
{
    QString text;
    qsizetype replaced = 0; // characters the code page could not hold, a surrogate pair as one
    qsizetype lost = 0;     // of those, the ones that became "?"
};

// Where a replacement is longer or shorter than what it replaced, moves records it.
StorableText MakeStorable(CodePage::Id codePage, const QString &text, OffsetMap *moves = nullptr);
