// export: a book file written out as an EPUB book.

#include "commandline.h"
#include "console.h"

#include "book/bookfile.h"
#include "convert/epubexport.h"

using namespace Qt::StringLiterals;

namespace {

constexpr OptionSpec ExportOptions[] = {CodePageOption};

int runExport(const CommandLine &line, Console &console)
{
    int status = ExitSuccess;
    const std::optional<Book> book = readBookOperand(line, u"export"_s, console, status);
    if (!book)
        return status;
    if (const std::optional<FileError> error = ExportEpub(*book, line.operands.at(1)))
        return fileProblem(console, *error);
    return ExitSuccess;
}

} // namespace

const Command ExportCommand = {"export"_L1, ExportOptions, 2, runExport};
