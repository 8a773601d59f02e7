#pragma once

#include "book/book.h"

#include <QHash>
#include <QList>
#include <QStringList>

// Chapter numbers missing or repeated in a chapter table, read from the titles as a reader of
// the table sees them ("Chapter 7", "CHAPTER VII", "Book II, Chapter 3", "2.1 Scope"), by row
// (counted from 0). Numbers are counted within what they restart under: the parts, books and
// volumes above them, the chapter a dotted section number ("2.1") or a nested one ("Chapter 2
// 3") names, a titled heading without a number. Numbering may run on from one part into the
// next, as it may start afresh in each.
QHash<int, QStringList> numberingGaps(const QList<ChapterEntry> &chapters);
