#include "batchtool.h"

#include "console.h"

#include "chapters/bookcheck.h"
#include "book/bookfile.h"
#include "book/fileio.h"
#include "book/offsettext.h"
#include "book/textimport.h"
#include "chapters/chapterscan.h"
#include "chapters/chaptertable.h"
#include "chapters/headingdetector.h"
#include "cleaner/textcleaner.h"
#include "import/bookimport.h"
#include "search/textreplace.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>
#include <span>
#include <variant>

using namespace Qt::StringLiterals;

namespace {

const QString Usage = uR"(Usage:
  leafwright-cli make OUT (--import TEXT | --open BOOK) [--title T] [--author A] [--synopsis S]
                     [--clean LIST] [--replace FIND REPLACEMENT]... [--scan STYLE]
                     [--whole-line] [--find-chapters] [--sort]
  leafwright-cli show BOOK [--json]
  leafwright-cli text BOOK [-o FILE]
  leafwright-cli check BOOK [--json]
  leafwright-cli chapters FILE [--json]

  make   builds the book file OUT (".vlm" is added unless OUT ends in it) from a text
         file or an earlier book file, with the information given; TEXT may also be an
         EPUB book or a web page (.epub, .html, .htm, .xhtml), which brings its title,
         authors, description and chapter table, replaced by the information given;
         --clean runs the Text Cleaner's boxes in LIST (numbers 0 to 7 separated by
         commas, or all), --replace replaces every FIND, ignoring case, by REPLACEMENT;
         --scan appends the chapters the automatic scan finds in heading style STYLE,
         --whole-line takes each heading's whole line as its title, --find-chapters
         appends the headings the heading detector finds, --sort orders the chapters
         by offset
  show   prints what a book file holds; --json prints it as one JSON object
  text   writes a book's text, UTF-8 encoded, to standard output or to FILE
  check  lists what a reader on the phone would stumble over: chapters outside the text,
         out of order, at the same place or in the middle of a line, fields that were
         cut, an empty text, gaps in the chapters' numbering; exits 1 when it finds any
  chapters  prints the headings the heading detector finds in a text file, an EPUB book,
         a web page (imported) or a book file (.vlm, opened): one line each with the
         line number (from 1), the offset, the level and the title, separated by tabs;
         --json prints them as a list of objects

Cleaner boxes: 0 unwrap preformatted text, 1 paragraph indents, 2 smart quotes,
  3 double line breaks, 4 tabs, 5 double spaces, 6 remove the Project Gutenberg header
  and licence (an empty title or author is taken from the header), 7 replace characters
  a book file cannot hold by their nearest storable form. They run in the order 6, 0 to
  5, 7.
Heading styles: 0 "Chapter 1", 1 "Chapter 01", 2 "Chapter I", 3 "Chapter One",
  4 "Chapter Twenty-one", 5 a line that begins with a number, 6 a line that begins
  with a Roman numeral.
)"_s;

struct OptionSpec
{
    QLatin1StringView name;
    int valueCount;
    bool repeatable = false;
};

struct Option
{
    QString name;
    QStringList values;
};

// A command's arguments sorted into operands and options, in the order given.
struct CommandLine
{
    QStringList operands;
    QList<Option> options;

    bool has(QLatin1StringView name) const { return find(name) != nullptr; }
    // The values of every use of a repeatable option, in the order given.
    QList<QStringList> uses(QLatin1StringView name) const
    {
        QList<QStringList> found;
        for (const Option &option : options) {
            if (option.name == name)
                found.append(option.values);
        }
        return found;
    }
    QString value(QLatin1StringView name) const
    {
        const Option *option = find(name);
        return option ? option->values.value(0) : QString();
    }

private:
    const Option *find(QLatin1StringView name) const
    {
        for (const Option &option : options) {
            if (option.name == name)
                return &option;
        }
        return nullptr;
    }
};

struct UsageError
{
    QString problem;
};

std::variant<CommandLine, UsageError> parseCommandLine(const QString &command,
                                                       QStringList arguments,
                                                       std::span<const OptionSpec> known,
                                                       qsizetype operandCount)
{
    CommandLine line;
    bool optionsEnded = false;
    while (!arguments.isEmpty()) {
        QString word = arguments.takeFirst();
        if (optionsEnded || !word.startsWith(u'-') || word == u"-"_s) {
            line.operands.append(word);
            continue;
        }
        if (word == u"--"_s) {
            optionsEnded = true;
            continue;
        }

        QStringList values;
        if (const qsizetype equals = word.indexOf(u'='); word.startsWith(u"--"_s) && equals > 0) {
            values.append(word.mid(equals + 1));
            word.truncate(equals);
        }
        const auto option = std::find_if(known.begin(), known.end(),
                                         [&](const OptionSpec &s) { return s.name == word; });
        if (option == known.end())
            return UsageError{u"%1: unknown option \"%2\""_s.arg(command, word)};
        if (values.size() > option->valueCount)
            return UsageError{u"%1: option %2 takes no value"_s.arg(command, word)};
        while (values.size() < option->valueCount && !arguments.isEmpty())
            values.append(arguments.takeFirst());
        if (values.size() < option->valueCount) {
            return UsageError{u"%1: option %2 needs %3"_s.arg(
                command, word,
                option->valueCount == 1 ? u"a value"_s : u"%1 values"_s.arg(option->valueCount))};
        }
        if (!option->repeatable && line.has(option->name))
            return UsageError{u"%1: option %2 is given more than once"_s.arg(command, word)};
        line.options.append({word, values});
    }

    if (line.operands.size() < operandCount)
        return UsageError{u"%1: missing file name"_s.arg(command)};
    if (line.operands.size() > operandCount)
        return UsageError{
            u"%1: unexpected argument \"%2\""_s.arg(command, line.operands.at(operandCount))};
    if (line.operands.contains(QString()))
        return UsageError{u"%1: a file name is empty"_s.arg(command)};
    return line;
}

int usageProblem(Console &console, const QString &problem)
{
    console.error(problem + u" (see leafwright-cli --help)"_s);
    return ExitUsage;
}

int fileProblem(Console &console, const FileError &error)
{
    console.error(error.message());
    return ExitFileProblem;
}

// What a command printed on standard output counts only if all of it arrived.
int printed(Console &console, bool complete)
{
    if (complete)
        return ExitSuccess;
    return fileProblem(console, {u"standard output"_s, u"cannot be written"_s});
}

// --- make ---------------------------------------------------------------------------------------

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

// What the Clean button does, and what the user is told of the two boxes for real books.
void cleanText(Book &book, const CleanerBoxes &boxes, const QString &out, Console &console)
{
    const CleanOutcome outcome = Clean(book.text, boxes);
    book.text = outcome.text;
    if (boxes[GutenbergFrameBox]) {
        book.title = fieldFromHeader(book.title, outcome.frame.title);
        book.author = fieldFromHeader(book.author, outcome.frame.author);
        if (outcome.frame.found()) {
            console.note(u"%1: removed the Project Gutenberg header (%2 lines) and licence (%3 "
                         "lines)"_s.arg(out)
                             .arg(outcome.headerLines)
                             .arg(outcome.licenceLines));
        } else {
            console.note(u"%1: no Project Gutenberg header or licence found"_s.arg(out));
        }
    }
    if (boxes[StorableCharactersBox]) {
        const qsizetype replaced = outcome.replacedCharacters;
        console.note(u"%1: replaced %2 %3 a book file cannot hold"_s.arg(out).arg(replaced).arg(
            replaced == 1 ? u"character"_s : u"characters"_s));
    }
}

// What the Replace button does: every occurrence replaced, ignoring case, or the text left as it
// is when there is none.
void replaceInText(Book &book, const QString &find, const QString &replacement, Console &console)
{
    if (findFirst(book.text, find) < 0) {
        console.note(u"String not found: "_s + find);
        return;
    }
    book.text = normalizeLineBreaks(replaceAllIgnoringCase(book.text, find, replacement));
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

// What Find Chapters and Add Chapters do with every row left ticked.
qsizetype findChapters(Book &book)
{
    ChapterRows found;
    for (const FoundHeading &heading : FindHeadings(book.text))
        found.append(foundChapterRow(heading.title, heading.offset));
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
        replaceInText(book, replacement[0], replacement[1], console);

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

// --- show ---------------------------------------------------------------------------------------

constexpr OptionSpec ShowOptions[] = {{"--json"_L1, 0}};

// A stored field as a person wants to read it: without its fill spaces, and with control
// characters, which a terminal would act on, shown as U+FFFD.
QString forReading(QString text)
{
    while (text.endsWith(u' '))
        text.chop(1);
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = QChar::ReplacementCharacter;
    }
    return text;
}

QString describeBook(const Book &book)
{
    QString out;
    out += u"Title:    "_s + forReading(book.title) + u'\n';
    out += u"Author:   "_s + forReading(book.author) + u'\n';
    const QStringList synopsisLines = normalizeLineBreaks(book.synopsis).split(u"\r\n"_s);
    out += u"Synopsis: "_s;
    for (qsizetype i = 0; i < synopsisLines.size(); ++i)
        out += (i ? u"          "_s : QString()) + forReading(synopsisLines[i]) + u'\n';

    out += u"Chapters: %1\n"_s.arg(book.chapters.size());
    const int indexWidth = int(QString::number(book.chapters.size()).size());
    int offsetWidth = 1;
    for (const ChapterEntry &chapter : book.chapters)
        offsetWidth =
            std::max(offsetWidth, int(QString::number(offsetTextToNumber(chapter.offset)).size()));
    for (qsizetype i = 0; i < book.chapters.size(); ++i) {
        const ChapterEntry &chapter = book.chapters[i];
        out += u"  %1  %2  %3\n"_s.arg(i + 1, indexWidth)
                   .arg(offsetTextToNumber(chapter.offset), offsetWidth)
                   .arg(forReading(chapter.title));
    }
    out += u"Text:     %1 characters\n"_s.arg(book.text.size());
    return out;
}

QByteArray bookAsJson(const Book &book)
{
    QJsonArray chapters;
    for (const ChapterEntry &chapter : book.chapters) {
        chapters.append(QJsonObject{{u"title"_s, chapter.title},
                                    {u"offset"_s, offsetTextToNumber(chapter.offset)}});
    }
    const QJsonObject object{
        {u"title"_s, book.title},
        {u"author"_s, book.author},
        {u"synopsis"_s, book.synopsis},
        {u"chapters"_s, chapters},
        {u"text_length"_s, qint64(book.text.size())},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

int runShow(const CommandLine &line, Console &console)
{
    const Result<Book> book = LoadBook(line.operands.at(0));
    if (!book)
        return fileProblem(console, book.error());
    if (line.has("--json"_L1))
        return printed(console, console.printBytes(bookAsJson(book.value())));
    return printed(console, console.print(describeBook(book.value())));
}

// --- check --------------------------------------------------------------------------------------

constexpr OptionSpec CheckOptions[] = {{"--json"_L1, 0}};

QByteArray problemsAsJson(const QList<BookProblem> &problems)
{
    QJsonArray list;
    for (const BookProblem &problem : problems) {
        QJsonObject object{{u"kind"_s, kindName(problem.kind)}, {u"message"_s, problem.message}};
        if (problem.chapter > 0)
            object.insert(u"chapter"_s, problem.chapter);
        list.append(object);
    }
    return QJsonDocument(list).toJson(QJsonDocument::Indented);
}

QString problemsForReading(const QList<BookProblem> &problems, const QString &path)
{
    QString out;
    for (const BookProblem &problem : problems)
        out += problem.message + u'\n';
    if (problems.isEmpty())
        out += u"No problems found in %1.\n"_s.arg(path);
    else
        out += u"%1 %2 found in %3.\n"_s.arg(problems.size())
                   .arg(problems.size() == 1 ? u"problem"_s : u"problems"_s, path);
    return out;
}

// Exits 0 when a reader would find nothing to stumble over, 1 otherwise.
int runCheck(const CommandLine &line, Console &console)
{
    const QString path = line.operands.at(0);
    const Result<Book> book = LoadBook(path, TextLineBreaks::AsStored);
    if (!book)
        return fileProblem(console, book.error());
    const QList<BookProblem> problems = checkBook(book.value());
    const bool complete = line.has("--json"_L1) ? console.printBytes(problemsAsJson(problems))
                                                : console.print(problemsForReading(problems, path));
    if (const int status = printed(console, complete); status != ExitSuccess)
        return status;
    return problems.isEmpty() ? ExitSuccess : ExitFileProblem;
}

// --- chapters -----------------------------------------------------------------------------------

constexpr OptionSpec ChaptersOptions[] = {{"--json"_L1, 0}};

// A book file is opened, anything else imported, as the windows would.
Result<Book> readAnyBook(const QString &path)
{
    if (path.endsWith(u".vlm"_s, Qt::CaseInsensitive))
        return LoadBook(path);
    Result<ImportedBook> imported = importBook(path);
    if (!imported)
        return imported.error();
    return std::move(imported).value().book;
}

int runChapters(const CommandLine &line, Console &console)
{
    const Result<Book> book = readAnyBook(line.operands.at(0));
    if (!book)
        return fileProblem(console, book.error());
    const QString &text = book.value().text;
    const QList<FoundHeading> headings = FindHeadings(text);

    // Line numbers count from 1; the headings come in text order, so one pass counts them.
    QList<qsizetype> lineNumbers;
    qsizetype lineNumber = 1, counted = 0;
    for (const FoundHeading &heading : headings) {
        lineNumber += QStringView(text).sliced(counted, heading.offset - counted).count(u'\n');
        counted = heading.offset;
        lineNumbers.append(lineNumber);
    }

    if (line.has("--json"_L1)) {
        QJsonArray list;
        for (qsizetype i = 0; i < headings.size(); ++i) {
            const FoundHeading &heading = headings[i];
            QJsonObject object{{u"line"_s, qint64(lineNumbers[i])},
                               {u"offset"_s, qint64(heading.offset)},
                               {u"level"_s, levelName(heading.level)},
                               {u"title"_s, heading.title}};
            if (heading.number)
                object.insert(u"number"_s, *heading.number);
            list.append(object);
        }
        return printed(console, console.printBytes(QJsonDocument(list).toJson()));
    }
    QString out;
    for (qsizetype i = 0; i < headings.size(); ++i) {
        const FoundHeading &heading = headings[i];
        out += u"%1\t%2\t%3\t%4\n"_s.arg(lineNumbers[i])
                   .arg(heading.offset)
                   .arg(levelName(heading.level), forReading(heading.title));
    }
    return printed(console, console.print(out));
}

// --- text ---------------------------------------------------------------------------------------

constexpr OptionSpec TextOptions[] = {{"-o"_L1, 1}};

int runText(const CommandLine &line, Console &console)
{
    const Result<Book> book = LoadBook(line.operands.at(0));
    if (!book)
        return fileProblem(console, book.error());
    const QByteArray text = book.value().text.toUtf8();
    if (!line.has("-o"_L1))
        return printed(console, console.printBytes(text));
    if (std::optional<FileError> error = writeWholeFile(line.value("-o"_L1), text))
        return fileProblem(console, *error);
    return ExitSuccess;
}

} // namespace

int runBatchTool(const QStringList &arguments, Console &console)
{
    if (arguments.isEmpty())
        return usageProblem(console, u"no command given"_s);

    const QString command = arguments.first();
    if (command == u"--help"_s || command == u"-h"_s || command == u"help"_s) {
        return printed(console, console.print(Usage));
    }

    struct Command
    {
        QLatin1StringView name;
        std::span<const OptionSpec> options;
        qsizetype operandCount;
        int (*run)(const CommandLine &, Console &);
    };
    static constexpr Command Commands[] = {
        {"make"_L1, MakeOptions, 1, runMake},
        {"show"_L1, ShowOptions, 1, runShow},
        {"text"_L1, TextOptions, 1, runText},
        {"check"_L1, CheckOptions, 1, runCheck},
        {"chapters"_L1, ChaptersOptions, 1, runChapters},
    };
    for (const Command &known : Commands) {
        if (known.name != command)
            continue;
        auto parsed =
            parseCommandLine(command, arguments.mid(1), known.options, known.operandCount);
        if (const auto *usage = std::get_if<UsageError>(&parsed))
            return usageProblem(console, usage->problem);
        return known.run(std::get<CommandLine>(parsed), console);
    }
    return usageProblem(console, u"unknown command \"%1\""_s.arg(command));
}
