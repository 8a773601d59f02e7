#include "bookrecipe.h"

#include "book/bookfile.h"
#include "book/textimport.h"
#include "chapters/bookedits.h"
#include "chapters/chaptertable.h"
#include "chapters/headingdetector.h"
#include "chapters/numbertables.h"
#include "cleaner/storablecharacters.h"
#include "import/bookimport.h"
#include "search/textreplace.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

void noteMovedRows(const MovedRows &moved, const QString &out, QStringList &notes)
{
    if (const QString report = describeMovedRows(moved); !report.isEmpty())
        notes.append(u"%1: %2"_s.arg(out, report));
}

// What the Clean button does, and what the user is told of it.
void cleanText(Book &book, const CleanerBoxes &boxes, const QString &out, QStringList &notes)
{
    if (std::find(boxes.begin(), boxes.end(), true) == boxes.end())
        return;
    CleanedBook cleaned = CleanBook(book, boxes);
    for (const QString &part : describeClean(cleaned.outcome, boxes))
        notes.append(u"%1: %2"_s.arg(out, part));
    noteMovedRows(cleaned.moved, out, notes);
    book = std::move(cleaned.book);
}

// What the Replace button does: every occurrence replaced, ignoring case, or the text left as it
// is when there is none.
void replaceInText(Book &book, const QString &find, const QString &replacement, const QString &out,
                   QStringList &notes)
{
    if (findFirst(book.text, find) < 0) {
        notes.append(u"String not found: "_s + find);
        return;
    }
    ReplacedBook replaced = ReplaceInWholeBook(book, find, replacement);
    notes.append(u"%1: %2"_s.arg(out, describeReplaced(replaced.count)));
    noteMovedRows(replaced.moved, out, notes);
    book = std::move(replaced.book);
}

// The entries found are appended behind the table's rows, as many as the table has room for.
// Returns how many were left out.
qsizetype appendFound(Book &book, ChapterRows found)
{
    const qsizetype leftOut = keepRowsThatFit(found, book.chapters.size());
    book.chapters.append(found);
    return leftOut;
}

// What the Auto Scan button does.
qsizetype scanChapters(Book &book, const ScanOptions &options)
{
    NumberTables tables;
    BuildRomanNumerals(tables);
    BuildNumberWords(tables);
    return appendFound(book, ScanChapters(book.text, options, tables));
}

// What Find Chapters and Add Chapters do with every row left ticked: every heading but those
// whose line the table already points at.
qsizetype findChapters(Book &book)
{
    const QList<FoundHeading> headings = FindHeadings(book.text);
    QList<qsizetype> offsets;
    for (const FoundHeading &heading : headings)
        offsets.append(heading.offset);
    const QList<bool> inTable = linesInTable(offsets, book.chapters, book.text);
    ChapterRows found;
    for (qsizetype i = 0; i < headings.size(); ++i) {
        if (!inTable[i])
            found.append(foundChapterRow(headings[i].title, headings[i].offset));
    }
    return appendFound(book, found);
}

} // namespace

Result<ImportedBook> readBookSource(const QString &path, bool open,
                                    std::optional<CodePage::Id> codePage)
{
    if (open) {
        Result<Book> book = LoadBook(path, TextLineBreaks::MadeCrLf, codePage);
        if (!book)
            return book.error();
        return ImportedBook{std::move(book).value(), 0, {}, {}, {}};
    }
    // Import starts a new book: a text file gives the text alone, an EPUB book or a web page
    // its information and chapter table as well.
    return importBook(path, codePage);
}

QStringList sourceNotes(const ImportedBook &source, const QString &input, const BookRecipe &recipe)
{
    QStringList notes;
    if (!source.encoding.isEmpty())
        notes.append(u"%1: read as %2 text"_s.arg(input, source.encoding));
    if (const CodePage::Id codePage = source.book.codePage;
        !recipe.codePage && codePage != CodePage::Western) {
        notes.append(u"%1: in the %2 code page (--codepage chooses another)"_s.arg(
            input, CodePage::title(codePage)));
    }
    return notes;
}

MadeBook applyRecipe(Book book, const BookRecipe &recipe, const QString &out)
{
    MadeBook made;
    if (recipe.title)
        book.title = *recipe.title;
    if (recipe.author)
        book.author = *recipe.author;
    if (recipe.synopsis)
        book.synopsis = normalizeLineBreaks(*recipe.synopsis);

    cleanText(book, recipe.boxes, out, made.notes);
    for (const auto &[find, replacement] : recipe.replacements)
        replaceInText(book, find, replacement, out, made.notes);
    if (recipe.scan)
        made.foundLeftOut += scanChapters(book, *recipe.scan);
    if (recipe.findChapters)
        made.foundLeftOut += findChapters(book);
    if (recipe.sort)
        SortChapters(book.chapters);
    made.book = std::move(book);
    return made;
}

QStringList savedBookWarnings(const Book &book, const CodePage::Unstorable &unstorable,
                              const ImportedBook &source, qsizetype foundLeftOut,
                              const QString &out)
{
    QStringList warnings;
    if (isMissingTitle(book.title))
        warnings.append(u"%1: the book has no title; it was saved all the same"_s.arg(out));
    if (unstorable.count > 0)
        warnings.append(u"%1: %2. %3 (--clean 7)"_s.arg(
            out, CodePage::describe(book.codePage, unstorable), unstorableAdvice()));
    if (!source.tableProblem.isEmpty())
        warnings.append(u"%1: imported without chapters: %2"_s.arg(out, source.tableProblem));
    if (!source.warning.isEmpty())
        warnings.append(u"%1: imported, but %2"_s.arg(out, source.warning));
    if (source.chaptersLeftOut > 0) {
        warnings.append(u"%1: the chapter table holds at most %2 chapters; %3 of the book's own "
                        "table of contents were left out"_s.arg(out)
                            .arg(MaxChapterRows)
                            .arg(source.chaptersLeftOut));
    }
    if (foundLeftOut > 0) {
        warnings.append(u"%1: the chapter table holds at most %2 chapters; %3 found were left "
                        "out"_s.arg(out)
                            .arg(MaxChapterRows)
                            .arg(foundLeftOut));
    }
    return warnings;
}

void giveTitle(Book &book, const QString &name, const CleanerBoxes &boxes)
{
    book.title = boxes[StorableCharactersBox] ? MakeStorable(book.codePage, name).text : name;
}
