// Find and Replace on any text: the same results as the plain way, comparing upper-cased
// characters at every position from the left.

#include "fuzzcheck.h"

#include "book/codepage.h"
#include "book/uppercase.h"
#include "search/textreplace.h"

#include <QList>

namespace {

// The input holds three texts separated by the byte 0xFF: the book, the search, the replacement.
QList<QString> split(const uint8_t *data, size_t size)
{
    QList<QString> parts;
    const QByteArrayView all(reinterpret_cast<const char *>(data), qsizetype(size));
    qsizetype start = 0;
    for (int i = 0; i < 2; ++i) {
        const qsizetype end = all.indexOf('\xFF', start);
        if (end < 0)
            return {};
        parts.append(CodePage::decode(all.sliced(start, end - start)));
        start = end + 1;
    }
    parts.append(CodePage::decode(all.sliced(start)));
    return parts;
}

qsizetype plainFind(const QString &text, const QString &what)
{
    if (text.isEmpty())
        return -1;
    const QString upperText = upperCasedPerUnit(text);
    const QString upperWhat = upperCasedPerUnit(what);
    for (qsizetype at = 0; at + upperWhat.size() <= upperText.size(); ++at) {
        if (QStringView(upperText).sliced(at, upperWhat.size()) == upperWhat)
            return at;
    }
    return -1;
}

QString plainReplace(const QString &text, const QString &what, const QString &replacement)
{
    if (what.isEmpty())
        return text;
    const QString upperText = upperCasedPerUnit(text);
    const QString upperWhat = upperCasedPerUnit(what);
    QString result;
    qsizetype at = 0;
    while (at < text.size()) {
        if (at + upperWhat.size() <= upperText.size()
            && QStringView(upperText).sliced(at, upperWhat.size()) == upperWhat) {
            result += replacement;
            at += what.size();
        } else {
            result += text[at++];
        }
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 8192)
        return 0;
    const QList<QString> parts = split(data, size);
    if (parts.size() != 3)
        return 0;
    const QString &text = parts[0];
    const QString &what = parts[1];
    const QString &replacement = parts[2];

    FUZZ_CHECK(findFirst(text, what) == plainFind(text, what));
    FUZZ_CHECK(replaceAllIgnoringCase(text, what, replacement)
               == plainReplace(text, what, replacement));
    return 0;
}
