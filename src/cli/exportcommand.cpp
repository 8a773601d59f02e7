// export: a book file written out as an EPUB book.

#include "commandline.h"
#include "console.h"

#include "book/bookfile.h"
#include "convert/epubexport.h"

using namespace Qt::StringLiterals;

namespace {

int runExport(const CommandLine &line, Console &console)
{
    const Result<Book> book = LoadBook(line.operands.at(0));
    if (!book)
        return fileProblem(console, book.error());
    if (const std::optional<FileError> error = ExportEpub(book.value(), line.operands.at(1)))
        return fileProblem(console, *error);
    return ExitSuccess;
}

} // namespace

const Command ExportCommand = {"export"_L1, {}, 2, runExport};
