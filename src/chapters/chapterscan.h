#pragma once

#include "numbertables.h"

#include "book/book.h"

#include <QList>
#include <QString>

#include <functional>

// The automatic chapter scan: it looks through the book text for front-matter headings
// ("Contents", "Preface", "Introduction", "Prologue"), for numbered headings 1 to 128 after each
// section word ("Volume", "Book", "Part", "Section", "Letter", "Day", "Chapter") in the chosen
// style, and for back-matter headings ("Epilogue", "Index"), ignoring letter case.
//
// Users know its result as that of 902 searches made one after the other, each taking the first
// occurrence in the whole text: the first hit may lie in a table of contents or inside a longer
// word, and entries come in the order of the searches, not of the text. The scan gives exactly
// that result, found in one pass over the text.

// The heading styles, in the order the Chapters window offers them.
enum class HeadingStyle {
    Digits,          // "Chapter 7"
    TwoDigits,       // "Chapter 07", "Chapter 12"
    RomanNumerals,   // "Chapter VII"
    Words,           // "Chapter Twenty one"
    HyphenatedWords, // "Chapter Twenty-one"
    LineDigits,      // a line that begins with "7"
    LineRoman,       // a line that begins with "VII"
};
constexpr int HeadingStyleCount = 7;

struct ScanOptions
{
    HeadingStyle style = HeadingStyle::Digits;
    bool grabWholeLine = false; // the title is the rest of the heading's line
};

// 4 front-matter steps, 128 number steps and 2 back-matter steps.
constexpr int ScanSteps = 134;

// Called as the scan goes: the steps done so far (0 to ScanSteps) and the status line,
// "Searching for " and the pattern and "...".
using ScanProgress = std::function<void(int steps, const QString &status)>;

// The entries to append to the chapter table, in the order the searches find them. Titles are
// cut from text as it is written; offsets are decimal without a blank.
QList<ChapterEntry> ScanChapters(const QString &text, const ScanOptions &options,
                                 const NumberTables &tables, const ScanProgress &progress = {});
