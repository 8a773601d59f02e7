#include "pdffiles.h"

#include <zlib.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray number(double value)
{
    return QByteArray::number(value, 'f', 2);
}

QByteArray reference(qsizetype object)
{
    return QByteArray::number(object) + " 0 R";
}

QByteArray escaped(QByteArray text)
{
    return text.replace('\\', "\\\\").replace('(', "\\(").replace(')', "\\)");
}

QByteArray stream(const QByteArray &dictionary, const QByteArray &data)
{
    return "<< " + dictionary + " /Length " + QByteArray::number(data.size()) + " >>\nstream\n"
           + data + "\nendstream";
}

QByteArray deflated(const QByteArray &bytes)
{
    QByteArray out(qsizetype(compressBound(uLong(bytes.size()))), Qt::Uninitialized);
    uLongf size = uLongf(out.size());
    compress2(reinterpret_cast<Bytef *>(out.data()), &size,
              reinterpret_cast<const Bytef *>(bytes.constData()), uLong(bytes.size()), 9);
    out.truncate(qsizetype(size));
    return out;
}

// A zlib stream of piece repeated times over, made without the whole in memory: the piece
// compressed once with a full flush (which leaves no reference to what came before) and that
// output repeated.
QByteArray deflatedRepeats(const QByteArray &piece, int times)
{
    z_stream zs{};
    deflateInit2(&zs, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    QByteArray block(qsizetype(deflateBound(&zs, uLong(piece.size()))) + 64, Qt::Uninitialized);
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(piece.constData()));
    zs.avail_in = uInt(piece.size());
    zs.next_out = reinterpret_cast<Bytef *>(block.data());
    zs.avail_out = uInt(block.size());
    deflate(&zs, Z_FULL_FLUSH);
    block.truncate(block.size() - zs.avail_out);
    deflateEnd(&zs);
    const uLong once =
        adler32(1, reinterpret_cast<const Bytef *>(piece.constData()), uInt(piece.size()));
    uLong checksum = once;
    for (int i = 1; i < times; ++i)
        checksum = adler32_combine(checksum, once, z_off_t(piece.size()));
    QByteArray out = "\x78\x9C" + block.repeated(times) + QByteArray("\x03\x00", 2);
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char((checksum >> shift) & 0xFF);
    return out;
}

// Each item's dictionary, its children after it, numbered from first; returns the numbers of
// the items at this level.
QList<qsizetype> addOutlineItems(const QList<PdfOutlineItem> &items, qsizetype parent,
                                 const QList<qsizetype> &pageObjects, double height,
                                 QList<QByteArray> &objects)
{
    QList<qsizetype> numbers;
    for (qsizetype i = 0; i < items.size(); ++i) {
        objects.append(QByteArray());
        numbers.append(objects.size());
    }
    for (qsizetype i = 0; i < items.size(); ++i) {
        const PdfOutlineItem &item = items[i];
        QByteArray entry = "<< /Title (" + escaped(item.title) + ") /Parent " + reference(parent)
                           + " /Dest [" + reference(pageObjects[item.page]) + " /XYZ 0 "
                           + number(height - item.top) + " null]";
        if (i > 0)
            entry += " /Prev " + reference(numbers[i - 1]);
        if (i + 1 < items.size())
            entry += " /Next " + reference(numbers[i + 1]);
        const QList<qsizetype> children =
            addOutlineItems(item.children, numbers[i], pageObjects, height, objects);
        if (!children.isEmpty()) {
            entry += " /First " + reference(children.first()) + " /Last "
                     + reference(children.last()) + " /Count "
                     + QByteArray::number(children.size());
        }
        objects[numbers[i] - 1] = entry + " >>";
    }
    return numbers;
}

} // namespace

QByteArray pdfFile(const QList<QByteArray> &objects, const QByteArray &trailer)
{
    QByteArray out = "%PDF-1.5\n%\xE2\xE3\xCF\xD3\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets.append(out.size());
        out += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = out.size();
    out += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets)
        out += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    return out + "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R "
           + trailer + " >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
}

QByteArray pdfBook(const PdfBook &book)
{
    QList<QByteArray> objects = {
        {}, // the catalog, once the outline's place is known
        {}, // the page tree, once the pages' are
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding << /Type /Encoding "
        "/BaseEncoding /WinAnsiEncoding /Differences [128 /fi /fl /uni00AD] >> >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /ZapfDingbats >>",
        book.picture ? stream("/Type /XObject /Subtype /Image /Width 1 /Height 1 /ColorSpace "
                              "/DeviceGray /BitsPerComponent 8",
                              "\x80")
                     : "null",
    };
    QList<qsizetype> pageObjects;
    for (const QList<PdfRun> &runs : book.pages) {
        QByteArray content = book.picture ? "q 200 0 0 300 50 150 cm /Im1 Do Q\n" : "";
        for (const PdfRun &run : runs) {
            content += "BT /" + run.font + " " + number(run.size) + " Tf " + number(run.x) + " "
                       + number(book.height - run.y) + " Td (" + escaped(run.text) + ") Tj ET\n";
        }
        objects.append(stream({}, content));
        objects.append("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + number(book.width) + " "
                       + number(book.height) + "] /Contents " + reference(objects.size())
                       + " /Resources << /Font << /F1 3 0 R /F2 4 0 R /F3 5 0 R >> "
                       + (book.picture ? "/XObject << /Im1 6 0 R >> " : "") + ">> >>");
        pageObjects.append(objects.size());
    }
    QByteArray kids;
    for (const qsizetype page : pageObjects)
        kids += reference(page) + " ";
    objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count "
                 + QByteArray::number(pageObjects.size()) + " >>";
    objects[0] = "<< /Type /Catalog /Pages 2 0 R";
    if (!book.outline.isEmpty()) {
        objects.append(QByteArray());
        const qsizetype root = objects.size();
        const QList<qsizetype> top =
            addOutlineItems(book.outline, root, pageObjects, book.height, objects);
        objects[root - 1] = "<< /Type /Outlines /First " + reference(top.first()) + " /Last "
                            + reference(top.last()) + " /Count " + QByteArray::number(top.size())
                            + " >>";
        objects[0] += " /Outlines " + reference(root);
    }
    if (!book.xmpTitle.isEmpty()) {
        objects.append(stream("/Type /Metadata /Subtype /XML",
                              "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF xmlns:rdf='http://www."
                              "w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description xmlns:dc='http:"
                              "//purl.org/dc/elements/1.1/'><dc:title><rdf:Alt><rdf:li>"
                                  + book.xmpTitle
                                  + "</rdf:li></rdf:Alt></dc:title></rdf:Description></rdf:RDF>"
                                    "</x:xmpmeta>"));
        objects[0] += " /Metadata " + reference(objects.size());
    }
    objects[0] += " >>";
    QByteArray trailer;
    if (!book.title.isEmpty() || !book.author.isEmpty()) {
        objects.append("<< /Title (" + escaped(book.title) + ") /Author (" + escaped(book.author)
                       + ") >>");
        trailer = "/Info " + reference(objects.size());
    }
    return pdfFile(objects, trailer);
}

PdfBook pdfPages(const QList<QList<PdfRun>> &pages, double width, double height)
{
    PdfBook book;
    book.pages = pages;
    book.width = width;
    book.height = height;
    return book;
}

QList<PdfRun> courierLines(const QList<QByteArray> &lines, double top, double x)
{
    constexpr int Width = 48;
    QList<PdfRun> runs;
    for (QByteArray line : lines) {
        const bool first = line.startsWith('>'), last = line.endsWith('|');
        line = line.mid(first ? 1 : 0, line.size() - (first ? 1 : 0) - (last ? 1 : 0));
        const int width = Width - (first ? 2 : 0);
        QList<QByteArray> words = line.split(' ');
        // Spaces shared out between the words until the line is full.
        for (qsizetype i = 0; !last && words.size() > 1 && line.size() < width;
             i = (i + 1) % (words.size() - 1)) {
            words[i] += ' ';
            line += ' ';
        }
        runs.append({x + (first ? 12 : 0), top, 10, words.join(' '), "F2"});
        top += 12;
    }
    return runs;
}

QList<HostileFile> hostilePdfs()
{
    const QByteArray catalog = "<< /Type /Catalog /Pages 2 0 R >>";
    const QByteArray font = "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>";
    // A page whose content is object 4 and whose drawing X is object 6.
    auto onePage = [&](const QByteArray &content, const QByteArray &pages = "/Count 1") {
        return QList<QByteArray>{
            catalog, "<< /Type /Pages /Kids [3 0 R] " + pages + " >>",
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 300] /Contents 4 0 R /Resources << "
            "/Font << /F1 5 0 R >> /XObject << /X 6 0 R >> >> >>",
            content, font};
    };
    const QByteArray text = "BT /F1 10 Tf 20 200 Td (words) Tj ET ";
    QList<HostileFile> files = {
        {u"nested-arrays.pdf"_s,
         pdfFile(onePage(stream({}, text + QByteArray(100000, '[') + QByteArray(100000, ']')))),
         {}},
        // A page tree that leads back to itself, a content stream whose length is itself.
        {u"reference-loop.pdf"_s,
         pdfFile(onePage("<< /Length 4 0 R >>\nstream\n" + text + "\nendstream",
                         "/Count 1 /Parent 2 0 R")),
         {}},
        // Content that inflates to a gigabyte of spaces, compressed twice to a few kilobytes.
        {u"inflates-to-a-gigabyte.pdf"_s,
         pdfFile(onePage(stream("/Filter [/FlateDecode /FlateDecode]",
                                deflated(deflatedRepeats(QByteArray(1 << 20, ' '), 1024))))),
         u"expand"_s},
        // Twenty million letters drawn on one spot, within what a small file's streams may give.
        {u"one-long-string.pdf"_s,
         pdfFile(onePage(
             stream("/Filter /FlateDecode",
                    deflated("BT /F1 10 Tf 0 Tz (" + QByteArray(20 << 20, 'a') + ") Tj ET")))),
         {}},
        {u"million-pages.pdf"_s, pdfFile(onePage(stream({}, text), "/Count 1000000")), {}},
        {u"header-only.pdf"_s, "%PDF-1.7\n" + QByteArray(2000, 'x'), u"damaged"_s},
    };
    // Drawings that each draw the next fifty times: the last one's words 50 to the fifth times.
    QList<QByteArray> drawings = onePage(stream({}, "/X Do"));
    for (int level = 6; level <= 10; ++level) { // the objects' numbers
        const QByteArray next =
            level < 10 ? "/XObject << /X " + reference(level + 1) + " >>" : "/Font << /F1 5 0 R >>";
        drawings.append(stream("/Type /XObject /Subtype /Form /BBox [0 0 300 300] /Resources << "
                                   + next + " >>",
                               level < 10 ? QByteArray("/X Do ").repeated(50) : text));
    }
    // Stopped by the time or the memory it takes, whichever runs out first on the machine.
    files.append({u"drawings-without-end.pdf"_s, pdfFile(drawings), u"to read than any book"_s});
    // A book whose cross-reference table and its place are garbage.
    QByteArray broken = pdfBook(pdfPages({{{72, 100, 10, "The text is still there."}}}));
    for (qsizetype i = broken.indexOf("xref\n") + 30; i < broken.indexOf("trailer"); i += 7)
        broken[i] = '9';
    files.append({u"broken-cross-references.pdf"_s,
                  broken.replace(broken.lastIndexOf("startxref\n") + 10, 3, "777"),
                  {}});
    return files;
}
