#pragma once

#include <QString>
#include <QStringView>

// Project Gutenberg wraps every book it publishes in a frame: a header (a title block ending in a
// "*** START OF THE PROJECT GUTENBERG EBOOK ... ***" line, or in older files the end of "THE
// SMALL PRINT!") and, after the book, a licence of some 350 lines that opens with "*** END OF
// ..." or "End of the Project Gutenberg EBook of ...". Neither belongs in a reader's book.
struct GutenbergFrame
{
    // The body: from the start of its first non-blank line to the end of its last one. A text
    // without any marker is all body.
    qsizetype bodyStart = 0;
    qsizetype bodyEnd = 0;
    bool hasStart = false; // a start marker (or the old small print's end) was found
    bool hasEnd = false;   // an end line was found; everything from it on is licence
    // From the header's "Title:" and "Author:" lines; empty unless the text shows the frame.
    QString title;
    QString author;

    bool found() const { return hasStart || hasEnd; }
};

// Where the body of a Gutenberg book starts and ends.
GutenbergFrame FindGutenbergFrame(QStringView text);

// A Book Info field after the frame was removed: the header's value where the field was empty
// (or only fill spaces), what the user typed otherwise.
QString fieldFromHeader(const QString &field, const QString &headerValue);
