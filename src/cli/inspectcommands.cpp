// show, text, check and chapters: commands that read a book and print what it holds.

#include "commandline.h"
#include "console.h"

#include "book/bookfile.h"
#include "book/fileio.h"
#include "book/offsettext.h"
#include "book/textimport.h"
#include "chapters/bookcheck.h"
#include "chapters/headingdetector.h"
#include "import/bookimport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

// --- show ---------------------------------------------------------------------------------------

constexpr OptionSpec ShowOptions[] = {{"--json"_L1, 0}, CodePageOption};

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
        {u"codePage"_s, CodePage::name(book.codePage)},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

int runShow(const CommandLine &line, Console &console)
{
    int status = ExitSuccess;
    const std::optional<Book> book = readBookOperand(line, u"show"_s, console, status);
    if (!book)
        return status;
    if (line.has("--json"_L1))
        return printed(console, console.printBytes(bookAsJson(*book)));
    return printed(console, console.print(describeBook(*book)));
}

// --- check --------------------------------------------------------------------------------------

constexpr OptionSpec CheckOptions[] = {{"--json"_L1, 0}, CodePageOption};

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
    int status = ExitSuccess;
    const std::optional<Book> book =
        readBookOperand(line, u"check"_s, console, status, TextLineBreaks::AsStored);
    if (!book)
        return status;
    const QList<BookProblem> problems = checkBook(*book);
    const bool complete = line.has("--json"_L1) ? console.printBytes(problemsAsJson(problems))
                                                : console.print(problemsForReading(problems, path));
    if (status = printed(console, complete); status != ExitSuccess)
        return status;
    return problems.isEmpty() ? ExitSuccess : ExitFileProblem;
}

// --- chapters -----------------------------------------------------------------------------------

constexpr OptionSpec ChaptersOptions[] = {{"--json"_L1, 0}, CodePageOption};

int runChapters(const CommandLine &line, Console &console)
{
    int status = ExitSuccess;
    const std::optional<Book> book = readBookOperand(
        line, u"chapters"_s, console, status, TextLineBreaks::MadeCrLf, OtherFormats::ImportOthers);
    if (!book)
        return status;
    const QString &text = book->text;
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

constexpr OptionSpec TextOptions[] = {{"-o"_L1, 1}, CodePageOption};

int runText(const CommandLine &line, Console &console)
{
    int status = ExitSuccess;
    const std::optional<Book> book = readBookOperand(line, u"text"_s, console, status);
    if (!book)
        return status;
    const QByteArray text = book->text.toUtf8();
    if (!line.has("-o"_L1))
        return printed(console, console.printBytes(text));
    if (std::optional<FileError> error = writeWholeFile(line.value("-o"_L1), text))
        return fileProblem(console, *error);
    return ExitSuccess;
}

} // namespace

const Command ShowCommand = {"show"_L1, ShowOptions, 1, runShow};
const Command TextCommand = {"text"_L1, TextOptions, 1, runText};
const Command CheckCommand = {"check"_L1, CheckOptions, 1, runCheck};
const Command ChaptersCommand = {"chapters"_L1, ChaptersOptions, 1, runChapters};
