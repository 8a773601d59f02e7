#pragma once

#include "codepage.h"

#include <QList>
#include <QString>
#include <QStringView>

// One row of the chapter table: the title and the offset exactly as the chapter lists hold
// them. The offset stays text (" 1234", "1234", or anything a user left there) and is read as a
// number only where one is needed.
struct ChapterEntry
{
    QString title;
    QString offset;

    friend bool operator==(const ChapterEntry &, const ChapterEntry &) = default;
};

// The whole document as one value: what a book file holds and what the windows show.
struct Book
{
    QString title;
    QString author;
    QString synopsis;
    QList<ChapterEntry> chapters;
    QString text; // line breaks as CR LF; offsets count them as two characters
    // What the file holds its characters in; the file does not record it.
    CodePage::Id codePage = CodePage::Western;

    friend bool operator==(const Book &, const Book &) = default;
};

// A title that is empty or only spaces counts as missing; a tab or a line break is text.
bool isMissingTitle(QStringView title);

// A stored field as a person edits it: without the spaces a book file fills it with. Saving pads
// it again, so the file's bytes stay the same.
QString withoutFill(QStringView field);
