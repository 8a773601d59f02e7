#include "batchtool.h"

#include "commandline.h"
#include "console.h"

using namespace Qt::StringLiterals;

namespace {

const QString Usage = uR"(Usage:
  leafwright-cli make OUT (--import TEXT | --open BOOK) [--title T] [--author A] [--synopsis S]
                     [--clean LIST] [--replace FIND REPLACEMENT]... [--scan STYLE]
                     [--whole-line] [--find-chapters] [--sort] [--codepage CP]
  leafwright-cli show BOOK [--json] [--codepage CP]
  leafwright-cli text BOOK [-o FILE] [--codepage CP]
  leafwright-cli check BOOK [--json] [--codepage CP]
  leafwright-cli chapters FILE [--json] [--codepage CP]
  leafwright-cli convert INPUT... -o OUTDIR [--clean LIST] [--scan STYLE] [--whole-line]
                     [--find-chapters] [--sort] [--codepage CP] [--jobs N] [--report FILE]
                     [--skip-existing] [--quiet]
  leafwright-cli export BOOK OUT.epub [--codepage CP]

  make   builds the book file OUT (".vlm" is added unless OUT ends in it) from a text
         file (in any encoding) or an earlier book file, with the information given; TEXT
         may also be an EPUB book, a web page, a FictionBook, a Kindle book without DRM,
         a Word or OpenDocument document or Markdown, which brings its title, authors,
         description and chapter table, replaced by the information given;
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
  convert  makes a book file of each INPUT and of every book in the folders given
         (text files, EPUB books, web pages, and book files, which are opened), each
         exactly as make would, into OUTDIR under its path in the folder; a book with
         no title takes its file name; two books that would share a name are numbered;
         --jobs converts N books at a time (the number of cores unless given),
         --report writes a row per book to FILE (CSV, or JSON when FILE ends in .json),
         --skip-existing leaves a book file newer than its input, --quiet prints only
         failures and the summary; exits 1 when any book failed, the rest still written
  export   writes a book file as an EPUB 3 book: a document per chapter, the chapter
         table as its table of contents, title, author and synopsis as its metadata

Cleaner boxes: 0 unwrap preformatted text, 1 paragraph indents, 2 smart quotes,
  3 double line breaks, 4 tabs, 5 double spaces, 6 remove the Project Gutenberg header
  and licence (an empty title or author is taken from the header), 7 replace characters
  a book file cannot hold by their nearest storable form. They run in the order 6, 0 to
  5, 7.
Code pages: a book file holds one byte per character in the code page of the phone's
  language: 874 Thai, 1250 Central European, 1251 Cyrillic, 1252 Western, 1253 Greek,
  1254 Turkish, 1255 Hebrew, 1256 Arabic, 1257 Baltic, 1258 Vietnamese (CP is the number
  or windows-NNNN). With auto, the default, a book file is read in the code page its
  bytes read best in, and an imported book is saved in the one that holds the most of
  its letters (Western on a tie); make and convert say when that is not Western.
Heading styles: 0 "Chapter 1", 1 "Chapter 01", 2 "Chapter I", 3 "Chapter One",
  4 "Chapter Twenty-one", 5 a line that begins with a number, 6 a line that begins
  with a Roman numeral.
)"_s;

} // namespace

int runBatchTool(const QStringList &arguments, Console &console)
{
    if (arguments.isEmpty())
        return usageProblem(console, u"no command given"_s);

    const QString command = arguments.first();
    if (command == u"--help"_s || command == u"-h"_s || command == u"help"_s) {
        return printed(console, console.print(Usage));
    }

    const Command *const commands[] = {&MakeCommand,  &ShowCommand,     &TextCommand,
                                       &CheckCommand, &ChaptersCommand, &ConvertCommand,
                                       &ExportCommand};
    for (const Command *known : commands) {
        if (known->name != command)
            continue;
        auto parsed =
            parseCommandLine(command, arguments.mid(1), known->options, known->operandCount);
        if (const auto *usage = std::get_if<UsageError>(&parsed))
            return usageProblem(console, usage->problem);
        return known->run(std::get<CommandLine>(parsed), console);
    }
    return usageProblem(console, u"unknown command \"%1\""_s.arg(command));
}
