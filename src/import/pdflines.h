#pragma once

// The lines of a PDF page as a reader reads them: words gathered into lines by where they stand,
// a drop capital joined to its word, raised note numbers marked, and a page set in two columns
// (or holding two book pages side by side) read one column after the other.

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

// A word as the page shows it, turned upright: its box in points from the page's top left.
struct PdfWord
{
    QString text;
    QRectF box;
};

struct PdfPage
{
    QSizeF size; // upright
    QList<PdfWord> words;
};

enum class PdfColumn { Whole, Left, Right };

struct PdfLine
{
    QString text;
    QRectF box;
    // The type size, for which the height of the line's ordinary words stands in: a PDF's text
    // carries no font size a reader can trust, but every word has its box.
    double size = 0;
    int page = 0;
    PdfColumn column = PdfColumn::Whole;
};

// The lines of one page in reading order; page is the page's index, kept in each line.
QList<PdfLine> linesOfPage(const PdfPage &page, int index);
