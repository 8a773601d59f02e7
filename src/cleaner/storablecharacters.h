#pragma once

#include "book/codepage.h"
#include "book/offsetmap.h"

#include <QString>

// A book file holds one byte per character in its code page, so a Polish name in a Western book,
// a Greek quotation or a whole Cyrillic book in the wrong code page would reach the phone as rows
// of "?". Each character the code page cannot hold is replaced by its nearest storable form
// instead, in this order: its compatibility form
// ("ﬁ" to "fi", full-width letters to ASCII), a transliteration to Latin ("Толстой" to
// "Tolstoj"), Latin to ASCII for what is still not storable ("ł" to "l"), then, for the signs
// ICU leaves as they are, their plain form (plainforms.h): "≤" as "<=", "→" as "->", "【" as "[",
// a box's corner as "+". Invisible format characters go, and an accent ICU left on a letter goes
// with it. Only what has no plain form in any script the code page holds becomes "?", one per
// character: an emoji, a private-use character, a letter ICU cannot write in Latin. Characters
// the code page holds never change, and a letter it holds only decomposed (Vietnamese tones in
// Windows-1258) is written decomposed.
struct StorableText
{
    QString text;
    qsizetype replaced = 0; // characters the code page could not hold, a surrogate pair as one
    qsizetype lost = 0;     // of those, the ones that became "?"
};

// Where a replacement is longer or shorter than what it replaced, moves records it.
StorableText MakeStorable(CodePage::Id codePage, const QString &text, OffsetMap *moves = nullptr);
