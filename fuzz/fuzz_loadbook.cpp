// A book file of any bytes is either refused with a message naming it, or read into a book that
// is written back byte for byte in the code page it was read in (the fields the reader ignores
// aside, and when its text has CR LF line breaks only). And any bytes decode and encode back to
// themselves in every code page.

#include "fuzzcheck.h"

#include "book/bookfile.h"
#include "book/codepage.h"

#include <cstring>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const CodePage::Id codePage : CodePage::all()) {
        const QString text = CodePage::decode(codePage, bytes);
        FUZZ_CHECK(text.size() == bytes.size());
        FUZZ_CHECK(CodePage::encode(codePage, text) == bytes);
    }

    const QString path = u"fuzz.vlm"_s;
    const Result<Book> loaded = parseBook(bytes, path);
    if (!loaded) {
        FUZZ_CHECK(loaded.error().message().startsWith(path + u": "_s));
        FUZZ_CHECK(!loaded.error().problem.isEmpty());
        return 0;
    }

    const Book &book = loaded.value();
    const qsizetype textAt = BookFileHeader::Size + ChapterRecord::Size * book.chapters.size();
    FUZZ_CHECK(textAt <= bytes.size());
    FUZZ_CHECK(!hasLoneLineBreak(book.text));
    if (hasLoneLineBreak(CodePage::decode(book.codePage, bytes.sliced(textAt))))
        return 0;

    // What the writer always writes where the reader looks at nothing.
    QByteArray expected = bytes;
    std::memcpy(expected.data(), "\x01\x00\x00\x00", 2 + 2);
    std::memset(expected.data() + BookFileHeader::Reserved8, 0, 8);
    std::memcpy(expected.data() + BookFileHeader::Magic, "VLM", 3);
    std::memset(expected.data() + BookFileHeader::Reserved1024, 0,
                BookFileHeader::Reserved1024Length);
    FUZZ_CHECK(serializeBook(book) == expected);
    return 0;
}
