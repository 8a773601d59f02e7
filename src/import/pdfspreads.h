#pragma once

// PDFs made for printing and folding by hand hold two book pages side by side on each sheet,
// often not in reading order: such sheets are cut into their book pages, which are then put in
// the order of their page numbers.

#include "pdflines.h"

#include <QList>
#include <QSizeF>

// The book pages a sheet holds: two, left then right, when the sheet lies on its side and no
// word crosses its middle; else the sheet itself.
QList<PdfPage> bookPagesOf(const PdfPage &sheet);

// The order in which pages whose furniture lines (running heads and page numbers, marked in
// isFurniture) carry page numbers are read: pages numbered in Roman numerals by their numbers,
// then those in Arabic ones, pages with no number first in the order they had. Nothing when too
// few pages carry a number, or two carry the same one.
QList<int> orderByPageNumbers(const QList<QList<PdfLine>> &pages,
                              const QList<QList<bool>> &isFurniture);
