// make: builds one book file as a user would in the windows, step by step.

#include "commandline.h"
#include "console.h"

#include "book/bookfile.h"
#include "book/fileio.h"
#include "book/textimport.h"
#include "chapters/bookedits.h"
#include "chapters/chapterscan.h"
#include "chapters/chaptertable.h"
#include "chapters/headingdetector.h"
#include "cleaner/textcleaner.h"
#include "import/bookimport.h"
#include "search/textreplace.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr OptionSpec MakeOptions[] = {
    {"--import"_L1, 1},        {"--open"_L1, 1},     {"--title"_L1, 1},
    {"--author"_L1, 1},        {"--synopsis"_L1, 1}, {"--clean"_L1, 1},
    {"--replace"_L1, 2, true}, {"--scan"_L1, 1},     {"--whole-line"_L1, 0},
    {"--find-chapters"_L1, 0}, {"--sort"_L1, 0},
};

Result<ImportedBook> readSource(const CommandLine &line)
{
    if (line.has("--open"_L1)) {
        Result<Book> book = LoadBook(line.value("--open"_L1));
        if (!book)
            return book.error();
        return ImportedBook{std::move(book).value()};
    }
    // Import starts a new book: a text file gives the text alone, an EPUB book or a web page
    // its information and chapter table as well.
    return importBook(line.value("--import"_L1));
}

// The scan style of --scan, or nothing when the option holds no style.
std::optional<HeadingStyle> scanStyle(const QString &value)
{
    bool isNumber = false;
    const int style = value.toInt(&isNumber);
    if (!isNumber || style < 0 || style >= HeadingStyleCount)
        return std::nullopt;
    return HeadingStyle(style);
}

// The boxes of --clean: "all" (every box of the Text Cleaner), or box numbers separated by commas.
std::optional<CleanerBoxes> cleanerBoxes(const QString &list)
{
    CleanerBoxes boxes{};
    if (list == u"all"_s) {
        boxes.fill(true);
        return boxes;
    }
    for (const QString &item : list.split(u',')) {
        bool isNumber = false;
        const int box = item.trimmed().toInt(&isNumber);
        if (!isNumber || box < 0 || box >= CleanerBoxCount)
            return std::nullopt;
        boxes[box] = true;
    }
    return boxes;
}

// What the user is told of the chapter rows that followed the text.
void noteMovedRows(const MovedRows &moved, const QString &out, Console &console)
{
    if (const QString report = describeMovedRows(moved); !report.isEmpty())
        console.note(u"%1: %2"_s.arg(out, report));
}

// What the Clean button does, and what the user is told of the two boxes for real books.
void cleanText(Book &book, const CleanerBoxes &boxes, const QString &out, Console &console)
{
    if (std::find(boxes.begin(), boxes.end(), true) == boxes.end())
        return;
    CleanedBook cleaned = CleanBook(book, boxes);
    for (const QString &part : describeClean(cleaned.outcome, boxes))
        console.note(u"%1: %2"_s.arg(out, part));
    noteMovedRows(cleaned.moved, out, console);
    book = std::move(cleaned.book);
}

// What the Replace button does: every occurrence replaced, ignoring case, or the text left as it
// is when there is none.
void replaceInText(Book &book, const QString &find, const QString &replacement, const QString &out,
                   Console &console)
{
    if (findFirst(book.text, find) < 0) {
        console.note(u"String not found: "_s + find);
        return;
    }
    ReplacedBook replaced = ReplaceInWholeBook(book, find, replacement);
    console.note(u"%1: %2"_s.arg(out, describeReplaced(replaced.count)));
    noteMovedRows(replaced.moved, out, console);
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

int runMake(const CommandLine &line, Console &console)
{
    if (line.has("--import"_L1) == line.has("--open"_L1))
        return usageProblem(console, u"make: give either --import TEXT or --open BOOK"_s);
    const std::optional<HeadingStyle> style =
        line.has("--scan"_L1) ? scanStyle(line.value("--scan"_L1)) : HeadingStyle::Digits;
    if (!style)
        return usageProblem(console, u"make: --scan takes a style from 0 to 6"_s);
    const std::optional<CleanerBoxes> boxes =
        line.has("--clean"_L1) ? cleanerBoxes(line.value("--clean"_L1)) : CleanerBoxes{};
    if (!boxes) {
        return usageProblem(
            console, u"make: --clean takes box numbers 0 to 7 separated by commas, or all"_s);
    }

    Result<ImportedBook> source = readSource(line);
    if (!source)
        return fileProblem(console, source.error());
    const qsizetype tableLeftOut = source.value().chaptersLeftOut;
    const QString tableProblem = source.value().tableProblem;
    Book book = std::move(source).value().book;

    if (line.has("--title"_L1))
        book.title = line.value("--title"_L1);
    if (line.has("--author"_L1))
        book.author = line.value("--author"_L1);
    if (line.has("--synopsis"_L1))
        book.synopsis = normalizeLineBreaks(line.value("--synopsis"_L1));

    // In the order a user works in the windows: clean, replace, scan, sort.
    const QString out = withBookExtension(line.operands.at(0));
    cleanText(book, *boxes, out, console);
    for (const QStringList &replacement : line.uses("--replace"_L1))
        replaceInText(book, replacement[0], replacement[1], out, console);

    qsizetype leftOut =
        line.has("--scan"_L1) ? scanChapters(book, {*style, line.has("--whole-line"_L1)}) : 0;
    if (line.has("--find-chapters"_L1))
        leftOut += findChapters(book);
    if (line.has("--sort"_L1))
        SortChapters(book.chapters);

    const Result<CodePage::Unstorable> saved = SaveBook(book, out);
    if (!saved)
        return fileProblem(console, saved.error());
    if (isMissingTitle(book.title))
        console.warning(u"%1: the book has no title; it was saved all the same"_s.arg(out));
    if (saved.value().count > 0)
        console.warning(u"%1: %2. %3 (--clean 7)"_s.arg(out, CodePage::describe(saved.value()),
                                                        unstorableAdvice()));
    if (!tableProblem.isEmpty())
        console.warning(u"%1: imported without chapters: %2"_s.arg(out, tableProblem));
    if (tableLeftOut > 0) {
        console.warning(u"%1: the chapter table holds at most %2 chapters; %3 of the book's own "
                        "table of contents were left out"_s.arg(out)
                            .arg(MaxChapterRows)
                            .arg(tableLeftOut));
    }
    if (leftOut > 0) {
        console.warning(u"%1: the chapter table holds at most %2 chapters; %3 found were left "
                        "out"_s.arg(out)
                            .arg(MaxChapterRows)
                            .arg(leftOut));
    }
    return ExitSuccess;
}

} // namespace

const Command MakeCommand = {"make"_L1, MakeOptions, 1, runMake};
