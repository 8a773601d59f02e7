#include "batchtool.h"

#include "commandline.h"
#include "console.h"

#include "version.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace {

// What each command is for and what its options mean: printed together by --help, one by one
// by COMMAND --help and help COMMAND. The notes explain values several commands share.
enum Note { CleanerBoxes = 1, CodePages = 2, HeadingStyles = 4 };

struct CommandHelp
{
    QLatin1StringView name;
    const char16_t *synopsis;    // after "leafwright-cli ", continued lines indented
    const char16_t *description; // "  make   builds ...", as the full help lists it
    int notes;                   // the notes that explain its options' values
};

constexpr CommandHelp Helps[] = {
    {"make"_L1, uR"(make OUT (--import TEXT | --open BOOK) [--title T] [--author A] [--synopsis S]
                     [--clean LIST] [--replace FIND REPLACEMENT]... [--scan STYLE]
                     [--whole-line] [--find-chapters] [--sort] [--codepage CP])",
     uR"(  make   builds the book file OUT (".vlm" is added unless OUT ends in it) from a text
         file (in any encoding) or an earlier book file, with the information given; TEXT
         may also be an EPUB book, a web page, a FictionBook, a Kindle book without DRM,
         a Word or OpenDocument document, Markdown or a PDF, which brings its title,
         authors, description and chapter table, replaced by the information given;
         --clean runs the Text Cleaner's boxes in LIST (numbers 0 to 7 separated by
         commas, or all), --replace replaces every FIND, ignoring case, by REPLACEMENT;
         --scan appends the chapters the automatic scan finds in heading style STYLE,
         --whole-line takes each heading's whole line as its title, --find-chapters
         appends the headings the heading detector finds, --sort orders the chapters
         by offset)",
     CleanerBoxes | HeadingStyles | CodePages},
    {"show"_L1, uR"(show BOOK [--json] [--codepage CP])",
     uR"(  show   prints what a book file holds; --json prints it as one JSON object)", CodePages},
    {"text"_L1, uR"(text BOOK [-o FILE] [--codepage CP])",
     uR"(  text   writes a book's text, UTF-8 encoded, to standard output or to FILE)", CodePages},
    {"check"_L1, uR"(check BOOK [--json] [--codepage CP])",
     uR"(  check  lists what a reader on the phone would stumble over: chapters outside the text,
         out of order, at the same place or in the middle of a line, fields that were
         cut, an empty text, gaps in the chapters' numbering; exits 1 when it finds any)",
     CodePages},
    {"chapters"_L1, uR"(chapters FILE [--json] [--codepage CP])",
     uR"(  chapters  prints the headings the heading detector finds in a text file, an EPUB book,
         a web page (imported) or a book file (.vlm, opened): one line each with the
         line number (from 1), the offset, the level and the title, separated by tabs;
         --json prints them as a list of objects)",
     CodePages},
    {"convert"_L1, uR"(convert INPUT... -o OUTDIR [--clean LIST] [--scan STYLE] [--whole-line]
                     [--find-chapters] [--sort] [--codepage CP] [--jobs N] [--report FILE]
                     [--skip-existing] [--quiet])",
     uR"(  convert  makes a book file of each INPUT and of every book in the folders given
         (text files, EPUB books, web pages, and book files, which are opened), each
         exactly as make would, into OUTDIR under its path in the folder; a book with
         no title takes its file name; two books that would share a name are numbered;
         --jobs converts N books at a time (the number of cores unless given),
         --report writes a row per book to FILE (CSV, or JSON when FILE ends in .json),
         --skip-existing leaves a book file newer than its input, --quiet prints only
         failures and the summary; exits 1 when any book failed, the rest still written)",
     CleanerBoxes | HeadingStyles | CodePages},
    {"export"_L1, uR"(export BOOK OUT.epub [--codepage CP])",
     uR"(  export   writes a book file as an EPUB 3 book: a document per chapter, the chapter
         table as its table of contents, title, author and synopsis as its metadata)",
     CodePages},
};

constexpr std::pair<Note, const char16_t *> Notes[] = {
    {CleanerBoxes,
     uR"(Cleaner boxes: 0 unwrap preformatted text, 1 paragraph indents, 2 smart quotes,
  3 double line breaks, 4 tabs, 5 double spaces, 6 remove the Project Gutenberg header
  and licence (an empty title or author is taken from the header), 7 replace characters
  a book file cannot hold by their nearest storable form. They run in the order 6, 0 to
  5, 7.)"},
    {CodePages,
     uR"(Code pages: a book file holds one byte per character in the code page of the phone's
  language: 874 Thai, 1250 Central European, 1251 Cyrillic, 1252 Western, 1253 Greek,
  1254 Turkish, 1255 Hebrew, 1256 Arabic, 1257 Baltic, 1258 Vietnamese (CP is the number
  or windows-NNNN). With auto, the default, a book file is read in the code page its
  bytes read best in, and an imported book is saved in the one that holds the most of
  its letters (Western on a tie); make and convert say when that is not Western.)"},
    {HeadingStyles,
     uR"(Heading styles: 0 "Chapter 1", 1 "Chapter 01", 2 "Chapter I", 3 "Chapter One",
  4 "Chapter Twenty-one", 5 a line that begins with a number, 6 a line that begins
  with a Roman numeral.)"},
};

QString notesFor(int wanted)
{
    QString text;
    for (const auto &[note, words] : Notes) {
        if (wanted & note)
            text += QString::fromUtf16(words) + u"\n"_s;
    }
    return text;
}

// Everything: every command's synopsis, then what each does, then the notes.
QString usage()
{
    QString text = u"Usage:\n"_s;
    for (const CommandHelp &help : Helps)
        text += u"  leafwright-cli "_s + QString::fromUtf16(help.synopsis) + u"\n"_s;
    text += u"  leafwright-cli COMMAND --help | help COMMAND\n  leafwright-cli --version\n\n"_s;
    for (const CommandHelp &help : Helps)
        text += QString::fromUtf16(help.description) + u"\n"_s;
    return text + u"\n"_s + notesFor(CleanerBoxes | CodePages | HeadingStyles);
}

QString usageOf(const CommandHelp &help)
{
    return u"Usage: leafwright-cli "_s + QString::fromUtf16(help.synopsis) + u"\n\n"_s
           + QString::fromUtf16(help.description) + u"\n\n"_s + notesFor(help.notes);
}

const CommandHelp *helpFor(QStringView command)
{
    for (const CommandHelp &help : Helps) {
        if (help.name == command)
            return &help;
    }
    return nullptr;
}

// Whether the arguments ask for help before their "--" (after it every word is a file name).
bool asksForHelp(const QStringList &arguments)
{
    for (const QString &word : arguments) {
        if (word == u"--"_s)
            return false;
        if (word == u"--help"_s || word == u"-h"_s)
            return true;
    }
    return false;
}

} // namespace

int runBatchTool(const QStringList &arguments, Console &console)
{
    if (arguments.isEmpty())
        return usageProblem(console, u"no command given"_s);

    const QString command = arguments.first();
    if (command == u"--version"_s)
        return printed(console, console.print(u"leafwright-cli %1\n"_s.arg(ProgramVersion)));
    if (command == u"--help"_s || command == u"-h"_s || command == u"help"_s) {
        if (arguments.size() < 2 || command != u"help"_s)
            return printed(console, console.print(usage()));
        if (const CommandHelp *help = helpFor(arguments.at(1)))
            return printed(console, console.print(usageOf(*help)));
        return usageProblem(console, u"help: unknown command \"%1\""_s.arg(arguments.at(1)));
    }

    const Command *const commands[] = {&MakeCommand,  &ShowCommand,     &TextCommand,
                                       &CheckCommand, &ChaptersCommand, &ConvertCommand,
                                       &ExportCommand};
    for (const Command *known : commands) {
        if (known->name != command)
            continue;
        if (asksForHelp(arguments.mid(1)))
            return printed(console, console.print(usageOf(*helpFor(command))));
        auto parsed =
            parseCommandLine(command, arguments.mid(1), known->options, known->operandCount);
        if (const auto *usage = std::get_if<UsageError>(&parsed))
            return usageProblem(console, usage->problem);
        return known->run(std::get<CommandLine>(parsed), console);
    }
    return usageProblem(console, u"unknown command \"%1\""_s.arg(command));
}
