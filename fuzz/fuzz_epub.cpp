// An EPUB book of any bytes is either refused with a message naming it, or read into a book
// whose text has CR LF line breaks only, whose every chapter lies inside the text, and whose
// table fits a book file; what it expands to stays within the archive's bounds.

#include "fuzzcheck.h"

#include "chapters/chaptertable.h"
#include "import/epubimport.h"
#include "import/ziparchive.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const QString path = u"fuzz.epub"_s;
    const Result<ImportedBook> read = readEpub(bytes, path);
    if (!read) {
        FUZZ_CHECK(read.error().message().startsWith(path + u": "_s));
        FUZZ_CHECK(!read.error().problem.isEmpty());
        return 0;
    }
    const Book &book = read.value().book;
    FUZZ_CHECK(!hasLoneLineBreak(book.text));
    FUZZ_CHECK(book.text.size() <= 2 * ZipArchive::MaxContentBytes);
    FUZZ_CHECK(book.chapters.size() <= MaxChapterRows);
    for (const ChapterEntry &row : book.chapters) {
        const qint32 offset = chapterOffset(row);
        FUZZ_CHECK(offset >= 0 && offset <= book.text.size());
        FUZZ_CHECK(row.title.size() <= ChapterTitleLength);
    }
    FUZZ_CHECK(!hasLoneLineBreak(book.synopsis));
    return 0;
}
