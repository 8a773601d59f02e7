// A PDF of any bytes is either refused with a message naming it, or read into a book whose text
// has CR LF line breaks only, whose every chapter lies inside the text, and whose table fits a
// book file.

#include "fuzzcheck.h"

#include "chapters/chaptertable.h"
#include "import/pdfimport.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const QString path = u"fuzz.pdf"_s;
    const Result<ImportedBook> read = readPdfBook(bytes, path);
    if (!read) {
        FUZZ_CHECK(read.error().message().startsWith(path + u": "_s));
        FUZZ_CHECK(!read.error().problem.isEmpty() && !read.error().problem.contains(u'\n'));
        return 0;
    }
    const Book &book = read.value().book;
    FUZZ_CHECK(!hasLoneLineBreak(book.text));
    FUZZ_CHECK(book.chapters.size() <= MaxChapterRows);
    for (const ChapterEntry &row : book.chapters) {
        const qint32 offset = chapterOffset(row);
        FUZZ_CHECK(offset >= 0 && offset <= book.text.size());
        FUZZ_CHECK(row.title.size() <= ChapterTitleLength);
    }
    return 0;
}
