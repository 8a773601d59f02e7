// Writes the inputs the fuzz targets start from: small books like those the tests build, and
// texts with the headings, quotes, indents and line breaks the program looks for.
//
//   make_fuzz_inputs FOLDER   (FOLDER/<target>/ for each target)

#include "book/bookfile.h"

#include "epubfiles.h"
#include "formatfiles.h"
#include "hostilefiles.h"
#include "pdffiles.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

namespace {

void write(const QString &folder, const QString &name, const QByteArray &bytes)
{
    QDir().mkpath(folder);
    QFile file(folder + u'/' + name);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

const QByteArray Texts[] = {
    "Contents\r\nChapter 1\r\nChapter 2\r\n\r\nChapter 1\r\nIt was a dark night.\r\n",
    "BOOK ONE\r\nCHAPTER I\r\n\r\n  \x93Well,\x94 she said, \x93it's John's.\x94\r\n\tIndented\r\n",
    "Prologue\r\n1\r\nOne\r\n12\r\nTwelve\r\nVII\r\nSeven\r\nEpilogue\r\nIndex\r\n",
    "Chapter Twenty-one\r\nChapter One Hundren and one\r\nPart 2 Day 3 Letter 4\r\n",
    "a\r\n\r\n\r\nb  c   d\r\n   e<PAR>f`g'h\"s\r\n",
    "one\ntwo\rthree\r\n",
};

const QByteArray Pages[] = {
    "<html><head><title>T</title></head><body><h1 id='a'>One</h1><p>a&amp;b&nbsp;c<br/>d</p>"
    "<pre>\n x\n  y</pre><ul><li>i</li></ul><img alt='pic'/>so&shy;ft<script>s</script></body>"
    "</html>",
    "<div><p>unclosed<div>x<h2>Two<table><tr><td>1<td>2</table>",
    "<?xml version='1.0' encoding='windows-1252'?><!DOCTYPE html [<!ENTITY e 'x'>]><html><head>"
    "<meta name='author' content='A'/></head><body><h1>THE</h1><p>cold.<a epub:type='noteref' "
    "href='#n1'>1</a><sup><a href='#n2'>2</a></sup>\x93q\x94<br/><br/><br/><noscript>n</noscript>"
    "</p></body></html>",
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2)
        return 2;
    const QString root = QString::fromLocal8Bit(argv[1]);

    int n = 0;
    for (const QByteArray &text : Texts) {
        const QString name = u"text%1"_s.arg(++n);
        const QString latin1 = QString::fromLatin1(text);
        const QByteArray utf16(reinterpret_cast<const char *>(latin1.utf16()), latin1.size() * 2);
        const Book book{u"Title"_s,
                        u"Author"_s,
                        u"Synopsis\r\nline"_s,
                        {{u"Chapter 1"_s, u" 0"_s}, {u"Two"_s, u"12"_s}},
                        latin1};
        const std::pair<const char16_t *, QByteArray> inputs[] = {
            {u"loadbook", serializeBook(book)}, {u"textimport", text},
            {u"scan", char(n) + utf16},         {u"headings", utf16},
            {u"cleaner", char(0x3F) + text},    {u"replace", text + "\377chapter\377Part"}};
        for (const auto &[target, bytes] : inputs)
            write(root + u"/fuzz_"_s + QString::fromUtf16(target), name, bytes);
    }
    write(root + u"/fuzz_loadbook"_s, u"empty"_s, serializeBook(Book{}));
    // Every box, two replacements, and a book of headings between pieces of text and a frame.
    write(root + u"/fuzz_rows"_s, u"recipe"_s,
          QByteArray::fromHex("ff02041911480500181c004c0900440c0d01"));
    // An EPUB book with a navigation document, and one with an NCX only.
    const QList<QByteArray> bodies = {Pages[1], "<h1 id='f'>One</h1><p>a&amp;b<br/>c</p>"};
    write(root + u"/fuzz_epub"_s, u"nav"_s,
          zipArchive(epubEntries(bodies, "<li><a href='c1.xhtml'>A</a><ol><li><a "
                                         "href='c2.xhtml#f'>F</a></li></ol></li>")));
    // A book whose spine lists a document again and again, and one outside the reading order
    // that the contents lead into (the crafted books below declare entities).
    QList<ZipEntry> spine = epubEntries(bodies, "<li><a href='c1.xhtml'>A</a><ol><li><a "
                                                "href='c2.xhtml'>1</a></li></ol></li>");
    spine.last().bytes.replace("<itemref idref='c2'/>", "<itemref idref='c2' linear='no'/>"
                                                        "<itemref idref='c1'/><itemref idref='c1'/>");
    write(root + u"/fuzz_epub"_s, u"spine"_s, zipArchive(spine));
    write(root + u"/fuzz_epub"_s, u"ncx"_s,
          zipArchive(epubEntries(bodies, {})
                     << ZipEntry{u"OEBPS/toc.ncx"_s,
                                 "<ncx><navMap><navPoint><navLabel><text>A</text></navLabel>"
                                 "<content src='c2.xhtml#f'/></navPoint></navMap></ncx>"}));
    for (const QByteArray &page : Pages)
        write(root + u"/fuzz_htmltext"_s, u"page%1"_s.arg(++n), page + '\xFF' + page);
    // A book in each format, behind the byte that chooses its reader.
    const std::pair<char, QByteArray> formats[] = {
        {0, QByteArray("\xFF\xFE" "C\0h\0", 6)},
        {1, FictionBook},
        {2, zipArchive({{u"b.fb2"_s, FictionBook}})},
        {3, wordDocument()},
        {4, openDocument()},
        {5, kindleBook(KindleHtml)},
        {5, kindleBook(KindleHtml, 0, {{"One", "<h1>Chapter One"}, {"Two", "<p>The sea rose"}})},
        {6, MarkdownBook},
    };
    int book = 0;
    for (const auto &[reader, bytes] : formats)
        write(root + u"/fuzz_formats"_s, u"format%1"_s.arg(++book), reader + bytes);
    // A PDF of two pages with an outline, metadata, a running head, a footnote and a word
    // broken across the pages; the crafted PDFs follow.
    PdfBook pdf = pdfPages({courierLines({">A paragraph that runs over to a knowl-"})
                                << PdfRun{40, 560, 8, "1 A note at the foot.", "F2"},
                            courierLines({"edge.|"}) << PdfRun{40, 40, 9, "2 THE HEAD", "F2"}});
    pdf.outline = {{"One", 0, 70, {{"Its part", 1, 70, {}}}}};
    pdf.title = "Title";
    write(root + u"/fuzz_pdf"_s, u"book.pdf"_s, pdfBook(pdf));
    // The crafted files the tests refuse or read, where they are small enough to mutate.
    constexpr qsizetype LargestInput = 64 * 1024;
    for (const HostileFile &file : hostileFiles()) {
        if (file.bytes.size() > LargestInput)
            continue;
        const QString extension = file.name.section(u'.', -1);
        const QString target = extension == u"pdf"_s    ? u"fuzz_pdf"_s
                               : extension == u"epub"_s ? u"fuzz_epub"_s
                               : extension == u"html"_s ? u"fuzz_htmltext"_s
                               : extension == u"vlm"_s  ? u"fuzz_loadbook"_s
                                                        : u"fuzz_textimport"_s;
        write(root + u'/' + target, file.name, file.bytes);
    }
    return 0;
}
