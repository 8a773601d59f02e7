// A book of any bytes in each format besides EPUB and web pages (the first byte chooses the
// reader: text in any encoding, FictionBook, FictionBook in an archive, Word, OpenDocument,
// Kindle, Markdown) is either refused with a message naming it, or read into a book whose text
// has CR LF line breaks only, whose every chapter lies inside the text, and whose table fits a
// book file.

#include "fuzzcheck.h"

#include "import/documentimport.h"
#include "import/fictionbook.h"
#include "import/kindleimport.h"
#include "import/markdownimport.h"
#include "import/textencoding.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArrayView bytes(data + 1, qsizetype(size - 1));
    const QString path = u"fuzz.book"_s;
    Result<ImportedBook> read = FileError{path, u"unread"_s};
    switch (data[0] % 7) {
    case 0: {
        const DecodedText text = decodeAnyText(bytes);
        FUZZ_CHECK(!hasLoneLineBreak(text.text));
        return 0;
    }
    case 1:
        read = readFictionBook(bytes, path);
        break;
    case 2:
        read = readFictionBookZip(bytes, path);
        break;
    case 3:
        read = readWordDocument(bytes, path);
        break;
    case 4:
        read = readOpenDocument(bytes, path);
        break;
    case 5:
        read = readKindleBook(bytes, path);
        break;
    default:
        read = readMarkdownBook(bytes, path);
        break;
    }
    checkImported(read, path);
    return 0;
}
