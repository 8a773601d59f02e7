#include "epubfiles.h"

#include <QBuffer>
#include <QRandomGenerator>

#include <algorithm>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <zlib.h>

QByteArray zipArchive(const QList<ZipEntry> &entries)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QuaZip zip(&buffer);
    zip.open(QuaZip::mdCreate);
    for (const ZipEntry &entry : entries) {
        QuaZipFile file(&zip);
        QuaZipNewInfo info(entry.name);
        const bool raw = entry.declaredSize >= 0;
        info.uncompressedSize = ulong(std::max<qint64>(entry.declaredSize, 0));
        const auto *crcOf = reinterpret_cast<const Bytef *>(entry.crcOf.constData());
        const quint32 crc = raw ? quint32(crc32(0, crcOf, uInt(entry.crcOf.size()))) : 0;
        file.open(QIODevice::WriteOnly, info, nullptr, crc, Z_DEFLATED, Z_DEFAULT_COMPRESSION, raw);
        file.write(entry.bytes);
        file.close();
    }
    zip.close();
    return bytes;
}

QByteArray rawDeflate(const QByteArray &bytes)
{
    const QByteArray zlib = qCompress(bytes, 9); // 4 bytes of size, 2 of header, 4 of checksum
    return zlib.mid(6, zlib.size() - 10);
}

QList<ZipEntry> epubEntries(const QList<QByteArray> &bodies, const QByteArray &navList,
                            const QByteArray &metadata)
{
    QByteArray manifest = "<item id='ncx' href='toc.ncx' media-type='application/x-dtbncx+xml'/>";
    if (!navList.isEmpty()) {
        manifest += "<item id='nav' href='nav.xhtml' media-type='application/xhtml+xml' "
                    "properties='nav'/>";
    }
    QByteArray spine;
    QList<ZipEntry> entries = {
        {QStringLiteral("mimetype"), "application/epub+zip"},
        {QStringLiteral("META-INF/container.xml"),
         "<?xml version='1.0'?><container version='1.0' "
         "xmlns='urn:oasis:names:tc:opendocument:xmlns:container'><rootfiles><rootfile "
         "full-path='OEBPS/content.opf' media-type='application/oebps-package+xml'/>"
         "</rootfiles></container>"},
        {QStringLiteral("OEBPS/nav.xhtml"),
         "<html xmlns:epub='http://www.idpf.org/2007/ops'><body><nav epub:type='toc'><ol>" + navList
             + "</ol></nav></body></html>"},
    };
    for (qsizetype i = 0; i < bodies.size(); ++i) {
        const QByteArray id = "c" + QByteArray::number(i + 1);
        manifest +=
            "<item id='" + id + "' href='" + id + ".xhtml' media-type='application/xhtml+xml'/>";
        spine += "<itemref idref='" + id + "'/>";
        entries.append({QStringLiteral("OEBPS/%1.xhtml").arg(QString::fromLatin1(id)),
                        "<?xml version='1.0' encoding='utf-8'?><html><head><title>x</title>"
                        "</head><body>"
                            + bodies[i] + "</body></html>"});
    }
    entries.append({QStringLiteral("OEBPS/content.opf"),
                    "<?xml version='1.0'?><package xmlns='http://www.idpf.org/2007/opf' "
                    "version='3.0'><metadata xmlns:dc='http://purl.org/dc/elements/1.1/'>"
                        + metadata + "</metadata><manifest>" + manifest
                        + "</manifest><spine toc='ncx'>" + spine + "</spine></package>"});
    return entries;
}

QByteArray noiseComment(qsizetype size)
{
    QByteArray letters(size, 'x');
    static QRandomGenerator random(11);
    for (char &c : letters)
        c = char('a' + random.bounded(26));
    return "<!--" + letters + "-->";
}

QByteArray entityBomb(const QByteArray &root)
{
    return "<?xml version='1.0'?><!DOCTYPE " + root + " [<!ENTITY a '" + QByteArray(4000, 'x')
           + "'>]><" + root + ">" + QByteArray("&a;").repeated(1000) + noiseComment(4000) + "</"
           + root + ">";
}
