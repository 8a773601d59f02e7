// A PDF of any bytes is either refused with a message naming it, or read into a book whose text
// has CR LF line breaks only, whose every chapter lies inside the text, and whose table fits a
// book file.

#include "fuzzcheck.h"

#include "import/pdfimport.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const QString path = u"fuzz.pdf"_s;
    checkImported(readPdfBook(bytes, path), path);
    return 0;
}
