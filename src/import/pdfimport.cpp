#include "pdfimport.h"

#include "pagebook.h"
#include "pdflayout.h"
#include "pdflines.h"
#include "pdfreadingwatch.h"
#include "pdfspreads.h"
#include "pdfstreams.h"

#include "chapters/chaptertable.h"

#include <poppler-qt6.h>

#include <QXmlStreamReader>

#include <mutex>

using namespace Qt::StringLiterals;

namespace {

// More pages than any book has: a file that claims more is no book, whatever it holds.
constexpr int MaxPages = 20000;
// More characters than any book holds.
constexpr qsizetype MaxCharacters = 64 * 1024 * 1024;
// Outlines nest parts, chapters and sections; deeper levels add nothing to a chapter table.
constexpr int MaxOutlineDepth = 16;

// poppler tells of every flaw it meets on standard error; a reader's refusal is one line.
void quietPoppler()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Poppler::setDebugErrorFunction([](const QString &, const QVariant &) {}, QVariant());
    });
}

// Ligatures as their letters: a reader's search and a book file's code page know the letters.
QString withoutLigatures(QString text)
{
    static const char16_t *const Letters[] = {u"ff", u"fi", u"fl", u"ffi", u"ffl", u"st", u"st"};
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        const char16_t c = text[i].unicode();
        if (c >= 0xFB00 && c <= 0xFB06)
            text.replace(i, 1, QString::fromUtf16(Letters[c - 0xFB00]));
    }
    return text;
}

// Which way a word runs on the page, from its first and last letters' places: 0 left to right,
// 1 downwards, 2 right to left (upside down), 3 upwards; -1 for a word of one letter.
int directionOf(const Poppler::TextBox &box)
{
    const qsizetype length = box.text().size();
    if (length < 2)
        return -1;
    const QPointF run =
        box.charBoundingBox(int(length - 1)).center() - box.charBoundingBox(0).center();
    if (std::abs(run.x()) >= std::abs(run.y()))
        return run.x() >= 0 ? 0 : 2;
    return run.y() >= 0 ? 1 : 3;
}

// A word's box on the page turned so that words running in direction read left to right.
QRectF upright(const QRectF &box, int direction, const QSizeF &page)
{
    switch (direction) {
    case 1:
        return {box.top(), page.width() - box.right(), box.height(), box.width()};
    case 2:
        return {page.width() - box.right(), page.height() - box.bottom(), box.width(),
                box.height()};
    case 3:
        return {page.height() - box.bottom(), box.left(), box.height(), box.width()};
    default:
        return box;
    }
}

struct PageText
{
    PdfPage page;
    bool turned = false; // the page reads turned a quarter, whose places outline entries miss
};

// The words of a page, turned upright as most of its text runs; words running another way
// (a note set up the margin) are left out.
PageText wordsOf(const Poppler::Page &page, ReadingWatch &watch)
{
    const std::vector<std::unique_ptr<Poppler::TextBox>> boxes =
        page.textList(Poppler::Page::Rotate0, &ReadingWatch::shouldStop, watch.closure());
    qsizetype runs[4] = {};
    QList<int> directions;
    directions.reserve(qsizetype(boxes.size()));
    for (const auto &box : boxes) {
        directions.append(directionOf(*box));
        if (directions.last() >= 0)
            runs[directions.last()] += box->text().size();
    }
    const int most = int(std::max_element(std::begin(runs), std::end(runs)) - std::begin(runs));
    PageText text;
    const QSizeF size = page.pageSizeF();
    text.turned = most % 2 == 1;
    text.page.size = text.turned ? size.transposed() : size;
    // Words beyond any page a PDF may describe are no text a reader sees.
    const QRectF world(-1e5, -1e5, 2e5, 2e5);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if ((directions[qsizetype(i)] >= 0 && directions[qsizetype(i)] != most)
            || !world.contains(boxes[i]->boundingBox())) {
            continue;
        }
        text.page.words.append(
            {withoutLigatures(boxes[i]->text()), upright(boxes[i]->boundingBox(), most, size)});
    }
    return text;
}

// How much of a PDF's text is letters and how much is signs no text is written in: private
// use, control characters, the replacement character, symbols. A font without a Unicode map
// gives those for its letters.
struct Legibility
{
    qsizetype letters = 0, signs = 0;

    void count(QStringView text)
    {
        for (const QChar c : text) {
            if (c.isLetterOrNumber() && c.category() != QChar::Other_PrivateUse)
                ++letters;
            else if (!c.isSpace() && !c.isPunct() && !c.isSurrogate())
                ++signs;
        }
    }
    bool mostlySigns() const { return 4 * signs > letters + signs; }
};

void addOutline(const QList<Poppler::OutlineItem> &items, const QList<PageText> &pages,
                QList<PdfOutlineEntry> &entries, int depth)
{
    for (const Poppler::OutlineItem &item : items) {
        // Room for the chapter table's rows, and one to tell that some were left out.
        if (entries.size() > MaxChapterRows)
            return;
        PdfOutlineEntry entry;
        entry.label = item.name();
        const QSharedPointer<const Poppler::LinkDestination> destination = item.destination();
        if (destination && destination->pageNumber() >= 1
            && destination->pageNumber() <= pages.size()) {
            entry.page = destination->pageNumber() - 1;
            const PageText &page = pages[entry.page];
            if (destination->isChangeTop() && !page.turned)
                entry.top = destination->top() * page.page.size.height();
        }
        entries.append(entry);
        if (depth < MaxOutlineDepth && item.hasChildren())
            addOutline(item.children(), pages, entries, depth + 1);
    }
}

// The title and author an XMP packet gives (dc:title, dc:creator).
std::pair<QString, QString> xmpTitleAndAuthor(const QString &packet)
{
    const QString Dublin = u"http://purl.org/dc/elements/1.1/"_s;
    QXmlStreamReader xml(packet);
    QString title;
    QStringList authors;
    QStringView field;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement && xml.namespaceUri() == Dublin)
            field = xml.name() == u"title"_s     ? u"title"
                    : xml.name() == u"creator"_s ? u"creator"
                                                 : u"";
        else if (token == QXmlStreamReader::EndElement && xml.namespaceUri() == Dublin)
            field = {};
        else if (token == QXmlStreamReader::StartElement && xml.name() == u"li"_s
                 && !field.isEmpty()) {
            const QString value =
                collapsedLabel(xml.readElementText(QXmlStreamReader::SkipChildElements));
            if (field == u"title" && title.isEmpty())
                title = value;
            else if (field == u"creator" && !value.isEmpty())
                authors.append(value);
        }
    }
    return {title, authors.join(u", "_s)};
}

// A title as the metadata gives it, unless it is a file's name that a program wrote there.
QString usableTitle(QString title)
{
    title = collapsedLabel(title);
    if (title.startsWith(u"Microsoft Word - "_s))
        title = title.sliced(17);
    static const QStringList FileSuffixes = {u".doc"_s, u".docx"_s, u".odt"_s, u".rtf"_s,
                                             u".pdf"_s, u".tex"_s,  u".dvi"_s, u".indd"_s,
                                             u".txt"_s, u".qxd"_s};
    for (const QString &suffix : FileSuffixes) {
        if (title.endsWith(suffix, Qt::CaseInsensitive))
            return {};
    }
    if (title.compare(u"untitled"_s, Qt::CaseInsensitive) == 0)
        return {};
    return title;
}

FileError damaged(const QString &path)
{
    return FileError{path, u"is a PDF document that cannot be read: it is damaged"_s};
}

// The document, unless it is no PDF a book can be read from: its streams expand to more than a
// book's text, it is damaged, locked or has more pages than any book.
Result<std::unique_ptr<Poppler::Document>> openPdf(QByteArrayView bytes, const QString &path)
{
    const qint64 streamLimit = (48LL << 20) + 16 * qint64(bytes.size());
    if (inflatedStreamBytes(bytes, streamLimit) > streamLimit) {
        return FileError{path, u"is a PDF document whose streams expand to more than any book "
                               "holds; it was not read"_s};
    }
    std::unique_ptr<Poppler::Document> document =
        Poppler::Document::loadFromData(bytes.toByteArray());
    if (!document)
        return damaged(path);
    if (document->isLocked())
        return FileError{path, u"is protected by a password"_s};
    if (document->numPages() <= 0)
        return damaged(path);
    if (document->numPages() > MaxPages) {
        return FileError{path, u"has more than %1 pages, more than any book; it was not "
                               "read"_s.arg(MaxPages)};
    }
    return document;
}

// The lines of every book page, sheet by sheet.
struct PdfText
{
    QList<PageText> sheets; // their sizes and turns, their words let go
    QList<QList<PdfLine>> pages;
    QList<qsizetype> firstPageOf; // each sheet's first page
    bool cut = false;             // most sheets held two book pages
    Legibility legibility;
};

Result<PdfText> readPages(const Poppler::Document &document, ReadingWatch &watch,
                          const QString &path)
{
    PdfText text;
    qsizetype cutSheets = 0, sheetsWithText = 0, characters = 0;
    for (int i = 0; i < document.numPages(); ++i) {
        const std::unique_ptr<Poppler::Page> page = document.page(i);
        text.sheets.append(page ? wordsOf(*page, watch) : PageText{});
        if (watch.exceeded())
            return FileError{path, watch.problem()};
        PdfPage &sheet = text.sheets.last().page;
        for (const PdfWord &word : std::as_const(sheet.words)) {
            text.legibility.count(word.text);
            characters += word.text.size();
        }
        if (characters > MaxCharacters)
            return FileError{path, u"holds more text than any book; it was not read"_s};
        const QList<PdfPage> bookPages = bookPagesOf(sheet);
        text.firstPageOf.append(text.pages.size());
        sheetsWithText += sheet.words.isEmpty() ? 0 : 1;
        cutSheets += bookPages.size() > 1 ? 1 : 0;
        for (const PdfPage &bookPage : bookPages)
            text.pages.append(linesOfPage(bookPage, int(text.pages.size())));
        sheet.words.clear();
    }
    // Sheets that each hold two book pages are mostly printed for folding, out of reading order.
    text.cut = sheetsWithText > 0 && 2 * cutSheets >= sheetsWithText;
    return text;
}

// The outline's entries, each leading to the book page its sheet begins with; a place on a
// sheet cut in two is no place on either of its pages.
QList<PdfOutlineEntry> outlineOf(const Poppler::Document &document, const PdfText &text)
{
    QList<PdfOutlineEntry> outline;
    addOutline(document.outline(), text.sheets, outline, 0);
    for (PdfOutlineEntry &entry : outline) {
        if (entry.page < 0)
            continue;
        const qsizetype sheet = entry.page;
        const qsizetype next =
            sheet + 1 < text.firstPageOf.size() ? text.firstPageOf[sheet + 1] : text.pages.size();
        entry.page = int(text.firstPageOf[sheet]);
        if (next - entry.page > 1)
            entry.top = -1;
    }
    return outline;
}

// The title and author the Info dictionary gives, else the XMP metadata's, else the title
// page's (in book, already).
void takeMetadata(const Poppler::Document &document, PageBook &book)
{
    const auto [xmpTitle, xmpAuthor] = xmpTitleAndAuthor(document.metadata());
    for (const QString &title : {usableTitle(document.info(u"Title"_s)), usableTitle(xmpTitle)}) {
        if (!title.isEmpty()) {
            book.title = title;
            break;
        }
    }
    for (const QString &author : {collapsedLabel(document.info(u"Author"_s)), xmpAuthor}) {
        if (!author.isEmpty()) {
            book.author = author;
            break;
        }
    }
}

} // namespace

Result<ImportedBook> readPdfBook(QByteArrayView bytes, const QString &path)
{
    quietPoppler();
    const Result<std::unique_ptr<Poppler::Document>> opened = openPdf(bytes, path);
    if (!opened)
        return opened.error();
    const Poppler::Document &document = *opened.value();
    ReadingWatch watch(bytes.size());
    Result<PdfText> read = readPages(document, watch, path);
    if (!read)
        return read.error();
    PdfText text = std::move(read).value();
    if (text.legibility.letters + text.legibility.signs == 0) {
        if (holdsPictures(bytes))
            return FileError{path, u"has no text; it is scanned pages"_s};
        return FileError{path, u"has no text; its pages are blank or damaged"_s};
    }
    QList<PdfOutlineEntry> outline = outlineOf(document, text);
    PageBook page = bookOfPdfLines(std::move(text.pages), std::move(outline), text.cut);
    takeMetadata(document, page);

    Result<ImportedBook> imported = bookFromPage(page, path);
    if (!imported)
        return imported;
    ImportedBook book = std::move(imported).value();
    if (text.legibility.mostlySigns()) {
        book.warning = u"the PDF's text does not map to real characters (its fonts have no "
                       "Unicode map): letters may read as symbols"_s;
    }
    return book;
}
