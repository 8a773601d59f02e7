#include "batchtoolrun.h"
#include "pdffiles.h"
#include "testfiles.h"

#include "import/bookformat.h"
#include "import/bookimport.h"
#include "import/pdfimport.h"

#include <QFile>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

const QString Blank = u"\r\n\r\n"_s;

QList<PdfRun> operator+(QList<PdfRun> runs, const PdfRun &run)
{
    runs.append(run);
    return runs;
}

// The text lines written for courierLines read as: a paragraph's lines joined by spaces,
// paragraphs apart by a blank line.
QString readAs(const QList<QByteArray> &lines)
{
    QString text;
    for (const QByteArray &line : lines) {
        const QString words = QString::fromLatin1(line).remove(u'>').remove(u'|');
        text += (text.isEmpty() ? u""_s : line.startsWith('>') ? Blank : u" "_s) + words;
    }
    return text;
}

// Chapter rows "title@ offset|...", each at its heading's first place in the text.
QString rowsAt(const QString &text, const QList<std::pair<QString, QString>> &rows)
{
    QStringList written;
    for (const auto &[title, heading] : rows)
        written.append(title + u"@ "_s + QString::number(text.indexOf(heading)));
    return written.join(u'|');
}

// Running heads (with the page's number, or without it on two pages) and a page number at the
// foot go; a sentence, and a word broken by a hyphen, read across the page as one; the book's
// own words decide which hyphens at a line's end are kept; a dash joins as within a line.
PdfBook runningHeads()
{
    return pdfPages(
        {courierLines({">It was the best of times, it was the worst of", "times.|",
                       ">The door-nail was dead as a door-nail, and the",
                       "knowledge of that was general; every sailor", "aboard had the knowl-"})
             + PdfRun{190, 580, 10, "1", "F2"},
         courierLines({"edge that the sea was rising. There was a door-", "nail on the deck.|",
                       ">Nothing else was said of the matter that night\x96",
                       "but the captain kept a careful watch upon the"})
             + PdfRun{40, 40, 9, "2    THE LONG VOYAGE", "F2"},
         courierLines({"sky until the morning came.|"})
             + PdfRun{40, 40, 9, "CHAPTER THE FIRST    3", "F2"},
         courierLines({">The end came soon.|"}) + PdfRun{40, 40, 9, "THE LONG VOYAGE", "F2"}});
}

const QList<QByteArray> LeftColumn = {
    ">The left column begins the page and runs", "down to its foot, where the words go on in",
    "the right column.|", ">A second paragraph of the left column",
    "follows the first and ends the column.|"};
const QList<QByteArray> RightColumn = {">The right column holds its own paragraphs,",
                                       "which the reader comes to last.|",
                                       ">It ends the page with the last words.|"};

// A footnote in smaller type at the page's foot, called by a raised number, goes after the
// paragraph that calls it, marked as the other formats mark notes.
PdfBook footnote()
{
    return pdfPages({courierLines({">The house stood at the end of the lane, where",
                                   "the village spoke of it with awe and wonder|",
                                   ">Nobody had lived in it for a long time.|"})
                     + PdfRun{40 + 39 * 6, 88, 6, "1", "F2"}
                     + PdfRun{40, 560, 8, "1 Built in 1820 by a sea captain who", "F2"}
                     + PdfRun{40, 569, 8, "never came home.", "F2"}});
}

// Outline entries start chapters at their headings' lines under the outline's labels, a
// section's too; the title page gives title and author.
PdfBook outlined()
{
    PdfBook book =
        pdfPages({{{100, 200, 24, "THE BOOK"}, {120, 240, 12, "by Jane Roe"}},
                  courierLines({">The first chapter tells how it all began.|"}, 160)
                      + PdfRun{40, 120, 18, "Chapter 1"},
                  courierLines({">The second chapter goes on.|"}, 160)
                      + PdfRun{40, 120, 18, "Chapter 2"} + PdfRun{40, 205, 14, "A Part of It"}
                      + courierLines({">And here the part ends the book.|"}, 230).first()});
    book.outline = {{"The Beginning", 1, 100, {}},
                    {"The Sequel", 2, 100, {{"Its Part", 2, 190, {}}}}};
    return book;
}

// Without an outline, headings set larger than the text start chapters (not the title set
// large on its page); Info's author, and the XMP title where Info's is a file's name, stand
// before the title page's.
PdfBook headings()
{
    PdfBook book =
        pdfPages({{{100, 200, 24, "A Title Page"}},
                  courierLines({">The first words.|"}, 160) + PdfRun{40, 120, 18, "CHAPTER ONE"},
                  courierLines({">The last words.|"}, 160) + PdfRun{40, 120, 18, "CHAPTER TWO"}});
    book.title = "draft.tex";
    book.xmpTitle = "Meta Title";
    book.author = "Meta Author";
    return book;
}

TEST(PdfImport, PagesReadAsTheBookReads)
{
    struct Case
    {
        const char *name;
        PdfBook pdf;
        QString text;
        QList<std::pair<QString, QString>> rows = {}; // label, the heading line it starts at
        QString title = {}, author = {};
    };
    const Case cases[] = {
        {"running heads and a page crossed", runningHeads(),
         u"It was the best of times, it was the worst of times."_s + Blank
             + u"The door-nail was dead as a door-nail, and the knowledge of that was general; "
               "every sailor aboard had the knowledge that the sea was rising. There was a "
               "door-nail on the deck."_s
             + Blank
             + u"Nothing else was said of the matter that night\u2013but the captain kept a "
               "careful watch upon the sky until the morning came."_s
             + Blank + u"The end came soon."_s},
        {"two columns under a title across both",
         pdfPages({QList<PdfRun>{{60, 60, 18, "Two Columns"}} + courierLines(LeftColumn, 80, 30)
                   + courierLines(RightColumn, 80, 330)},
                  630, 792),
         u"Two Columns"_s + Blank + readAs(LeftColumn + RightColumn),
         {{u"Two Columns"_s, u"Two Columns"_s}}},
        {"a footnote", footnote(),
         u"The house stood at the end of the lane, where the village spoke of it with awe and "
         "wonder[1]"_s
             + Blank + u"[1] Built in 1820 by a sea captain who never came home."_s + Blank
             + u"Nobody had lived in it for a long time."_s},
        {"a drop capital, ligatures, a soft hyphen where a name breaks",
         pdfPages({{{40, 92, 30, "M"},
                    {65, 80, 10, "arley was dead, to begin with. There is no"},
                    {65, 92, 10, "doubt whatever about that, said Mac\x82"},
                    {40, 104, 10, "Donald. The \x80rst \x81oor was empty."}}}),
         u"Marley was dead, to begin with. There is no doubt whatever about that, said "
         "MacDonald. The first floor was empty."_s},
        {"an outline",
         outlined(),
         u"THE BOOK"_s + Blank + u"by Jane Roe"_s + Blank + u"Chapter 1"_s + Blank
             + u"The first chapter tells how it all began."_s + Blank + u"Chapter 2"_s + Blank
             + u"The second chapter goes on."_s + Blank + u"A Part of It"_s + Blank
             + u"And here the part ends the book."_s,
         {{u"The Beginning"_s, u"Chapter 1"_s},
          {u"The Sequel"_s, u"Chapter 2"_s},
          {u"Its Part"_s, u"A Part of It"_s}},
         u"THE BOOK"_s,
         u"Jane Roe"_s},
        {"headings by their type",
         headings(),
         u"A Title Page"_s + Blank + u"CHAPTER ONE"_s + Blank + u"The first words."_s + Blank
             + u"CHAPTER TWO"_s + Blank + u"The last words."_s,
         {{u"CHAPTER ONE"_s, u"CHAPTER ONE"_s}, {u"CHAPTER TWO"_s, u"CHAPTER TWO"_s}},
         u"Meta Title"_s,
         u"Meta Author"_s},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        const Result<ImportedBook> imported = readPdfBook(pdfBook(each.pdf), u"book.pdf"_s);
        ASSERT_TRUE(imported.ok()) << imported.error().message().toStdString();
        const Book &book = imported.value().book;
        EXPECT_EQ(book.text, each.text);
        if (!each.rows.isEmpty()) {
            EXPECT_EQ(book.chapters, rows(rowsAt(each.text, each.rows)));
        }
        EXPECT_EQ(book.title, each.title);
        EXPECT_EQ(book.author, each.author);
        EXPECT_TRUE(imported.value().warning.isEmpty());
    }
}

// Refused in one line (scanned pages, a password, damage); an owner's password alone does not
// stop the reading, and text whose letters come out as symbols is read with a warning.
TEST(PdfImport, RefusedOrReadWithAWarning)
{
    const QString data = QString::fromUtf8(LEAFWRIGHT_TEST_DATA);
    PdfBook scanned = pdfPages({{}, {}});
    scanned.picture = true;
    const PdfBook letters = pdfPages({{{40, 80, 12, "abcdef ghijkl"}, {40, 100, 12, "mnopqr"}}});
    PdfBook dingbats = letters;
    for (PdfRun &run : dingbats.pages[0])
        run.font = "F3";
    struct Case
    {
        const char *name;
        QByteArray bytes;
        QString refusal; // a piece of it, or empty when the book is read
        QString text = {}, warning = {};
    };
    const Case cases[] = {
        {"scanned pages", pdfBook(scanned), u"has no text; it is scanned pages"_s},
        {"blank pages", pdfBook(pdfPages({{}})), u"has no text; its pages are blank"_s},
        {"a password", readBytes(data + u"/user-password.pdf"_s), u"is protected by a password"_s},
        {"damaged", "%PDF-1.4\n" + QByteArray(300, '#'), u"cannot be read: it is damaged"_s},
        {"an owner's password",
         readBytes(data + u"/owner-password.pdf"_s),
         {},
         u"A locked book. Its one page."_s},
        {"letters", pdfBook(letters), {}, u"abcdef ghijkl mnopqr"_s},
        {"symbols for letters", pdfBook(dingbats), {}, {}, u"does not map to real characters"_s},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        const Result<ImportedBook> imported = readPdfBook(each.bytes, u"book.pdf"_s);
        if (!each.refusal.isEmpty()) {
            ASSERT_FALSE(imported.ok());
            EXPECT_TRUE(imported.error().problem.contains(each.refusal))
                << imported.error().problem.toStdString();
            continue;
        }
        ASSERT_TRUE(imported.ok()) << imported.error().message().toStdString();
        if (!each.text.isEmpty()) {
            EXPECT_EQ(imported.value().book.text, each.text);
        }
        EXPECT_EQ(imported.value().warning.isEmpty(), each.warning.isEmpty());
        EXPECT_TRUE(imported.value().warning.contains(each.warning));
    }
    // A PDF is one whatever it is called, and where books are gathered by name.
    EXPECT_EQ(kindOfBook(u"notes.txt"_s, pdfBook(letters)).format, BookFormat::Pdf);
    EXPECT_TRUE(isImportedByName(u"/books/Novel.PDF"_s));
}

// The real PDFs: the outline's entries as rows at their headings, no running head or lone page
// number left, broken words joined, sheets of two pages in folding order read as the book.
TEST(PdfImport, CorpusPdfsReadAsTheirBooks)
{
    const QString folder = corpusDir() + u"/pdf/"_s;
    if (!QFile::exists(folder + u"latex-meditations-outline.pdf"_s))
        GTEST_SKIP() << "no PDF books in the corpus folder";
    const Result<ImportedBook> outlined = importBook(folder + u"latex-meditations-outline.pdf"_s);
    ASSERT_TRUE(outlined.ok());
    const Book &meditations = outlined.value().book;
    ASSERT_EQ(meditations.chapters.size(), 12);
    EXPECT_EQ(meditations.chapters[0].title.trimmed(), u"I learned from my grandfather..."_s);
    EXPECT_TRUE(
        meditations.text.mid(chapterOffset(meditations.chapters[1])).startsWith(u"Book II\r\n"_s));
    EXPECT_EQ(meditations.title, u"The Meditations of the Emperor Marcus Aurelius Antoninus"_s);
    static const QRegularExpression PageNumber(u"^(\\d{1,3}|[ivxlc]{1,6})$"_s,
                                               QRegularExpression::CaseInsensitiveOption);
    for (const QString &line : meditations.text.split(u"\r\n"_s)) {
        EXPECT_FALSE(line.contains(u"BOOK I. I LEARNED"_s)) << line.toStdString();
        EXPECT_FALSE(PageNumber.match(line).hasMatch()) << line.toStdString();
    }
    // Words broken at a line's end, a sentence across a page, verse in its lines.
    for (const QString &joined :
         {u"such as pretend to work wonders"_s, u"my hearing first Bacchius, then"_s,
          u"I have him to thank that I met with the discourses"_s,
          u"if the Gods neglect,\r\n\r\nIt is for some good reason."_s}) {
        EXPECT_TRUE(meditations.text.contains(joined)) << joined.toStdString();
    }
    const Result<ImportedBook> imposed =
        importBook(folder + u"latex-meditations-imposed-2up.pdf"_s);
    ASSERT_TRUE(imposed.ok());
    auto fromBookOne = [](const QString &text) { return text.mid(text.indexOf(u"Book I\r\n"_s)); };
    EXPECT_EQ(fromBookOne(imposed.value().book.text), fromBookOne(meditations.text));

    const Result<ImportedBook> novel =
        importBook(folder + u"lualatex-novel-example-nooutline.pdf"_s);
    ASSERT_TRUE(novel.ok());
    const Book &stormy = novel.value().book;
    EXPECT_EQ(stormy.title, u"Dark and Stormy"_s);
    EXPECT_EQ(stormy.author, u"Dirk Hardcase"_s);
    EXPECT_EQ(stormy.chapters, rows(rowsAt(stormy.text, {{u"Chapter One"_s, u"Chapter One"_s},
                                                         {u"Chapter Two"_s, u"Chapter Two"_s}})));
    EXPECT_TRUE(stormy.text.contains(u"Curabitur dictum gravida mauris."_s));
    // The author's name on the title and copyright pages, not in the running heads.
    EXPECT_EQ(stormy.text.count(u"Dirk Hardcase"_s), 3);
}

// The batch tool reads PDFs without a display, and tells the warning. (Crafted PDFs are in the
// hostile set.)
TEST_F(BatchTool, MakeImportsAPdfAndToldItsWarning)
{
    writeBytes(path(u"book.pdf"_s), pdfBook(outlined()));
    ok(u"make out --import book.pdf"_s);
    EXPECT_EQ(load(u"out.vlm"_s).title.trimmed(), u"THE BOOK"_s);
    EXPECT_EQ(load(u"out.vlm"_s).chapters.size(), 3);
    PdfBook dingbats = pdfPages({{{40, 80, 12, "abcdef", "F3"}}});
    writeBytes(path(u"symbols.pdf"_s), pdfBook(dingbats));
    EXPECT_TRUE(ok(u"make out --title T --import symbols.pdf"_s)
                    .err.contains("out.vlm: imported, but the PDF's text does not map"));
}

} // namespace
