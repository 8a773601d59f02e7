#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include "book/book.h"

#include <ostream>

// Small file helpers shared by the tests.
QByteArray readBytes(const QString &path);
void writeBytes(const QString &path, QByteArrayView bytes);

// The real books of the corpus folder, or an empty list when the folder is absent.
QStringList corpusBooks();
QString corpusDir();

// A book file's pieces written out from its layout, for expected bytes: little-endian integers,
// a character field (the bytes, then spaces up to its length, or cut at it), the 2323-byte
// header and a 44-byte chapter record.
QByteArray le32(qint32 value);
QByteArray field(QByteArray bytes, qsizetype length);
QByteArray header(qint32 chapterCount, const QByteArray &title, const QByteArray &author,
                  const QByteArray &synopsis);
QByteArray record(qint32 offset, const QByteArray &title);

// Chapter rows written "title@offset|title@offset", for short tables; titles filled with spaces
// to titleWidth, as a book file gives them.
QList<ChapterEntry> rows(const QString &written, qsizetype titleWidth = 0);

// Readable failure messages.
void PrintTo(const QString &text, std::ostream *out);
void PrintTo(const ChapterEntry &row, std::ostream *out);
void PrintTo(const Book &book, std::ostream *out);

// Writes into folder the files no book can be read from: one shorter than a header, an empty
// one, one with a negative chapter count, one with more than 32767, one cut short inside its
// records. Returns their names, and "missing.vlm", which it does not write.
QStringList writeMalformedBooks(const QString &folder);
