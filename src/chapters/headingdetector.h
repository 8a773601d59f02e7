#pragma once

#include <QList>
#include <QString>

#include <optional>

// The heading detector reads a book as a person does: only the body between the Gutenberg
// header and licence counts, contents lists and lists of illustrations give no headings, and a
// heading is a short line standing on its own whose numbers run in sequence with its
// neighbours'. The automatic scan stays as it always was; this finds what it misses.

enum class HeadingLevel { Part, Chapter, FrontMatter, BackMatter };

struct FoundHeading
{
    qsizetype offset = 0; // start of the heading's first line in the text
                          // (UTF-16 units, line breaks CR LF counted as two)
    HeadingLevel level = HeadingLevel::Chapter;
    std::optional<int> number; // the number it carries, if any
    QString title;             // for the chapter table: at most ChapterTitleLength (40)
                               // characters, cut as every title is cut
    QString line;              // the heading line as it stands (for the review list)

    friend bool operator==(const FoundHeading &, const FoundHeading &) = default;
};

// The headings of a book's text (line breaks CR LF, as the editor gives it), in text order.
// A lone LF or CR also ends a line.
QList<FoundHeading> FindHeadings(const QString &text);

// Short names for the levels: "part", "chapter", "front", "back" (batch tool and list).
QString levelName(HeadingLevel level);
