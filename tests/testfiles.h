#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Small file helpers shared by the tests.

QByteArray readBytes(const QString &path);
void writeBytes(const QString &path, QByteArrayView bytes);

// The real books of the corpus folder, or an empty list when the folder is absent.
QStringList corpusBooks();
QString corpusDir();

// Little-endian integers as a book file holds them.
QByteArray le16(qint16 value);
QByteArray le32(qint32 value);
