#include "book/textimport.h"
#include "book/textlines.h"
#include "chapters/chaptertable.h"
#include "cleaner/textcleaner.h"
#include "import/bookimport.h"
#include "import/epubimport.h"

#include "epubfiles.h"
#include "testfiles.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>

using namespace Qt::StringLiterals;

namespace {

// Byte strings that look like UTF-8 but are not are read byte by byte; line breaks of every
// kind become CR LF, each exactly one break.
TEST(TextImport, ChoosesUtf8OrWindows1252AndMakesLineBreaksCrLf)
{
    const std::pair<QByteArray, QString> cases[] = {
        {"", QString()},
        {"caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D", u"caf\u00E9 \u201Cq\u201D"_s},
        {"\357\273\277caf\303\251", u"caf\u00E9"_s}, // after a byte order mark
        {"\357\273\277a\x93z", u"a\uFFFDz"_s},
        {"\x93quoted\x94 caf\xE9", u"\u201Cquoted\u201D caf\u00E9"_s},
        {"a\xC0\xAF", u"a\u00C0\u00AF"_s},
        {"\xED\xA0\x80", u"\u00ED\u00A0\u20AC"_s},
        {QByteArray(1000, 'a') + "\xC3\xA9", QString(1000, u'a') + u"\u00E9"_s},
        {QByteArray(1000, 'a') + "\xE9", QString(1000, u'a') + u"\u00E9"_s},
        {"a\nb\rc\r\nd\r\r\ne\n\rf", u"a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\nf"_s},
        // Inside the blocks of a long text that are tested whole.
        {QByteArray(100, 'a') + "\r\nb\nc" + QByteArray(100, 'a'),
         QString(100, u'a') + u"\r\nb\r\nc"_s + QString(100, u'a')},
        {QByteArray(100, 'a') + "\r\nb\rc" + QByteArray(100, 'a'),
         QString(100, u'a') + u"\r\nb\r\nc"_s + QString(100, u'a')},
    };
    for (const auto &[bytes, text] : cases)
        EXPECT_EQ(decodeTextFile(bytes), text) << bytes.toStdString();
}

// The entries with the one of that name left out, or replaced by the bytes given.
QByteArray edited(QList<ZipEntry> entries, const ZipEntry &entry, bool drop = false)
{
    entries.removeIf([&](const ZipEntry &old) { return old.name == entry.name; });
    return zipArchive(drop ? entries : entries << entry);
}

ZipEntry encryption(const QByteArray &algorithm, const QByteArray &uri)
{
    return {
        u"META-INF/encryption.xml"_s,
        "<encryption xmlns='urn:oasis:names:tc:opendocument:xmlns:container' "
        "xmlns:enc='http://www.w3.org/2001/04/xmlenc#'><enc:EncryptedData><enc:EncryptionMethod "
        "Algorithm='"
            + algorithm + "'/><enc:CipherData><enc:CipherReference URI='" + uri
            + "'/></enc:CipherData></enc:EncryptedData></encryption>"};
}

TEST(EpubImport, ReadsTextInfoAndChaptersOrRefusesWithOneMessage)
{
    const QList<ZipEntry> twoChapters = epubEntries(
        {"<h1>One</h1><p>First para.</p>", "<p>Intro</p><h2 id='b'>Two</h2><p>x</p>"},
        "<li><a href='c1.xhtml'>One</a><ol><li><a href='c2.xhtml#b'> Two\n  deep</a></li>"
        "<li><span>Group</span><ol><li><a href='c2.xhtml#lost'>Lost</a></li></ol></li></ol></li>"
        "<li><a href='elsewhere.xhtml'>Outside</a></li>"
        "<li><a href='c2.xhtml#b'>A title well over forty characters long, cut</a></li>");
    const QByteArray ncx =
        "<ncx xmlns='http://www.daisy.org/z3986/2005/ncx/'><navMap>"
        "<navPoint><navLabel><text>Part</text></navLabel><content src='c1.xhtml'/>"
        "<navPoint><navLabel><text>Inner</text></navLabel><content src='c1.xhtml#in'/>"
        "</navPoint></navPoint><navPoint><navLabel><text>Last</text></navLabel>"
        "<content src='c2.xhtml'/></navPoint></navMap></ncx>";
    QByteArray million(1'000'000, ' ');
    QByteArray noise(1'600'000, '\0');
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);

    const std::tuple<const char *, QByteArray, Book> cases[] = {
        {"fragments, nesting, a lost fragment, a link outside the spine, obfuscated fonts",
         edited(twoChapters, encryption("http://www.idpf.org/2008/embedding", "OEBPS/font.otf")),
         {u"T"_s, u"A"_s, QString(),
          rows(u"One@ 0|Two deep@ 31|Lost@ 22|A title well over forty characters\u2026@ 31"_s),
          u"One\r\n\r\nFirst para.\r\n\r\nIntro\r\n\r\nTwo\r\n\r\nx"_s}},
        {"entries leading into documents: an anchor inside a line, a wrapper, a page-break "
         "marker, a right-to-left book's own ids; each row at the start of its line",
         zipArchive(epubEntries(
             {"<p>Intro</p><p>Entry <b id='w1'>word</b>: meaning.</p><div id='wrap'><h2>Two"
              "</h2></div><p>Text<span id='page9' epub:type='pagebreak'/></p><h2>Three</h2>",
              "<p dir='rtl'>\u05E9\u05DC\u05D5\u05DD <a id='\u05D0'/>\u05E2\u05D5\u05DC\u05DD</p>"},
             "<li><a href='c1.xhtml#w1'>word</a></li><li><a href='c1.xhtml#wrap'>Two</a></li>"
             "<li><a href='c1.xhtml#page9'>Three</a></li>"
             "<li><a href='c2.xhtml#%D7%90'>\u05E2\u05D5\u05DC\u05DD</a></li>")),
         {u"T"_s, u"A"_s, QString(),
          rows(u"word@ 9|Two@ 33|Three@ 48|\u05E2\u05D5\u05DC\u05DD@ 57"_s),
          u"Intro\r\n\r\nEntry word: meaning.\r\n\r\nTwo\r\n\r\nText\r\n\r\nThree\r\n\r\n"
          u"\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD"_s}},
        {"the text rule",
         zipArchive(
             epubEntries({"<p>a  b\n c&amp;d&eacute;&nbsp;e</p><script>x</script><style>y</style>"
                          "<p>soft&shy;hy&#x200B;ph&#x2060;en<br/>next<br/></p><pre>\n  keep   "
                          "this\n\tline\n</pre>"
                          "<div>div<div>inner</div></div><ul><li>one</li><li>two</li></ul>"
                          "<p><img alt='Figure 1'/> and <img src='x.png'/> end</p>"
                          "<table><tr><td>c1</td><td>c2</td></tr><tr><td>c3</td></tr></table>"
                          "<p><![CDATA[x <b> y & z]]></p>"},
                         {})),
         {u"T"_s, u"A"_s, QString(), rows({}),
          u"a b c&d\u00E9\u00A0e\r\n\r\nsoft\u00ADhyphen\r\nnext\r\n\r\n  keep   "
          u"this\r\n\tline\r\n\r\n"
          "div\r\ninner\r\n\r\none\r\ntwo\r\n\r\n[Figure 1] and end\r\n\r\nc1 c2\r\nc3\r\n\r\n"
          "x <b> y & z"_s}},
        {"an empty document shows nothing",
         edited(epubEntries({"<p>Start</p>", "<p>End</p>"}, {}), {u"OEBPS/c1.xhtml"_s, {}}),
         {u"T"_s, u"A"_s, QString(), rows({}), u"End"_s}},
        {"an NCX and the metadata",
         edited(epubEntries({"<p>Start</p><p id='in'>Here</p>", "<p>End</p>"}, {},
                            "<dc:title id='s'>Sub</dc:title><meta refines='#s' "
                            "property='title-type'>subtitle</meta><dc:title id='m'>"
                            "Main</dc:title><meta refines='#m' property='title-type'>"
                            "main</meta><dc:creator>Ann</dc:creator><dc:creator> Bob\n"
                            " Smith</dc:creator><dc:description>&lt;p&gt;One &amp;amp; "
                            "two&lt;/p&gt;&lt;p&gt;Three&lt;/p&gt;</dc:description>"),
                {u"OEBPS/toc.ncx"_s, ncx}),
         {u"Main"_s, u"Ann & Bob Smith"_s, u"One & two\r\n\r\nThree"_s,
          rows(u"Part@ 0|Inner@ 9|Last@ 17"_s), u"Start\r\n\r\nHere\r\n\r\nEnd"_s}},
    };
    for (const auto &[name, bytes, expected] : cases) {
        const Result<ImportedBook> read = readEpub(bytes, u"in.epub"_s);
        ASSERT_TRUE(read.ok()) << name << ": " << read.error().message().toStdString();
        EXPECT_EQ(read.value().book, expected) << name;
    }

    // A piece of the message, and the file that calls for it.
    const std::pair<QString, QByteArray> refused[] = {
        {u"lacks the content document OEBPS/c2.xhtml"_s,
         edited(twoChapters, {u"OEBPS/c2.xhtml"_s, {}}, true)},
        {u"OEBPS/c1.xhtml that cannot be read"_s, edited(twoChapters, {u"OEBPS/c1.xhtml"_s, "<"})},
        {u"OEBPS/style.css, which expands more than 200 times"_s,
         edited(twoChapters, {u"OEBPS/style.css"_s, million})},
        {u"more than 256 MB"_s, edited(twoChapters, {u"OEBPS/big.jpg"_s, noise, 300'000'000, {}})},
        {u"OEBPS/c1.xhtml, which is damaged"_s,
         edited(twoChapters, {u"OEBPS/c1.xhtml"_s, rawDeflate(million), 1000, million})},
        {u"META-INF/container.xml cannot be read"_s,
         edited(twoChapters, {u"META-INF/container.xml"_s, "<container><rootfiles>"})},
    };
    for (const auto &[problem, bytes] : refused) {
        const Result<ImportedBook> read = readEpub(bytes, u"in.epub"_s);
        ASSERT_FALSE(read.ok()) << problem.toStdString();
        EXPECT_EQ(read.error().path, u"in.epub"_s);
        EXPECT_TRUE(read.error().problem.contains(problem)) << read.error().problem.toStdString();
    }
}

// What a crafted book asks for is bounded: a document listed again and again is read once, a
// table of contents is read up to what the chapter table holds, and a page nested hundreds deep
// is read. (The generated hostile set reads devices and pipes.)
TEST(EpubImport, CraftedBooksCostNoMoreThanTheirTextNeeds)
{
    QList<ZipEntry> repeated = epubEntries({"<h1>One</h1>"}, {});
    for (ZipEntry &entry : repeated) {
        if (entry.name == u"OEBPS/content.opf"_s)
            entry.bytes.replace("<itemref idref='c1'/>",
                                QByteArray("<itemref idref='c1'/>").repeated(100000)
                                    + noiseComment(40000));
    }
    const Result<ImportedBook> once = readEpub(zipArchive(repeated), u"in.epub"_s);
    ASSERT_TRUE(once.ok()) << once.error().message().toStdString();
    EXPECT_EQ(once.value().book.text, u"One"_s);

    QByteArray navMap = "<ncx><navMap>";
    for (qsizetype i = 0; i < MaxChapterRows + 5; ++i) {
        navMap += "<navPoint><navLabel><text>" + noiseComment(12).mid(4, 12)
                  + "</text></navLabel><content src='c1.xhtml'/></navPoint>";
    }
    const Result<ImportedBook> full = readEpub(
        edited(epubEntries({"<p>Text</p>"}, {}), {u"OEBPS/toc.ncx"_s, navMap + "</navMap></ncx>"}),
        u"in.epub"_s);
    ASSERT_TRUE(full.ok()) << full.error().message().toStdString();
    EXPECT_EQ(full.value().book.chapters.size(), MaxChapterRows);
    EXPECT_EQ(full.value().chaptersLeftOut, 5);

    // A damaged table of contents costs the chapters, not the book, and says so.
    const Result<ImportedBook> damaged =
        readEpub(edited(epubEntries({"<p>Text</p>"}, {}), {u"OEBPS/toc.ncx"_s, "<ncx><navMap <<"}),
                 u"in.epub"_s);
    ASSERT_TRUE(damaged.ok());
    EXPECT_EQ(damaged.value().book.text, u"Text"_s);
    EXPECT_TRUE(damaged.value().tableProblem.startsWith(u"its table of contents OEBPS/toc.ncx is "
                                                        "damaged"_s))
        << damaged.value().tableProblem.toStdString();

    QTemporaryDir dir;
    const QString deep = dir.filePath(u"deep.html"_s);
    writeBytes(deep, "<html><body>" + QByteArray("<font size=2>line<br>\n").repeated(300)
                         + "</body></html>");
    const Result<ImportedBook> page = importBook(deep);
    ASSERT_TRUE(page.ok()) << page.error().message().toStdString();
    EXPECT_EQ(page.value().book.text.count(u"line"_s), 300);
}

TEST(EpubImport, WebPagesGiveTheirTitleAndH1ToH3Headings)
{
    QTemporaryDir dir;
    const QString page = dir.filePath(u"page.HTM"_s);
    writeBytes(page, "<html><head><title> The\n Page </title></head><body><h1>Top</h1><p>a</p>"
                     "<h4>Small</h4><h3>Third <i>level</i></h3></body></html>");
    const Result<ImportedBook> read = importBook(page);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value().book,
              (Book{u"The Page"_s, QString(), QString(), rows(u"Top@ 0|Third level@ 21"_s),
                    u"Top\r\n\r\na\r\n\r\nSmall\r\n\r\nThird level"_s}));

    // Note references stand apart in brackets; a heading's title reads without them.
    writeBytes(page, "<html><body><h2>January 1659\u201360<a href='#n47'><sup>47</sup></a></h2>"
                     "<p>cold.<a epub:type='noteref' href='#n48'>48</a> I lived<sup><a "
                     "href='#n49'>49</a></sup>, <a href='other.html'>here</a>.</p></body></html>");
    const Result<ImportedBook> notes = importBook(page);
    ASSERT_TRUE(notes.ok());
    EXPECT_EQ(notes.value().book.text,
              u"January 1659\u201360[47]\r\n\r\ncold.[48] I lived[49], here."_s);
    EXPECT_EQ(notes.value().book.chapters, rows(u"January 1659\u201360@ 0"_s));
}

// Documents outside the reading order are read where the table of contents leads into them;
// an entry that is a number alone reads with its parent's label.
TEST(EpubImport, TheTableOfContentsLeadsIntoAuxiliaryDocumentsAndNamesNumbers)
{
    QList<ZipEntry> entries =
        epubEntries({"<p id='s1'>Verse</p>", "<p>Notes</p>", "<p>Cover</p>"},
                    "<li><a href='c1.xhtml'>Song</a><ol><li><a href='c1.xhtml#s1'>1</a></li><li><a "
                    "href='c2.xhtml'>2.</a></li></ol></li>");
    for (ZipEntry &entry : entries) {
        if (entry.name == u"OEBPS/content.opf"_s) {
            entry.bytes.replace("<itemref idref='c2'/>", "<itemref idref='c2' linear='no'/>");
            entry.bytes.replace("<itemref idref='c3'/>", "<itemref idref='c3' linear='no'/>");
        }
    }
    const Result<ImportedBook> read = readEpub(zipArchive(entries), u"in.epub"_s);
    ASSERT_TRUE(read.ok()) << read.error().message().toStdString();
    EXPECT_EQ(read.value().book.text, u"Verse\r\n\r\nNotes"_s);
    EXPECT_EQ(read.value().book.chapters, rows(u"Song@ 0|Song 1@ 0|Song 2.@ 9"_s));
}

// Web pages as a browser shows them.
TEST(EpubImport, WebPagesReadAsABrowserShowsThem)
{
    QTemporaryDir dir;
    const QString page = dir.filePath(u"page.html"_s);
    // The page's bytes, then its text and author.
    const std::tuple<const char *, QByteArray, QString, QString> cases[] = {
        {"undeclared bytes that are not UTF-8 are Windows-1252",
         "<html><body><p>\x93quoted\x94 \x80 5</p></body></html>",
         u"\u201Cquoted\u201D \u20AC 5"_s,
         {}},
        {"the XML declaration's encoding",
         "<?xml version='1.0' encoding='ISO-8859-15'?><html><body><p>\xA4</p></body></html>",
         u"\u20AC"_s,
         {}},
        {"spacer line breaks give one blank line at most",
         "<html><body><p>a</p><div><br/><br/><br/><br/></div><p>b<br/><br/><br/>c</p></body></"
         "html>",
         u"a\r\n\r\nb\r\n\r\nc"_s,
         {}},
        {"fallback content and form controls are no text; the author from the head",
         "<html><head><meta name='Author' content=' Ann  Lee '/></head><body><p>a<noscript>n"
         "</noscript><select><option>o</option></select><textarea>t</textarea><object>f</object>"
         "</p></body></html>",
         u"a"_s, u"Ann Lee"_s},
        {"the text elements of a drawing are lines",
         "<html><body><svg><text>2005.</text><text>Fratelli</text></svg></body></html>",
         u"2005.\r\nFratelli"_s,
         {}},
        {"CDATA as the text it holds",
         "<html><body><p><![CDATA[a < b & c]]> d</p></body></html>",
         u"a < b & c d"_s,
         {}},
        {"processing instructions end at the first > in HTML, at ?> in XML; comments stay",
         "<html><body><p>a<?php echo \"x>y\" ?>b<!-- <? -->c<? d > e ?></p></body></html>",
         u"ay\" ?>bc e ?>"_s,
         {}},
        {"processing instructions in XHTML",
         "<?xml version='1.0'?><html><body><p>a<?php echo \"x>y\" ?>b</p></body></html>",
         u"ab"_s,
         {}},
        {"a DOCTYPE's internal subset is not shown",
         "<!DOCTYPE html [ <!ENTITY x 'y'> ]><html><body><p>text</p></body></html>",
         u"text"_s,
         {}},
    };
    for (const auto &[name, bytes, text, author] : cases) {
        writeBytes(page, bytes);
        const Result<ImportedBook> read = importBook(page);
        ASSERT_TRUE(read.ok()) << name;
        EXPECT_EQ(read.value().book.text, text) << name;
        EXPECT_EQ(read.value().book.author, author) << name;
    }

    // The words of a title page set as headings start no chapter.
    writeBytes(page, "<html><body><h1>THE</h1><h2>by</h2><h1>Great Tale</h1><p>Once.</p>"
                     "<h2>Part Two</h2><h3>The End</h3><p>Done.</p></body></html>");
    EXPECT_EQ(importBook(page).value().book.chapters,
              rows(u"Great Tale@ 13|Part Two@ 36|The End@ 48"_s));
}

// Each real book's information, chapter count, a chapter and the text at its offset, and how the
// text ends.
TEST(EpubImport, RealBooksGiveTheirInfoAndChaptersOnTheirHeadings)
{
    const QDir folder(corpusDir() + u"/epub"_s);
    if (!folder.exists())
        GTEST_SKIP() << "no EPUB books in " << folder.path().toStdString();
    const std::tuple<const char *, QString, qsizetype, qsizetype, QString, QString> books[] = {
        {"pg11.epub", u"Alice's Adventures in Wonderland/Lewis Carroll"_s, 16, 3,
         u"CHAPTER I.\r\nDown the Rabbit-Hole"_s, u"hear about new eBooks."_s},
        {"pg1342-images.epub", u"Pride and Prejudice/Jane Austen"_s, 62, 1,
         u"Chapter 1\r\n\r\nIt is a truth"_s, u"hear about new eBooks."_s},
        {"moby-dick.epub", u"Moby-Dick/Herman Melville"_s, 141, 4,
         u"Chapter 1. Loomings.\r\n\r\nCall me Ishmael."_s,
         u"\r\nProduced by Daniel Lazarus and Jonesey"_s},
        {"childrens-literature.epub",
         u"Children's Literature/Charles Madison Curry & Erle Elsworth Clippinger"_s, 22, 4,
         u"1. The Rabbi and The Diadem"_s, u"\r\nThe Black Brothers."_s},
    };
    for (const auto &[file, info, chapters, row, heading, end] : books) {
        SCOPED_TRACE(file);
        const Result<ImportedBook> read = importBook(folder.filePath(QString::fromLatin1(file)));
        ASSERT_TRUE(read.ok()) << read.error().message().toStdString();
        const Book &book = read.value().book;
        EXPECT_EQ(book.title + u'/' + book.author, info);
        ASSERT_EQ(book.chapters.size(), chapters);
        EXPECT_EQ(book.text.mid(book.chapters[row].offset.trimmed().toLongLong(), heading.size()),
                  heading);
        EXPECT_TRUE(book.text.endsWith(end));
        EXPECT_FALSE(book.text.contains(u'<') && book.text.contains(u"</"_s));
    }
}

CleanerBoxes only(std::initializer_list<int> ticked)
{
    CleanerBoxes boxes{};
    for (const int box : ticked)
        boxes[box] = true;
    return boxes;
}

// Box 0: paragraphs become one line each, marked breaks one blank line, a break before the end
// a space. Box 1: every indent space becomes one more line break, tabs at line starts go.
// Box 2: straight double quotes, apostrophes back before a lower-case s. Box 3: every run of
// line breaks becomes one. Box 4: every tab goes. Box 5: one scan, pairs of spaces become one.
// Box 7: each character takes its nearest storable form, a sign without a letter its plain form
// ("≤" as "<=", a box's corner as "+", "⓫" as "11"), what the code page holds stays as it is;
// an emoji, a private-use character, a lone surrogate or an accent on no letter is one "?".
// Boxes together run in box order, each on the result of the one before.
TEST(TextCleaner, EachBoxMakesItsReplacementsInOrder)
{
    const QString CRLF = u"\r\n"_s;
    const std::tuple<QString, CleanerBoxes, QString> cases[] = {
        {u"one\r\ntwo\r\n\r\nthree"_s, only({0}), u"one two\r\n\r\nthree"_s},
        {u"one\r\n  two"_s, only({0}), u"one\r\n\r\n two"_s},
        {u"a"_s + CRLF.repeated(3) + u"b"_s, only({0}), u"a\r\n\r\n b"_s},
        {u"a"_s + CRLF.repeated(4) + u"b"_s, only({0}), u"a"_s + CRLF.repeated(4) + u"b"_s},
        {u"end\r\n"_s, only({0}), u"end "_s},
        {u"a\r\n   b"_s, only({1}), u"a"_s + CRLF.repeated(4) + u"b"_s},
        {u"a\r\n\t\tb\tc"_s, only({1}), u"a\r\nb\tc"_s},
        {u"a\r\n\t b"_s, only({1}), u"a\r\n b"_s},
        {u"  a"_s, only({1}), u"  a"_s},
        {u"\u201CIt's John's.\u201D"_s, only({2}), u"\"It's John's.\""_s},
        {u"don't `quoted'"_s, only({2}), u"don\"t \"quoted\""_s},
        {u"he said \u201Cso\u201D"_s, only({2}), u"he said 'so\""_s},
        {u"\"so\r\n\"so x\"S"_s, only({2}), u"\"so\r\n\"so x\"S"_s},
        {u"a\"s\"s"_s, only({2}), u"a's's"_s},
        {u"a"_s + CRLF.repeated(5) + u"b\r\nc"_s, only({3}), u"a\r\nb\r\nc"_s},
        {u"\ta\tb\t"_s, only({4}), u"ab"_s},
        {u"a   b    c     d"_s, only({5}), u"a  b  c   d"_s},
        {u"one\r\ntwo\r\n\r\nthree"_s, only({0, 3}), u"one two\r\nthree"_s},
        {u"a\r\n  b"_s, only({1, 3}), u"a\r\nb"_s},
        {u"a \t b"_s, only({4, 5}), u"a b"_s},
        {QString(), only({0, 1, 2, 3, 4, 5}), QString()},
        {u"Лев Толстой, ёж; Я"_s, only({7}), u"Lev Tolstoj, ëž; Â"_s},
        {u"Σωκράτης, Łódź, \uFB01n \uFF21, e\u0301"_s, only({7}), u"Sokrátes, Lódz, fin A, é"_s},
        {u"中文 \U0001F600"_s + QChar(0xD800), only({7}), u"zhong wén ??"_s},
        {u"é — “x” … ½ € ™ ‘y’ Ÿ"_s, only({7}), u"é — “x” … ½ € ™ ‘y’ Ÿ"_s},
        {u"a ≤ b ≥ c ≠ d, x → y ⇒ z, 「言」・ー،؟ ⸺ ⸻ −1"_s, only({7}),
         u"a <= b >= c != d, x -> y => z, \"y\u00E1n\"\u00B7-,? -- --- -1"_s},
        {u"x′ ≈ 2 × 3 ÷ y″, √2 ∂x ≡ ∞ ∓ ∼ ≪ ≰ ⩽"_s, only({7}),
         u"x' ~ 2 × 3 ÷ y'', sqrt2 dx == infinity -+ ~ << !<= <="_s},
        {u"↑ ↓ ↔ ⟶ ⇌ ⬅ ↻"_s, only({7}), u"^ v <-> -> -> <- ?"_s},
        {u"℟. ℣. ℃ № ⅋ ‽ ※ ⁂ ‣ ⁃ ‵"_s, only({7}), u"R. V. °C No & ?! * *** * - `"_s},
        {u"a\u2009b\u3000c\u200Bd\u2060e\u2010f\u2012g\u2E17h\u2028i"_s, only({7}),
         u"a b cde-f-g-h\r\ni"_s},
        {u"【注】〔一〕〜《书》、。｢ｶﾅ｣！"_s, only({7}), u"[zhù][yi]~<<shu>>,.\"kana\"!"_s},
        {u"सोऽहम्। चाँद॥ সোঽহম্"_s, only({7}), u"so'ham. camda. so'ham"_s},
        {u"x² H₂O ⓫ ⑫ ⒜ ❸ ١٢"_s, only({7}), u"x² H2O 11 12 (a) 3 12"_s},
        {u"┌─┐\r\n│ │\r\n╚═╝"_s, only({7}), u"+-+\r\n| |\r\n+=+"_s},
        {u"\uE000 q\u0303 \u0303 ЛЬВОВ ■■"_s, only({7}), u"? q ? L'VOV ##"_s},
        {u"₽5 ₩ ▲ ► ▽ ● □ ◆ ★ ✓ ✗ ✚ ˝ ˜ ˘"_s, only({7}),
         u"ruble5 won ^ > v o [] <> * v x + ' ˜ ^"_s},
    };
    for (const auto &[text, boxes, cleaned] : cases)
        EXPECT_EQ(CleanText(text, boxes), cleaned) << text.toStdString();
}

// Lines joined with CR LF in, the body and "title/author" out.
// Lines end at CR LF, LF or a lone CR, whichever kinds a text mixes; the text's end closes the
// last line, which is empty after a final break.
TEST(TextLines, EveryKindOfBreakEndsOneLine)
{
    const std::pair<QString, QStringList> cases[] = {
        {u""_s, {u""_s}},
        {u"a\r\nb\r\n"_s, {u"a"_s, u"b"_s, u""_s}},
        {u"a\nb"_s, {u"a"_s, u"b"_s}},
        {u"a\rb\r"_s, {u"a"_s, u"b"_s, u""_s}},
        {u"a\r\rb"_s, {u"a"_s, u""_s, u"b"_s}},
        {u"\r\n\r\na\r\n"_s, {u""_s, u""_s, u"a"_s, u""_s}},
        {u"a\rb\r\nc\nd\n\re"_s, {u"a"_s, u"b"_s, u"c"_s, u"d"_s, u""_s, u"e"_s}},
        {u"a\n\r\nb"_s, {u"a"_s, u""_s, u"b"_s}},
        {QString(100, u'a') + u"\r\nb\rc\r\n"_s + QString(100, u'a'),
         {QString(100, u'a'), u"b"_s, u"c"_s, QString(100, u'a')}},
    };
    for (const auto &[text, expected] : cases) {
        QStringList lines;
        for (const TextLine &line : splitTextLines(text))
            lines.append(line.in(text).toString());
        EXPECT_EQ(lines, expected)
            << QString(text).replace(u'\r', u"\\r"_s).replace(u'\n', u"\\n"_s).toStdString();
    }
}

TEST(GutenbergFrame, KeepsExactlyTheBodyBetweenTheMarkers)
{
    const QString licence = u"*** END OF THE PROJECT GUTENBERG EBOOK X ***\nSection 1."_s;
    const std::tuple<QString, QString, QString> cases[] = {
        {u"The Project Gutenberg eBook of X\nTitle: X\nAuthor: Y\n"
         "*** START OF THE PROJECT GUTENBERG EBOOK X ***\n\n  CHAPTER I\n\nText.\n\n"_s
             + licence,
         u"  CHAPTER I\n\nText."_s, u"X/Y"_s},
        {u"Title: X\n***start of this project gutenberg ebook x***\n\nProduced by A,\nand B\n\n"
         "Body\n\nEnd of the Project Gutenberg EBook of X\n*** END OF THIS PROJECT ..."_s,
         u"Body"_s, u"X/"_s},
        {u"Title: X\n*END*THE SMALL PRINT! FOR PUBLIC DOMAIN ETEXTS*Ver.04.29.93*END*\nBody\n"
         "End of Project Gutenberg Etext of X\n***START**THE SMALL PRINT!**FOR PUBLIC DOMAIN "
         "EBOOKS**START***\n*END THE SMALL PRINT! FOR PUBLIC DOMAIN EBOOKS*Ver.02/11/02*END*"_s,
         u"Body"_s, u"X/"_s},
        {u"Title: X\n\nAuthor: Y\nZ, and W\n\nBody\n\nEnd of Project Gutenberg\u2019s X\nLicence"_s,
         u"Title: X\n\nAuthor: Y\nZ, and W\n\nBody"_s, u"X/Y"_s},
        {u"Title: The Long\n       Title\nAuthor: A\n    and B\n"
         "*** START OF THE PROJECT GUTENBERG EBOOK ***\nBody"_s,
         u"Body"_s, u"The Long Title/A and B"_s},
        {u"*** START OF THE PROJECT GUTENBERG EBOOK X ***\nProduced by A\nBODY\n1\n2\n3\n4\n5\n6\n7\n8"_s,
         u"BODY\n1\n2\n3\n4\n5\n6\n7\n8"_s, u"/"_s},
        {u"\nTitle: X\nBody mentions the Project Gutenberg EBook\n"_s,
         u"\nTitle: X\nBody mentions the Project Gutenberg EBook\n"_s, u"/"_s},
    };
    for (const auto &[lines, body, info] : cases) {
        const CleanOutcome outcome = Clean(normalizeLineBreaks(lines), only({GutenbergFrameBox}));
        EXPECT_EQ(outcome.text, normalizeLineBreaks(body)) << lines.toStdString();
        EXPECT_EQ(outcome.frame.title + u'/' + outcome.frame.author, info);
    }
}

} // namespace
