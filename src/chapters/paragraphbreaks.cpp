// Where a text has next to no blank lines, decides where its paragraphs break, so that a heading
// stands apart from the prose around it as it does in the text as written.

#include "detectorpage.h"

#include <algorithm>

namespace HeadingDetection {

namespace {

// Where a text has next to no blank lines (the Text Cleaner's "Clean double carraige returns"
// takes them all), the paragraph breaks they marked are read from the lines themselves and
// stand in as empty lines, so that a heading stands apart as it does in the text as written.
//  - Unwrapped text holds a paragraph on each line: every break ends one.
//  - In wrapped text a line well short of the usual width ends its paragraph; so does a line
//    ending a sentence before a short line or before a line that reads as a heading, a title in
//    capitals before a numbered heading, and a heading line before prose. A short line after a
//    line that runs on ("so did / I.") ends the paragraph it belongs to.
//  - In either, a line without a sentence's end runs on into one that starts in lower case (a
//    letter or verse kept in short lines), and entries of a list one under another stay so.
constexpr qsizetype FewestLinesPerBlank = 25;
constexpr qsizetype LongestWrappedLine = 100;

qsizetype visibleLength(QStringView line)
{
    qsizetype length = line.size();
    while (length > 0 && line[length - 1].isSpace())
        --length;
    return length;
}

// A line without a lower-case letter: a title, not a line of prose that runs on.
bool inCapitals(QStringView line)
{
    return std::none_of(line.begin(), line.end(), [](QChar c) { return c.isLower(); });
}

} // namespace

bool endsSentence(QStringView line)
{
    static const QStringView closers = u".!?:;\"'_)]\u201D\u2019";
    const qsizetype length = visibleLength(line);
    return length > 0 && closers.contains(line[length - 1]);
}

std::vector<Line> withParagraphBreaks(const QString &text, std::vector<Line> lines,
                                      std::vector<HeadingLine> &reads)
{
    auto lineText = [&](const Line &l) {
        return QStringView(text).sliced(l.start, l.end - l.start);
    };
    // Blank lines between lines of text; those before the first and after the last say
    // nothing of paragraphs.
    qsizetype blanks = 0;
    qsizetype pending = 0;
    qsizetype filled = 0;
    qsizetype longLines = 0;
    // How many lines have each visible length, the longest counted together.
    std::vector<qsizetype> lengths(LongestWrappedLine + 1, 0);
    for (const Line &l : lines) {
        const qsizetype length = visibleLength(lineText(l));
        if (length == 0) {
            pending += filled > 0;
            continue;
        }
        blanks += pending;
        pending = 0;
        ++filled;
        longLines += length > LongestWrappedLine;
        ++lengths[std::min(length, LongestWrappedLine)];
    }
    if (filled == 0 || blanks * FewestLinesPerBlank >= filled)
        return lines;
    // A fifth of the lines longer than any wrapped line: each line is a paragraph.
    const bool unwrapped = longLines * 5 > filled;
    // The usual width of a wrapped line: nine lines in ten are no longer.
    qsizetype width = 0;
    for (qsizetype seen = 0; width < LongestWrappedLine && seen * 10 < filled * 9; ++width)
        seen += lengths[width];
    const qsizetype shortLine = width * 3 / 4;
    std::vector<Line> result;
    result.reserve(unwrapped ? 2 * lines.size() : lines.size() + lines.size() / 4);
    // What the line above says as a heading, where it was read, and whether it starts a
    // paragraph as a heading.
    HeadingLine aboveRead;
    bool aboveHeading = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const QStringView below = lineText(lines[i]);
        const qsizetype belowLength = visibleLength(below);
        const QStringView above = i > 0 ? lineText(lines[i - 1]) : QStringView();
        const qsizetype aboveLength = visibleLength(above);
        const bool afterEnd = aboveLength == 0 || aboveLength < shortLine || endsSentence(above);
        HeadingLine read;
        const bool capitals = inCapitals(above) || inCapitals(below);
        if (belowLength > 0 && (unwrapped || afterEnd || capitals)) {
            read = readHeadingLine(below);
            lines[i].read = qsizetype(reads.size());
            reads.push_back(read);
        }
        // Where the line above may run on, only a numbered heading with capitals on one side
        // starts a paragraph: a caption in capitals runs on into a line that starts with a
        // matter word, prose into a line that starts "Chapter II. The".
        const bool heading = !unwrapped && read.isHeading()
                             && (afterEnd || (read.form == Form::Numbered && capitals));
        if (aboveLength > 0 && belowLength > 0) {
            const bool runsOn = !endsSentence(above) && below.trimmed().front().isLower();
            // Entries of a list one under another, numbered in sequence, stay so, as a list
            // written with blank lines between its entries would not.
            const bool listed =
                read.form != Form::None && aboveRead.form != Form::None
                && read.word == aboveRead.word
                && (read.form == Form::ListEntry || read.number == aboveRead.number + 1);
            bool ends = false;
            if (runsOn || listed)
                ends = false;
            else if (unwrapped || aboveLength < shortLine)
                ends = true;
            else if (aboveHeading && belowLength >= shortLine)
                ends = true; // a heading over prose; the short rest of its title stays with it
            else
                ends = (endsSentence(above) && belowLength < shortLine) || heading;
            if (ends)
                result.push_back({lines[i].start, lines[i].start});
        }
        result.push_back(lines[i]);
        aboveRead = read;
        aboveHeading = heading;
    }
    return result;
}

} // namespace HeadingDetection
