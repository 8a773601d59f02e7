#pragma once

#include "rowsontext.h"

#include "book/book.h"
#include "cleaner/textcleaner.h"
#include "search/textreplace.h"

// Clean and Replace on a whole book, as the window's buttons and make run them: the text
// changes, the chapter rows follow it, and Book Info takes what the boxes give it.

struct CleanedBook
{
    Book book;
    CleanOutcome outcome; // what the boxes did, for the user to be told
    MovedRows moved;
};

// Box 6 fills an empty title or author from the Gutenberg header; box 7 gives Book Info and the
// chapter titles storable forms as well as the text.
CleanedBook CleanBook(const Book &book, const CleanerBoxes &boxes);

struct ReplacedBook
{
    Book book;
    qsizetype count = 0; // occurrences replaced
    OffsetMap moves;     // where the text's offsets went
    MovedRows moved;
};

// Every occurrence of what replaced, ignoring case, as ReplaceInBook does.
ReplacedBook ReplaceInWholeBook(const Book &book, const QString &what, const QString &replacement);

struct RecodedBook
{
    Book book;
    OffsetMap moves; // where the text's offsets went
    MovedRows moved;
};

// The book to be saved in codePage: every letter the code page holds only decomposed (Vietnamese
// tones in Windows-1258) written so, in the text, Book Info and the chapter titles, the rows
// following the text. What the code page cannot hold at all stays for box 7.
RecodedBook BookInCodePage(const Book &book, CodePage::Id codePage);
