#include "formatfiles.h"

#include "epubfiles.h"

#include <QtEndian>

using namespace Qt::StringLiterals;

const QByteArray FictionBook = R"(<?xml version="1.0" encoding="UTF-8"?>
<FictionBook xmlns="http://www.gribuser.ru/xml/fictionbook/2.0" xmlns:l="http://www.w3.org/1999/xlink">
<description><title-info><author><first-name>Leo</first-name><last-name>Tolstoy</last-name>
</author><author><nickname>Anon</nickname></author><book-title>War</book-title>
<annotation><p>A novel.</p><p>Long.</p></annotation></title-info></description>
<body><title><p>War</p></title><section><title><p>Part One</p></title>
<section><title><p>I</p></title><epigraph><p>Motto</p><text-author>Someone</text-author></epigraph>
<p>Text of <emphasis>one</emphasis> &amp; &lt;two&gt;.<a l:href="#n1" type="note">{1}</a></p>
<poem><stanza><v>Line one</v><v>Line two</v></stanza></poem></section>
<section><title><p>II</p></title><p>Second.</p></section></section></body>
<body name="notes"><section id="n1"><title><p>1</p></title><p>A note.</p></section></body>
</FictionBook>)";

const QByteArray MarkdownBook = "---\ntitle: \"The Sea\"\nauthors:\n  - Ann Lee\n  - Bob\n"
                                "---\n\n# Chapter One\n\nThe *sea* was calm.\n\n## A Part"
                                "\n\n[A link](http://x).\n\n### Deep\n\n# Two\n\n- one\n- two\n";

const QByteArray KindleHtml = "<html><body><h1>Chapter One</h1><p>The sea was calm.</p>"
                              "<mbp:pagebreak/><h1>Chapter Two</h1><p>The sea rose.</p></body>"
                              "</html>";

QByteArray wordDocument()
{
    const QByteArray word = R"(<?xml version="1.0"?>
<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>
<w:p><w:pPr><w:pStyle w:val="Heading1"/></w:pPr><w:r><w:t>Chapter One</w:t></w:r></w:p>
<w:p><w:r><w:t xml:space="preserve">The sea was </w:t></w:r><w:del><w:r><w:delText>very </w:delText>
</w:r></w:del><w:ins><w:r><w:t>calm</w:t></w:r></w:ins><w:r><w:commentReference w:id="0"/></w:r>
<w:r><w:t>.</w:t><w:br/><w:t>Next</w:t></w:r></w:p>
<w:p><w:pPr><w:pStyle w:val="heading 3"/></w:pPr><w:r><w:t>A Part</w:t></w:r></w:p>
<w:tbl><w:tr><w:tc><w:p><w:r><w:t>c&amp;amp;1 &lt;b&gt;</w:t></w:r></w:p></w:tc><w:tc><w:p><w:r><w:t>c2</w:t></w:r>
</w:p></w:tc></w:tr></w:tbl><w:p><w:pPr><w:outlineLvl w:val="0"/></w:pPr><w:r><w:t>Two</w:t>
</w:r></w:p></w:body></w:document>)";
    const QByteArray properties =
        "<cp:coreProperties xmlns:cp='c' xmlns:dc='http://purl.org/dc/elements/1.1/'><dc:title>"
        "The Sea</dc:title><dc:creator>Ann Lee</dc:creator></cp:coreProperties>";
    return zipArchive({{u"[Content_Types].xml"_s, "<Types/>"},
                       {u"word/document.xml"_s, word},
                       {u"docProps/core.xml"_s, properties}});
}

QByteArray openDocument()
{
    const QByteArray content = R"(<?xml version="1.0"?>
<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body><office:text>
<text:tracked-changes><text:changed-region><text:deletion><text:p>gone</text:p></text:deletion>
</text:changed-region></text:tracked-changes><text:h text:outline-level="1">Chapter One</text:h>
<text:p>The sea<text:s/>was calm.<text:note><text:note-citation>1</text:note-citation>
<text:note-body><text:p>A note.</text:p></text:note-body></text:note><office:annotation>
<text:p>a comment</text:p></office:annotation></text:p><text:h text:outline-level="4">Deep</text:h>
<text:h text:outline-level="2">Two</text:h><text:p>End &amp;amp; &lt;b&gt;.<text:line-break/>Next</text:p><text:h>Three</text:h>
</office:text></office:body></office:document-content>)";
    const QByteArray meta =
        "<office:document-meta xmlns:office='o' xmlns:meta='m' xmlns:dc='d'><office:meta>"
        "<dc:title>The Sea</dc:title><meta:initial-creator>Ann Lee</meta:initial-creator>"
        "<dc:creator>Editor</dc:creator></office:meta></office:document-meta>";
    return zipArchive({{u"mimetype"_s, "application/vnd.oasis.opendocument.text"},
                       {u"content.xml"_s, content},
                       {u"meta.xml"_s, meta}});
}

// A Kindle book of the older kind as kindlegen wrote them: a Palm database of a header record
// (the PalmDOC header, the MOBI header, EXTH records with the author and a description in HTML,
// the full name) and the text records, uncompressed. encryption is the PalmDOC header's field
// (2 for DRM).
namespace {

QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray bigEndian16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

// A number as index entries store it: seven bits a byte, the last byte's high bit set.
QByteArray indexNumber(quint32 value)
{
    QByteArray bytes(1, char((value & 0x7F) | 0x80));
    for (value >>= 7; value; value >>= 7)
        bytes.prepend(char(value & 0x7F));
    return bytes;
}

// The three records of a table of contents: the index's header with its tag table, one record
// of entries (file position, length, label, level), and the labels.
QList<QByteArray> contentsRecords(const QByteArray &html, const QList<KindleEntry> &contents)
{
    constexpr int HeaderLength = 192;
    auto header = [](int entries) {
        QByteArray record(HeaderLength, '\0');
        record.replace(0, 4, "INDX");
        record.replace(4, 4, bigEndian32(HeaderLength));
        record.replace(24, 4, bigEndian32(quint32(entries)));
        return record;
    };
    QByteArray meta = header(1);
    meta.replace(28, 4, bigEndian32(65001)); // UTF-8
    meta.replace(36, 4, bigEndian32(quint32(contents.size())));
    meta.replace(52, 4, bigEndian32(1)); // one record of labels
    meta += "TAGX" + bigEndian32(12 + 5 * 4) + bigEndian32(1);
    meta += QByteArray::fromHex("01010100" "02010200" "03010400" "04010800" "00000001");

    QByteArray labels;
    QByteArray entries = header(int(contents.size()));
    QList<quint16> starts;
    for (qsizetype i = 0; i < contents.size(); ++i) {
        starts.append(quint16(entries.size()));
        const QByteArray id = QByteArray::number(i, 16);
        entries += char(id.size()) + id + char(0x0F)
                   + indexNumber(quint32(html.indexOf(contents[i].at))) + indexNumber(1)
                   + indexNumber(quint32(labels.size())) + indexNumber(0);
        labels += indexNumber(quint32(contents[i].label.size())) + contents[i].label;
    }
    entries.replace(20, 4, bigEndian32(quint32(entries.size())));
    entries += "IDXT";
    for (const quint16 start : starts)
        entries += bigEndian16(start);
    return {meta, entries, labels};
}

} // namespace

QByteArray kindleBook(const QByteArray &html, quint16 encryption,
                      const QList<KindleEntry> &contents)
{
    const QByteArray title = "The Sea", author = "Ann Lee",
                     description = "<p>A <b>calm</b> sea &amp; a ship.</p>";
    QByteArray exth = "EXTH" + bigEndian32(12 + 16 + author.size() + description.size())
                      + bigEndian32(2) + bigEndian32(100) + bigEndian32(8 + author.size()) + author
                      + bigEndian32(103) + bigEndian32(8 + description.size()) + description;
    exth += QByteArray((4 - exth.size() % 4) % 4, '\0');
    QByteArray mobi(232, '\0');
    auto put = [&](int at, quint32 value) { mobi.replace(at, 4, bigEndian32(value)); };
    mobi.replace(0, 4, "MOBI");
    put(4, 232);   // header length
    put(8, 2);     // a book
    put(12, 65001); // UTF-8
    put(20, 6);    // version
    for (int at = 24; at < 64; at += 4)
        put(at, 0xFFFFFFFF);
    put(64, 2);    // the first record after the text
    put(68, 16 + 232 + quint32(exth.size())); // the full name's place
    put(72, quint32(title.size()));
    put(92, 0xFFFFFFFF); // no images
    put(112, 0x40);      // an EXTH record follows
    put(228, contents.isEmpty() ? 0xFFFFFFFF : 2); // the table of contents' first record
    QByteArray first = bigEndian16(1) + bigEndian16(0) + bigEndian32(quint32(html.size()))
                       + bigEndian16(1) + bigEndian16(4096) + bigEndian16(encryption)
                       + bigEndian16(0) + mobi + exth + title + QByteArray(2, '\0');
    first += QByteArray((4 - first.size() % 4) % 4, '\0');

    QList<QByteArray> records = {first, html};
    if (!contents.isEmpty())
        records += contentsRecords(html, contents);
    QByteArray database(78, '\0');
    database.replace(0, title.size(), title);
    database.replace(60, 8, "BOOKMOBI");
    database.replace(76, 2, bigEndian16(quint16(records.size())));
    quint32 start = 78 + quint32(records.size()) * 8 + 2;
    for (qsizetype i = 0; i < records.size(); ++i) {
        database += bigEndian32(start) + bigEndian32(quint32(i));
        start += quint32(records[i].size());
    }
    database += QByteArray(2, '\0');
    for (const QByteArray &record : records)
        database += record;
    return database;
}

