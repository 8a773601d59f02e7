#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// ZIP archives made in memory with QuaZip, for EPUB books the tests and the fuzz inputs need:
// well-formed ones and ones that lie about their sizes.
struct ZipEntry
{
    QString name;
    QByteArray bytes;
    // When set, bytes are already deflated and the archive declares this uncompressed size and
    // the CRC of crcOf.
    qint64 declaredSize = -1;
    QByteArray crcOf = {};
};

QByteArray zipArchive(const QList<ZipEntry> &entries);

// bytes deflated, without zlib's header and trailer, as a ZIP entry stores them.
QByteArray rawDeflate(const QByteArray &bytes);

// A small EPUB book: container, package (the metadata given), the content documents OEBPS/c1.xhtml,
// c2.xhtml, ... in the spine (each body given) and, unless navList is empty, a navigation
// document whose toc nav holds navList (its li elements). The package names OEBPS/toc.ncx as
// the NCX, which a test may add.
QList<ZipEntry> epubEntries(const QList<QByteArray> &bodies, const QByteArray &navList,
                            const QByteArray &metadata = "<dc:title>T</dc:title>"
                                                         "<dc:creator>A</dc:creator>");

// Random letters in an XML comment, which no archive packs smaller: what keeps a crafted part
// clear of the archive's limit on expansion, so that the reader's other limits are what it meets.
QByteArray noiseComment(qsizetype size);

// An XML document whose root holds entities that would expand to megabytes, in a few kilobytes.
QByteArray entityBomb(const QByteArray &root);
