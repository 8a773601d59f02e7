// An EPUB book of any bytes is either refused with a message naming it, or read into a book
// whose text has CR LF line breaks only, whose every chapter lies inside the text, and whose
// table fits a book file; what it expands to stays within the archive's bounds.

#include "fuzzcheck.h"

#include "import/epubimport.h"
#include "import/ziparchive.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const QString path = u"fuzz.epub"_s;
    const Result<ImportedBook> read = readEpub(bytes, path);
    checkImported(read, path);
    if (read)
        FUZZ_CHECK(read.value().book.text.size() <= 2 * ZipArchive::MaxContentBytes);
    return 0;
}
