#include "import/bookimport.h"

#include "epubfiles.h"
#include "testfiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unicode/ucnv.h>

using namespace Qt::StringLiterals;

namespace {

// text in the named encoding, by ICU's converters.
QByteArray encoded(const QString &text, const char *encoding)
{
    UErrorCode status = U_ZERO_ERROR;
    QByteArray bytes(text.size() * 4 + 8, '\0');
    const int32_t length =
        ucnv_convert(encoding, "UTF-16LE", bytes.data(), int32_t(bytes.size()),
                     reinterpret_cast<const char *>(text.utf16()), int32_t(text.size() * 2),
                     &status);
    EXPECT_TRUE(U_SUCCESS(status)) << encoding;
    bytes.truncate(length);
    return bytes;
}

Result<ImportedBook> imported(const QString &name, const QByteArray &bytes)
{
    static QTemporaryDir dir;
    writeBytes(dir.filePath(name), bytes);
    Result<ImportedBook> read = importBook(dir.filePath(name));
    if (!read)
        read = FileError{name, read.error().problem};
    return read;
}

const QString Russian = u"Глава первая\r\n\r\nБыл тёплый летний вечер. Мальчик сидел у окна и "
                        "смотрел, как по улице идут люди. Никто не знал, что завтра всё "
                        "изменится.\r\n\r\nГлава вторая\r\n\r\nУтром пошёл дождь, и город стал "
                        "серым и тихим. Мать позвала его завтракать, но он не ответил."_s;
const QString Japanese = u"第一章\r\n\r\n吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当が"
                         "つかぬ。何でも薄暗いじめじめした所でニャーニャー泣いていた事だけは記憶"
                         "している。"_s;

// A text file's encoding: a byte-order mark decides, then UTF-8, then the detector where it is
// sure, then Windows-1252; what is plainly no text is refused and named.
TEST(Formats, TextInAnyEncodingAndNothingThatIsNoText)
{
    // The file's bytes, the text read, and the encoding the user is told of.
    const std::tuple<const char *, QByteArray, QString, QString> texts[] = {
        {"UTF-16 LE with its mark", "\xFF\xFE" + encoded(Russian, "UTF-16LE"), Russian,
         u"UTF-16LE"_s},
        {"UTF-16 BE with its mark", "\xFE\xFF" + encoded(Russian, "UTF-16BE"), Russian,
         u"UTF-16BE"_s},
        {"UTF-32 LE with its mark", QByteArray("\xFF\xFE\0\0", 4) + encoded(Russian, "UTF-32LE"),
         Russian, u"UTF-32LE"_s},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + Russian.toUtf8(), Russian, {}},
        {"Windows-1251", encoded(Russian, "windows-1251"), Russian, u"windows-1251"_s},
        {"KOI8-R", encoded(Russian, "KOI8-R"), Russian, u"KOI8-R"_s},
        {"Shift_JIS", encoded(Japanese, "Shift_JIS"), Japanese, u"Shift_JIS"_s},
        {"GB18030", encoded(Japanese, "GB18030"), Japanese, u"GB18030"_s},
        {"Windows-1252, too short to tell", "caf\xE9 \x93quoted\x94\n",
         u"caf\u00E9 \u201Cquoted\u201D\r\n"_s, {}},
    };
    for (const auto &[name, bytes, text, encoding] : texts) {
        const Result<ImportedBook> read = imported(u"book.txt"_s, bytes);
        ASSERT_TRUE(read.ok()) << name;
        EXPECT_EQ(read.value().book.text, text) << name;
        EXPECT_EQ(read.value().encoding, encoding) << name;
    }

    // The name, the bytes, and a piece of the message that refuses them.
    const std::tuple<QString, QByteArray, QString> refused[] = {
        {u"picture.txt"_s, "\x89PNG\r\n\x1A\n" + QByteArray(200, 'x'), u"is an image"_s},
        {u"archive.txt"_s, zipArchive({{u"a.bin"_s, "x"}}), u"is a ZIP archive"_s},
        {u"paper.txt"_s, "%PDF-1.4\n" + QByteArray(100, 'x'), u"is a PDF document"_s},
        {u"program.txt"_s, QByteArray("\x01\x02\x03\x04 text", 9).repeated(100),
         u"binary data"_s},
    };
    for (const auto &[name, bytes, problem] : refused) {
        const Result<ImportedBook> read = imported(name, bytes);
        ASSERT_FALSE(read.ok()) << name.toStdString();
        EXPECT_TRUE(read.error().problem.contains(problem)) << read.error().problem.toStdString();
    }
}

// The information and chapters of a book in each format read alongside the text.
struct Expected
{
    QString title, author, synopsis;
    QString rows; // "title@offset|..."
    QString text;
};

void expectBook(const Result<ImportedBook> &read, const Expected &expected, const char *name)
{
    ASSERT_TRUE(read.ok()) << name << ": " << read.error().message().toStdString();
    const Book &book = read.value().book;
    EXPECT_EQ(book.title, expected.title) << name;
    EXPECT_EQ(book.author, expected.author) << name;
    EXPECT_EQ(book.synopsis, expected.synopsis) << name;
    EXPECT_EQ(book.chapters, rows(expected.rows)) << name;
    EXPECT_EQ(book.text, expected.text) << name;
}

const QByteArray FictionBook = R"(<?xml version="1.0" encoding="UTF-8"?>
<FictionBook xmlns="http://www.gribuser.ru/xml/fictionbook/2.0" xmlns:l="http://www.w3.org/1999/xlink">
<description><title-info><author><first-name>Leo</first-name><last-name>Tolstoy</last-name>
</author><author><nickname>Anon</nickname></author><book-title>War</book-title>
<annotation><p>A novel.</p><p>Long.</p></annotation></title-info></description>
<body><title><p>War</p></title><section><title><p>Part One</p></title>
<section><title><p>I</p></title><epigraph><p>Motto</p><text-author>Someone</text-author></epigraph>
<p>Text of <emphasis>one</emphasis>.<a l:href="#n1" type="note">1</a></p>
<poem><stanza><v>Line one</v><v>Line two</v></stanza></poem></section>
<section><title><p>II</p></title><p>Second.</p></section></section></body>
<body name="notes"><section id="n1"><title><p>1</p></title><p>A note.</p></section></body>
</FictionBook>)";

const Expected FictionBookRead = {
    u"War"_s, u"Leo Tolstoy & Anon"_s, u"A novel.\r\n\r\nLong."_s,
    u"Part One@ 7|Part One I@ 19|Part One II@ 85"_s,
    u"War\r\n\r\nPart One\r\n\r\nI\r\n\r\nMotto\r\n\r\nSomeone\r\n\r\nText of one.[1]\r\n\r\n"
    "Line one\r\nLine two\r\n\r\nII\r\n\r\nSecond.\r\n\r\n1\r\n\r\nA note."_s};

TEST(Formats, FictionBooksGiveTheirSectionsAsChapters)
{
    expectBook(imported(u"war.fb2"_s, FictionBook), FictionBookRead, "a FictionBook");
    expectBook(imported(u"war.fb2.zip"_s, zipArchive({{u"war.fb2"_s, FictionBook}})),
               FictionBookRead, "a FictionBook in an archive");
    const Result<ImportedBook> entities = imported(
        u"bomb.fb2"_s, "<?xml version='1.0'?><!DOCTYPE f [<!ENTITY a 'aaaa'>]><FictionBook/>");
    ASSERT_FALSE(entities.ok());
    EXPECT_TRUE(entities.error().problem.contains(u"entities"_s));
}

TEST(Formats, DocumentsAndMarkdownGiveTheirHeadingsAsChapters)
{
    const QByteArray word = R"(<?xml version="1.0"?>
<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>
<w:p><w:pPr><w:pStyle w:val="Heading1"/></w:pPr><w:r><w:t>Chapter One</w:t></w:r></w:p>
<w:p><w:r><w:t xml:space="preserve">The sea was </w:t></w:r><w:del><w:r><w:delText>very </w:delText>
</w:r></w:del><w:ins><w:r><w:t>calm</w:t></w:r></w:ins><w:r><w:commentReference w:id="0"/></w:r>
<w:r><w:t>.</w:t><w:br/><w:t>Next</w:t></w:r></w:p>
<w:p><w:pPr><w:pStyle w:val="Heading2"/></w:pPr><w:r><w:t>A Part</w:t></w:r></w:p>
<w:tbl><w:tr><w:tc><w:p><w:r><w:t>c1</w:t></w:r></w:p></w:tc><w:tc><w:p><w:r><w:t>c2</w:t></w:r>
</w:p></w:tc></w:tr></w:tbl><w:p><w:pPr><w:outlineLvl w:val="0"/></w:pPr><w:r><w:t>Two</w:t>
</w:r></w:p></w:body></w:document>)";
    const QByteArray properties =
        "<cp:coreProperties xmlns:cp='c' xmlns:dc='http://purl.org/dc/elements/1.1/'><dc:title>"
        "The Sea</dc:title><dc:creator>Ann Lee</dc:creator></cp:coreProperties>";
    expectBook(imported(u"sea.docx"_s,
                        zipArchive({{u"[Content_Types].xml"_s, "<Types/>"},
                                    {u"word/document.xml"_s, word},
                                    {u"docProps/core.xml"_s, properties}})),
               {u"The Sea"_s, u"Ann Lee"_s, {}, u"Chapter One@ 0|A Part@ 42|Two@ 61"_s,
                u"Chapter One\r\n\r\nThe sea was calm.\r\nNext\r\n\r\nA Part\r\n\r\nc1 c2\r\n\r\n"
                "Two"_s},
               "a Word document");

    const QByteArray content = R"(<?xml version="1.0"?>
<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body><office:text>
<text:tracked-changes><text:changed-region><text:deletion><text:p>gone</text:p></text:deletion>
</text:changed-region></text:tracked-changes><text:h text:outline-level="1">Chapter One</text:h>
<text:p>The sea<text:s text:c="2"/>was calm.<text:note><text:note-citation>1</text:note-citation>
<text:note-body><text:p>A note.</text:p></text:note-body></text:note><office:annotation>
<text:p>a comment</text:p></office:annotation></text:p><text:h text:outline-level="4">Deep</text:h>
<text:h text:outline-level="2">Two</text:h><text:p>End.<text:line-break/>Next</text:p>
</office:text></office:body></office:document-content>)";
    const QByteArray meta =
        "<office:document-meta xmlns:office='o' xmlns:meta='m' xmlns:dc='d'><office:meta>"
        "<dc:title>The Sea</dc:title><meta:initial-creator>Ann Lee</meta:initial-creator>"
        "<dc:creator>Editor</dc:creator></office:meta></office:document-meta>";
    expectBook(imported(u"sea.odt"_s,
                        zipArchive({{u"mimetype"_s, "application/vnd.oasis.opendocument.text"},
                                    {u"content.xml"_s, content},
                                    {u"meta.xml"_s, meta}})),
               {u"The Sea"_s, u"Ann Lee"_s, {}, u"Chapter One@ 0|Two@ 47"_s,
                u"Chapter One\r\n\r\nThe sea was calm.[1]\r\n\r\nDeep\r\n\r\nTwo\r\n\r\n"
                "End.\r\nNext"_s},
               "an OpenDocument text");

    expectBook(imported(u"sea.md"_s, "---\ntitle: \"The Sea\"\nauthor:\n  - Ann Lee\n  - Bob\n"
                                     "---\n\n# Chapter One\n\nThe *sea* was calm.\n\n## A Part"
                                     "\n\n[A link](http://x).\n\n# Two\n\n- one\n- two\n"),
               {u"The Sea"_s, u"Ann Lee & Bob"_s, {},
                u"Chapter One@ 0|A Part@ 36|Two@ 57"_s,
                u"Chapter One\r\n\r\nThe sea was calm.\r\n\r\nA Part\r\n\r\nA link.\r\n\r\nTwo"
                "\r\n\r\none\r\ntwo"_s},
               "a Markdown book");
}

} // namespace
