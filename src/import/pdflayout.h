#pragma once

// A PDF's lines read as a book: paragraphs, headings, footnotes after the paragraph that calls
// them, words broken at a line's end joined again, and where its chapters begin.

#include "pagebook.h"
#include "pdflines.h"

#include <QList>
#include <QString>

// An entry of the document's outline (its bookmarks), in the outline's order.
struct PdfOutlineEntry
{
    QString label;
    int page = -1;   // the page it leads to; -1 when it leads outside the document
    double top = -1; // its place on that page, in points from the top; -1 for the page's top
};

// The book the pages' lines make, as one HTML page: paragraphs joined from their lines without
// running heads and page numbers, footnotes gathered after their paragraphs, and a chapter entry
// per outline entry at its heading's line; with no outline, an entry per heading set in larger
// type. Title and author as the title page gives them, when it does. Pages that may be out of
// order (cut from sheets that held two) are read in the order of their page numbers.
PageBook bookOfPdfLines(QList<QList<PdfLine>> pages, QList<PdfOutlineEntry> outline,
                        bool outOfOrder = false);
