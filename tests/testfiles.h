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

// Little-endian integers as a book file holds them.
QByteArray le16(qint16 value);
QByteArray le32(qint32 value);

// Readable failure messages.
void PrintTo(const QString &text, std::ostream *out);
void PrintTo(const ChapterEntry &row, std::ostream *out);
