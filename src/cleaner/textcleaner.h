#pragma once

#include "gutenbergframe.h"

#include "book/codepage.h"
#include "book/offsetmap.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <span>

// The six clean-up boxes of the Text Cleaner, for text that came from a plain-text file. Each box
// is a fixed series of replacements over the whole text; they run in box order, each step on the
// result of the one before.
//
//   0 "Clean preformatted text": unwraps hard-wrapped lines. A blank line and a line break before
//     an indented line are marked "<PAR>" (the marker is not escaped: "<PAR>" in the book becomes
//     a paragraph break too), every other line break becomes a space, and every marker a blank
//     line.
//   1 "Clean paragraph indents": a line indented by n spaces comes out preceded by n + 1 line
//     breaks; tabs at the start of a line go.
//   2 "Clean smart quotes": curly double quotes, the grave accent and the apostrophe become the
//     straight double quote; a double quote between any character but LF and a lower-case s
//     becomes an apostrophe again.
//   3 "Clean double carraige returns": every run of line breaks becomes one.
//   4 "Clean Tabs": every tab goes.
//   5 "Clean double spaces": one scan that turns each pair of spaces into one.
//
// Two more boxes serve books as they really come:
//
//   6 "Remove Project Gutenberg header and licence": keeps only the body of a Gutenberg book.
//     It runs first, before unwrapping glues the marker lines into the paragraphs around them.
//   7 "Replace characters a book file cannot hold": gives each such character its nearest
//     storable form. It runs last, on the text as the other boxes leave it.

constexpr int CleanerBoxCount = 8;
constexpr int GutenbergFrameBox = 6;
constexpr int StorableCharactersBox = 7;
using CleanerBoxes = std::array<bool, CleanerBoxCount>;

// The boxes' captions in the Text Cleaner, which messages name them by; the spellings are the
// ones users know them by.
inline constexpr const char16_t *CleanerBoxCaptions[CleanerBoxCount] = {
    u"Clean preformatted text (Recommended but only once)",
    u"Clean paragraph indents",
    u"Clean smart quotes",
    u"Clean double carraige returns",
    u"Clean Tabs",
    u"Clean double spaces",
    u"Remove Project Gutenberg header and licence",
    u"Replace characters a book file cannot hold",
};

// One scan over a text that replaces every non-overlapping match from the left; nothing when
// there is no match.
using CleanPass = std::function<std::optional<QString>(const QString &)>;

// Runs the passes once over the text, each on the result of the one before.
QString ReplaceOnce(const QString &text, std::span<const CleanPass> passes);

// Runs the passes again and again, each round over the result of the last, until a round
// leaves the text as it was.
QString ReplaceUntilStable(const QString &text, std::span<const CleanPass> passes);

// What a clean did besides the text, for the user to be told and for Book Info to take up.
struct CleanOutcome
{
    QString text;
    // Box 6: what it found; the lines it removed before and after the body.
    GutenbergFrame frame;
    qsizetype headerLines = 0;
    qsizetype licenceLines = 0;
    // Box 7: how many characters it gave a storable form, and how many it could only write "?".
    qsizetype replacedCharacters = 0;
    qsizetype lostCharacters = 0;
    CodePage::Id codePage = CodePage::Western; // the one box 7 made the text storable in
    // Where every offset of the text went, across all the boxes.
    OffsetMap moves;
};

// The ticked boxes run over the text: box 6, then 0 to 5, then 7, which keeps what the book's
// code page holds.
CleanOutcome Clean(const QString &text, const CleanerBoxes &boxes,
                   CodePage::Id codePage = CodePage::Western);

QString CleanText(const QString &text, const CleanerBoxes &boxes,
                  CodePage::Id codePage = CodePage::Western);

// What a clean did with the two boxes for real books, one sentence each for the user: "removed
// the Project Gutenberg header (31 lines) and licence (352 lines)" (or that none was found),
// "replaced 12 characters a book file in Windows-1252 cannot hold" (and how many could only be
// written "?").
QStringList describeClean(const CleanOutcome &outcome, const CleanerBoxes &boxes);

// For the warning after a save that stored characters as "?": the box that would have kept them.
QString unstorableAdvice();
