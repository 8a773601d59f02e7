#include "import/bookimport.h"

#include "epubfiles.h"
#include "formatfiles.h"
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
    const int32_t length = ucnv_convert(encoding, "UTF-16LE", bytes.data(), int32_t(bytes.size()),
                                        reinterpret_cast<const char *>(text.utf16()),
                                        int32_t(text.size() * 2), &status);
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
        {"Windows-1252, too short to tell",
         "caf\xE9 \x93quoted\x94\n",
         u"caf\u00E9 \u201Cquoted\u201D\r\n"_s,
         {}},
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
        {u"program.txt"_s, QByteArray("\x01\x02\x03\x04 text", 9).repeated(100), u"binary data"_s},
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

// Whether the book's text is compared too, or only its information and chapter rows.
enum class TextChecked { Yes, No };

void expectBook(const Result<ImportedBook> &read, const Expected &expected, const char *name,
                TextChecked text = TextChecked::Yes)
{
    ASSERT_TRUE(read.ok()) << name << ": " << read.error().message().toStdString();
    const Book &book = read.value().book;
    EXPECT_EQ(book.title, expected.title) << name;
    EXPECT_EQ(book.author, expected.author) << name;
    EXPECT_EQ(book.synopsis, expected.synopsis) << name;
    EXPECT_EQ(book.chapters, rows(expected.rows)) << name;
    if (text == TextChecked::Yes) {
        EXPECT_EQ(book.text, expected.text) << name;
    }
}

const Expected FictionBookRead = {
    u"War"_s, u"Leo Tolstoy & Anon"_s, u"A novel.\r\n\r\nLong."_s,
    u"Part One@ 7|Part One I@ 19|Part One II@ 93"_s,
    u"War\r\n\r\nPart One\r\n\r\nI\r\n\r\nMotto\r\n\r\nSomeone\r\n\r\nText of one & <two>.{1}\r\n\r\n"
    "Line one\r\nLine two\r\n\r\nII\r\n\r\nSecond.\r\n\r\n1\r\n\r\nA note."_s};

TEST(Formats, FictionBooksGiveTheirSectionsAsChapters)
{
    expectBook(imported(u"war.fb2"_s, FictionBook), FictionBookRead, "a FictionBook");
    expectBook(imported(u"war.fb2.zip"_s, zipArchive({{u"war.fb2"_s, FictionBook}})),
               FictionBookRead, "a FictionBook in an archive");
    // Elements the format does not define keep their words, a list's items each a paragraph.
    expectBook(imported(u"list.fb2"_s,
                        "<FictionBook><description><title-info><book-title>L</book-title>"
                        "</title-info></description><body><section><title><p>One</p></title>"
                        "<list><item>First <strong>item</strong></item><item><p>Second</p>"
                        "</item>loose &lt;i&gt; words</list><note-block><p>Kept</p></note-block>"
                        "</section></body></FictionBook>"),
               {u"L"_s,
                {},
                {},
                u"One@ 0"_s,
                u"One\r\n\r\nFirst item\r\n\r\nSecond\r\n\r\nloose <i> words\r\n\r\nKept"_s},
               "a FictionBook with elements of its own");
    // Sections without titles: the standing bold paragraphs are the chapters, or else the
    // headings the detector finds.
    const QByteArray prose = QByteArray("<p>It was a long day, and the road ran on past the "
                                        "river and the mill, and on.</p>")
                                 .repeated(6);
    expectBook(imported(u"bold.fb2"_s, "<FictionBook><body><section><p><strong>The Storm</strong>"
                                       "</p>"
                                           + prose
                                           + "</section><section><p><strong>The Calm That Came After "
                                             "the Storm, When the Sea Lay Still Under a Low Grey "
                                             "Sky.</strong></p><p>Still <strong>water</strong>.</p>"
                                             "</section></body></FictionBook>"),
               {{}, {}, {}, u"The Storm@ 0|The Calm That Came After the Storm\u2026@ 487"_s, {}},
               "standing bold titles, the longest of 80 characters",
               TextChecked::No);
    expectBook(imported(u"plain.fb2"_s, "<FictionBook><body><section><p>CHAPTER I</p>" + prose
                                            + "</section><section><p>CHAPTER II</p>" + prose
                                            + "</section></body></FictionBook>"),
               {{}, {}, {}, u"CHAPTER I@0|CHAPTER II@487"_s, {}}, "the detector's headings",
               TextChecked::No);
    const Result<ImportedBook> entities = imported(
        u"bomb.fb2"_s, "<?xml version='1.0'?><!DOCTYPE f [<!ENTITY a 'aaaa'>]><FictionBook/>");
    ASSERT_FALSE(entities.ok());
    EXPECT_TRUE(entities.error().problem.contains(u"entities"_s));
}

TEST(Formats, DocumentsAndMarkdownGiveTheirHeadingsAsChapters)
{

    expectBook(imported(u"sea.docx"_s, wordDocument()),
               {u"The Sea"_s,
                u"Ann Lee"_s,
                {},
                u"Chapter One@ 0|A Part@ 42|Two@ 70"_s,
                u"Chapter One\r\n\r\nThe sea was calm.\r\nNext\r\n\r\nA Part\r\n\r\nc&amp;1 <b> c2\r\n\r\n"
                "Two"_s},
               "a Word document");

    expectBook(imported(u"sea.odt"_s, openDocument()),
               {u"The Sea"_s,
                u"Ann Lee"_s,
                {},
                u"Chapter One@ 0|Two@ 47|Three@ 78"_s,
                u"Chapter One\r\n\r\nThe sea was calm.[1]\r\n\r\nDeep\r\n\r\nTwo\r\n\r\n"
                "End &amp; <b>.\r\nNext\r\n\r\nThree"_s},
               "an OpenDocument text");

    expectBook(imported(u"sea.md"_s, MarkdownBook),
               {u"The Sea"_s,
                u"Ann Lee & Bob"_s,
                {},
                u"Chapter One@ 0|A Part@ 36|Deep@ 57|Two@ 65"_s,
                u"Chapter One\r\n\r\nThe sea was calm.\r\n\r\nA Part\r\n\r\nA link.\r\n\r\nDeep"
                "\r\n\r\nTwo"
                "\r\n\r\none\r\ntwo"_s},
               "a Markdown book");
    expectBook(imported(u"matter.md"_s, "---\ntitle: Only Matter\nauthors: Ann Lee\n---"),
               {u"Only Matter"_s, u"Ann Lee"_s, {}, {}, {}}, "a Markdown book of a YAML block alone");
}

TEST(Formats, KindleBooksGiveTheirTextContentsAndInformation)
{

    expectBook(imported(u"sea.mobi"_s, kindleBook(KindleHtml)),
               {u"The Sea"_s,
                u"Ann Lee"_s,
                u"A calm sea & a ship."_s,
                u"Chapter One@ 0|Chapter Two@ 36"_s,
                u"Chapter One\r\n\r\nThe sea was calm.\r\n\r\nChapter Two\r\n\r\nThe sea rose."_s},
               "a Kindle book");
    // Its own table of contents gives the rows, labelled as it labels them.
    expectBook(imported(u"contents.azw3"_s, kindleBook(KindleHtml, 0,
                                                       {{"One: Calm", "<h1>Chapter One"},
                                                        {"Two: Rising", "<h1>Chapter Two"},
                                                        {"The sea rose", "<p>The sea rose"}})),
               {u"The Sea"_s,
                u"Ann Lee"_s,
                u"A calm sea & a ship."_s,
                u"One: Calm@ 0|Two: Rising@ 36|The sea rose@ 51"_s,
                u"Chapter One\r\n\r\nThe sea was calm.\r\n\r\nChapter Two\r\n\r\nThe sea rose."_s},
               "a Kindle book with a table of contents");
    const Result<ImportedBook> locked = imported(u"locked.azw"_s, kindleBook(KindleHtml, 2));
    ASSERT_FALSE(locked.ok());
    EXPECT_TRUE(locked.error().problem.contains(u"DRM"_s)) << locked.error().problem.toStdString();
}

} // namespace
