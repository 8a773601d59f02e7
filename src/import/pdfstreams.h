#pragma once

// How much a PDF's compressed streams expand to, counted before the PDF reader sees them: a
// small file whose streams inflate to gigabytes would keep a reader busy for minutes.

#include <QByteArrayView>

// The bytes the file's Deflate-compressed streams (its pages' content, fonts, object streams,
// a compressed stream inside another counted too) inflate to, counting no further than limit.
// Pictures are left out: text is read without decoding them.
qint64 inflatedStreamBytes(QByteArrayView file, qint64 limit);

// Whether the file holds pictures (image XObjects, whose dictionaries always stand uncompressed
// in the file, as every stream's does): a PDF without text that holds some is scanned pages.
bool holdsPictures(QByteArrayView file);
