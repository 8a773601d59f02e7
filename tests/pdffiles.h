#pragma once

#include "hostilefiles.h"

#include <QByteArray>
#include <QList>

// PDFs written byte by byte for the tests: pages of text in PDF's standard fonts at chosen
// places and sizes, an outline, Info metadata; and crafted PDFs that try to starve a reader.

// One piece of text: its left edge and baseline in points from the page's top left. Font F1 is
// Helvetica (bytes 0x80 and 0x81 are the fi and fl ligatures, 0x82 a soft hyphen), F2 Courier,
// F3 ZapfDingbats.
struct PdfRun
{
    double x = 0, y = 0, size = 10;
    QByteArray text;
    QByteArray font = "F1";
};

struct PdfOutlineItem
{
    QByteArray title;
    int page = 0;   // from 0
    double top = 0; // points from the page's top
    QList<PdfOutlineItem> children;
};

struct PdfBook
{
    QList<QList<PdfRun>> pages;
    double width = 396, height = 612;
    QList<PdfOutlineItem> outline;
    QByteArray title, author; // the Info dictionary's, when given
    QByteArray xmpTitle;      // the XMP metadata's, when given
    bool picture = false;     // each page shows a picture (its only content when it has no text)
};

QByteArray pdfBook(const PdfBook &book);

// A book of these pages, nothing more.
PdfBook pdfPages(const QList<QList<PdfRun>> &pages, double width = 396, double height = 612);

// A PDF of the objects given (numbered from 1, the first the catalog), with a correct cross-
// reference table; trailer adds to the trailer dictionary.
QByteArray pdfFile(const QList<QByteArray> &objects, const QByteArray &trailer = {});

// Body text in Courier 10 on 12, whose every character is equally wide, from baseline top at
// left x: a line starting ">" begins a paragraph (indented two characters), one ending "|" ends
// it; the others are justified to 48 characters.
QList<PdfRun> courierLines(const QList<QByteArray> &lines, double top = 80, double x = 40);

// Crafted PDFs: nesting without end, references in a loop, a stream that inflates to a
// gigabyte, a million pages, a broken cross-reference table, drawings that repeat text without
// end; each refused in one line or read within the limits a user's machine sets.
QList<HostileFile> hostilePdfs();
