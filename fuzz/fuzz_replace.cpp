// Find and Replace on any text: the same results as the plain way, comparing upper-cased
// characters at every position from the left.

#include "fuzzcheck.h"

#include "book/codepage.h"
#include "book/uppercase.h"
#include "search/textreplace.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The input holds three texts separated by the byte 0xFF: the book, the search, the
    // replacement (which may hold 0xFF itself).
    const QByteArrayView all(data, qsizetype(size));
    const qsizetype first = all.indexOf('\xFF');
    const qsizetype second = first < 0 ? -1 : all.indexOf('\xFF', first + 1);
    if (size > 8192 || second < 0)
        return 0;
    const QString text = CodePage::decode(CodePage::Western, all.first(first));
    const QString what =
        CodePage::decode(CodePage::Western, all.sliced(first + 1, second - first - 1));
    const QString replacement = CodePage::decode(CodePage::Western, all.sliced(second + 1));

    const QString upperText = upperCasedPerUnit(text);
    const QString upperWhat = upperCasedPerUnit(what);
    auto matchesAt = [&](qsizetype at) {
        return at + upperWhat.size() <= upperText.size()
               && QStringView(upperText).sliced(at, upperWhat.size()) == upperWhat;
    };
    qsizetype found = -1;
    for (qsizetype at = 0; found < 0 && !text.isEmpty() && at <= text.size(); ++at) {
        if (matchesAt(at))
            found = at;
    }
    QString replaced;
    for (qsizetype at = 0; at < text.size();) {
        if (!what.isEmpty() && matchesAt(at)) {
            replaced += replacement;
            at += what.size();
        } else {
            replaced += text[at++];
        }
    }
    FUZZ_CHECK(findFirst(text, what) == found);
    FUZZ_CHECK(replaceAllIgnoringCase(text, what, replacement) == replaced);
    return 0;
}
