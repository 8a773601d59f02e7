// The chapter scan on any text: every entry lies inside the text, and the one-pass scan finds
// exactly what the 902 sequential searches find.

#include "fuzzcheck.h"
#include "referencescan.h"

#include "book/offsettext.h"
#include "book/textimport.h"
#include "chapters/chapterscan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0 || size > 4096)
        return 0;
    const ScanOptions options{HeadingStyle(data[0] % HeadingStyleCount), (data[0] & 0x80) != 0};
    const QString text = normalizeLineBreaks(utf16Text(data + 1, size - 1));

    const QList<ChapterEntry> rows = ScanChapters(text, options, numberTables());
    for (const ChapterEntry &row : rows) {
        const qint32 offset = offsetTextToNumber(row.offset);
        FUZZ_CHECK(offset >= 0 && offset < text.size());
        FUZZ_CHECK(row.offset == QString::number(offset));
        FUZZ_CHECK(text.mid(offset).startsWith(row.title));
    }
    FUZZ_CHECK(rows == referenceScan(text, options));
    return 0;
}
