#pragma once

// What a book's pages carry besides its text: running heads and page numbers, which a reader
// passes over, and footnotes, which belong after the paragraph that calls them.

#include "pdflines.h"

#include <QHash>
#include <QList>

// The book's body type and the distance from one of its lines to the next.
struct PdfMeasures
{
    double bodySize = 10;
    double leading = 12;
};

PdfMeasures measuresOf(const QList<QList<PdfLine>> &pages);

// The key counted most often (the smallest of those that tie), 0 when none was counted: the
// place most pages' text begins or ends at, in whole points.
double mostFrequent(const QHash<int, int> &counts);

enum class LineRole { Text, Furniture, Note };

// What each line of each page is. A line at the top or foot of its column, in type no larger
// than the body's and set apart from the text, is a running head when it recurs on other pages
// (numbers aside) and a page number when it is a number alone. Below the text, lines in smaller
// type the first of which starts with a note's mark are footnotes.
QList<QList<LineRole>> rolesOfLines(const QList<QList<PdfLine>> &pages,
                                    const PdfMeasures &measures);

// A page number as a running head or foot sets it: "12", "xiv", "- 12 -", "Page 12", "12 of 300".
bool isPageNumber(const QString &text);

// The mark a footnote starts with ("1", "[1]", "1.", "*"), or nothing.
QString noteMark(const PdfLine &line);
