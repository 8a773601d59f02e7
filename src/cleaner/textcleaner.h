#pragma once

#include <QString>

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

constexpr int CleanerBoxCount = 6;
using CleanerBoxes = std::array<bool, CleanerBoxCount>;

// One scan over a text that replaces every non-overlapping match from the left; nothing when
// there is no match.
using CleanPass = std::function<std::optional<QString>(const QString &)>;

// Runs the passes once over the text, each on the result of the one before.
QString ReplaceOnce(const QString &text, std::span<const CleanPass> passes);

// Runs the passes again and again, each round over the result of the last, until a round
// leaves the text as it was.
QString ReplaceUntilStable(const QString &text, std::span<const CleanPass> passes);

// The text with the ticked boxes run over it in box order.
QString CleanText(const QString &text, const CleanerBoxes &boxes);
