#include "referencecleaner.h"

#include "cleaner/textcleaner.h"
#include "search/textreplace.h"

using namespace Qt::StringLiterals;

namespace {

CleanPass replacing(const QString &find, const QString &replacement)
{
    return [=](const QString &text) { return replaceEvery(text, find, replacement); };
}

QString untilStable(const QString &text, std::initializer_list<CleanPass> passes)
{
    return ReplaceUntilStable(text, std::span(passes.begin(), passes.size()));
}

} // namespace

QString referenceCleanBox(int box, const QString &text)
{
    const QString crlf = u"\r\n"_s, marker = u"<PAR>"_s;
    switch (box) {
    case 0: {
        const QString marked =
            untilStable(text, {replacing(crlf + crlf, marker), replacing(crlf + u' ', marker)});
        const QString joined = untilStable(marked, {replacing(crlf, u" "_s)});
        return untilStable(joined, {replacing(marker, crlf + crlf)});
    }
    case 1:
        return untilStable(untilStable(text, {replacing(crlf + u' ', crlf + crlf)}),
                           {replacing(crlf + u'\t', crlf)});
    case 3:
        return untilStable(text, {replacing(crlf + crlf, crlf)});
    }
    Q_UNREACHABLE();
}
