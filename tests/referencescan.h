#pragma once

#include "chapters/chapterscan.h"

#include <QList>
#include <QString>

// The chapter scan written the plain way, as users have always known it: 902 searches one after
// the other, each for the first occurrence in the whole upper-cased text. The tests and the
// benchmark hold the program's one-pass scan against it.

QList<ChapterEntry> referenceScan(const QString &text, const ScanOptions &options);

// The Roman numerals and number words, filled.
NumberTables numberTables();
