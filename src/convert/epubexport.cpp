#include "epubexport.h"

#include "book/fileio.h"
#include "book/offsettext.h"
#include "chapters/chaptertable.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QStringList>
#include <QUuid>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <zlib.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QByteArray escaped(QStringView text)
{
    return text.toString().toHtmlEscaped().toUtf8();
}

// One stretch of the text between two chapter starts, with the rows that start there.
struct Piece
{
    qsizetype from, to;
    QString file;
};

// The text of a piece as XHTML: a paragraph per block of lines between blank lines. Each keeps
// its lines, indents and spaces as the book file has them (the style sheet wraps them as
// paragraphs), so that the text read back is the text written: the blank lines of a longer run
// open the next paragraph, and those that end the piece a paragraph of their own. A paragraph
// starts with the line break that HTML drops after the tag.
QByteArray paragraphs(QStringView text, bool lastPiece)
{
    QStringList blocks;
    qsizetype emptyBlocks = 0;
    for (const QStringView block : text.split(u"\r\n\r\n"_s)) {
        if (block.isEmpty()) {
            ++emptyBlocks;
            continue;
        }
        blocks.append(u"\r\n\r\n"_s.repeated(emptyBlocks) + block.toString());
        emptyBlocks = 0;
    }
    // The blank lines that end the book stay with its last paragraph; those before the next
    // piece are one blank line more than the next piece starts with by itself.
    if (emptyBlocks > 0 && lastPiece && !blocks.isEmpty())
        blocks.back() += u"\r\n\r\n"_s.repeated(emptyBlocks);
    else if (emptyBlocks > 1)
        blocks.append(u"\r\n"_s.repeated(2 * emptyBlocks - 2));
    QByteArray body;
    for (QString &block : blocks)
        body += "<pre class=\"para\">\n" + escaped(block.replace(u"\r\n"_s, u"\n"_s)) + "</pre>\n";
    return body;
}

QByteArray xhtml(const QByteArray &title, const QByteArray &body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE html>\n"
           "<html xmlns=\"http://www.w3.org/1999/xhtml\" "
           "xmlns:epub=\"http://www.idpf.org/2007/ops\">\n<head><title>"
           + title
           + "</title><link rel=\"stylesheet\" type=\"text/css\" href=\"style.css\"/></head>\n"
             "<body>\n"
           + body
           + "</body>\n</html>\n";
}

class Archive
{
public:
    Archive()
        : m_buffer(&m_bytes)
        , m_zip(&m_buffer)
    {
        m_zip.open(QuaZip::mdCreate);
    }

    // The mimetype entry goes first and is stored, as readers look for it at a fixed place.
    void add(const QString &name, const QByteArray &bytes, bool stored = false)
    {
        QuaZipFile file(&m_zip);
        file.open(QIODevice::WriteOnly, QuaZipNewInfo(name), nullptr, 0,
                  stored ? 0 : Z_DEFLATED, stored ? 0 : Z_DEFAULT_COMPRESSION);
        file.write(bytes);
        file.close();
        m_ok = m_ok && file.getZipError() == ZIP_OK;
    }

    std::optional<QByteArray> finish()
    {
        m_zip.close();
        if (!m_ok || m_zip.getZipError() != ZIP_OK)
            return std::nullopt;
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    QBuffer m_buffer;
    QuaZip m_zip;
    bool m_ok = true;
};

} // namespace

std::optional<QByteArray> epubOf(const Book &book)
{
    const QString title = book.title.trimmed().isEmpty() ? u"Untitled"_s : book.title.trimmed();
    const QString author = book.author.trimmed();
    const QString synopsis = book.synopsis.trimmed();
    // The same book gives the same identifier, so a reader sees a book exported again as one.
    const QUuid identifier = QUuid::createUuidV5(
        QUuid(), QCryptographicHash::hash((title + author + book.text).toUtf8(),
                                          QCryptographicHash::Sha1));

    // Pieces begin at the text's start and at each chapter's offset inside the text.
    QList<qsizetype> starts = {0};
    for (const ChapterEntry &row : book.chapters) {
        const qsizetype offset = chapterOffset(row);
        if (offset > 0 && offset < book.text.size())
            starts.append(offset);
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    QList<Piece> pieces;
    for (qsizetype i = 0; i < starts.size(); ++i) {
        const qsizetype to = i + 1 < starts.size() ? starts[i + 1] : book.text.size();
        pieces.append({starts[i], to, u"text%1.xhtml"_s.arg(i + 1, 4, 10, QChar(u'0'))});
    }
    auto pieceAt = [&](qsizetype offset) {
        const auto after = std::upper_bound(starts.begin(), starts.end(), offset);
        return pieces[std::max<qsizetype>(0, (after - starts.begin()) - 1)].file;
    };

    Archive archive;
    archive.add(u"mimetype"_s, "application/epub+zip", true);
    archive.add(u"META-INF/container.xml"_s,
                "<?xml version=\"1.0\"?>\n<container version=\"1.0\" "
                "xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">\n<rootfiles>"
                "<rootfile full-path=\"OEBPS/content.opf\" "
                "media-type=\"application/oebps-package+xml\"/></rootfiles>\n</container>\n");

    archive.add(u"OEBPS/style.css"_s,
                "pre.para { white-space: pre-wrap; font-family: serif; margin: 0 0 1em 0; }\n");
    QByteArray manifest = "<item id=\"css\" href=\"style.css\" media-type=\"text/css\"/>\n";
    QByteArray spine;
    for (const Piece &piece : pieces) {
        const QByteArray id = piece.file.chopped(6).toLatin1();
        manifest += "<item id=\"" + id + "\" href=\"" + piece.file.toLatin1()
                    + "\" media-type=\"application/xhtml+xml\"/>\n";
        spine += "<itemref idref=\"" + id + "\"/>\n";
        archive.add(u"OEBPS/"_s + piece.file,
                    xhtml(escaped(title),
                          paragraphs(QStringView(book.text).sliced(piece.from,
                                                                   piece.to - piece.from),
                                     piece.to == book.text.size())));
    }

    // The table of contents in the chapter table's order, each entry at its piece.
    QByteArray navList, navPoints;
    int order = 0;
    for (const ChapterEntry &row : book.chapters) {
        const QByteArray label = escaped(row.title.trimmed().isEmpty() ? u"Chapter"_s
                                                                       : row.title.trimmed());
        const QByteArray target =
            pieceAt(std::clamp<qsizetype>(chapterOffset(row), 0, book.text.size())).toLatin1();
        navList += "<li><a href=\"" + target + "\">" + label + "</a></li>\n";
        const QByteArray number = QByteArray::number(++order);
        navPoints += "<navPoint id=\"p" + number + "\" playOrder=\"" + number
                     + "\"><navLabel><text>" + label
                     + "</text></navLabel><content src=\"" + target + "\"/></navPoint>\n";
    }
    if (navList.isEmpty()) {
        navList = "<li><a href=\"" + pieces.first().file.toLatin1() + "\">" + escaped(title)
                  + "</a></li>\n";
        navPoints = "<navPoint id=\"p1\" playOrder=\"1\"><navLabel><text>" + escaped(title)
                    + "</text></navLabel><content src=\"" + pieces.first().file.toLatin1()
                    + "\"/></navPoint>\n";
    }
    archive.add(u"OEBPS/nav.xhtml"_s,
                xhtml(escaped(title), "<nav epub:type=\"toc\" id=\"toc\"><h1>Contents</h1>\n<ol>\n"
                                          + navList + "</ol></nav>\n"));
    const QByteArray uid = "urn:uuid:" + identifier.toByteArray(QUuid::WithoutBraces);
    archive.add(u"OEBPS/toc.ncx"_s,
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ncx "
                "xmlns=\"http://www.daisy.org/z3986/2005/ncx/\" version=\"2005-1\">\n<head>"
                "<meta name=\"dtb:uid\" content=\""
                    + uid + "\"/></head>\n<docTitle><text>" + escaped(title)
                    + "</text></docTitle>\n<navMap>\n" + navPoints + "</navMap>\n</ncx>\n");

    QByteArray metadata = "<dc:identifier id=\"uid\">" + uid + "</dc:identifier>\n<dc:title>"
                          + escaped(title) + "</dc:title>\n<dc:language>und</dc:language>\n";
    if (!author.isEmpty())
        metadata += "<dc:creator>" + escaped(author) + "</dc:creator>\n";
    if (!synopsis.isEmpty()) {
        // The description is HTML, as readers show it: a paragraph per block of lines.
        QString description;
        for (const QStringView block : QStringView(synopsis).split(u"\r\n\r\n"_s)) {
            QStringList lines;
            for (const QStringView line : block.trimmed().split(u"\r\n"_s))
                lines.append(line.toString().toHtmlEscaped());
            description += u"<p>"_s + lines.join(u"<br/>"_s) + u"</p>"_s;
        }
        metadata += "<dc:description>" + escaped(description) + "</dc:description>\n";
    }
    metadata += "<meta property=\"dcterms:modified\">"
                + QDateTime::currentDateTimeUtc().toString(u"yyyy-MM-ddTHH:mm:ssZ"_s).toLatin1()
                + "</meta>\n";
    archive.add(u"OEBPS/content.opf"_s,
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<package "
                "xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\" "
                "unique-identifier=\"uid\">\n<metadata "
                "xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
                    + metadata
                    + "</metadata>\n<manifest>\n<item id=\"nav\" href=\"nav.xhtml\" "
                      "media-type=\"application/xhtml+xml\" properties=\"nav\"/>\n<item "
                      "id=\"ncx\" href=\"toc.ncx\" media-type=\"application/x-dtbncx+xml\"/>\n"
                    + manifest + "</manifest>\n<spine toc=\"ncx\">\n" + spine
                    + "</spine>\n</package>\n");
    return archive.finish();
}

std::optional<FileError> ExportEpub(const Book &book, const QString &path)
{
    const std::optional<QByteArray> bytes = epubOf(book);
    if (!bytes)
        return FileError{path, u"cannot be written: the EPUB book could not be made"_s};
    return writeWholeFile(path, *bytes);
}
