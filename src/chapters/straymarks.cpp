#include "straymarks.h"

#include <algorithm>

namespace {

bool isSuperscriptDigit(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'\u00B9' || u == u'\u00B2' || u == u'\u00B3' || u == u'\u2070'
           || (u >= u'\u2074' && u <= u'\u2079');
}

// A note's reference in brackets: "[1]", "(12)", "[*]", "(*)".
qsizetype bracketedMarkLength(QStringView line)
{
    if (line.size() < 3 || (line.back() != u']' && line.back() != u')'))
        return 0;
    const QChar open = line.back() == u']' ? u'[' : u'(';
    const qsizetype at = line.lastIndexOf(open);
    if (at < 0)
        return 0;
    const QStringView inner = line.sliced(at + 1, line.size() - at - 2);
    const bool digits =
        !inner.isEmpty() && inner.size() <= 3
        && std::all_of(inner.begin(), inner.end(), [](QChar c) { return c.isDigit(); });
    return digits || inner == u"*" ? line.size() - at : 0;
}

// Whether the line's last character closes a bracket the line never opened: more of its kind
// close than open.
bool closesNothing(QStringView line)
{
    const QChar close = line.back();
    const QChar open = close == u']' ? u'[' : close == u')' ? u'(' : u'{';
    return line.count(close) > line.count(open);
}

// How many characters at the line's end are one stray mark, or 0.
qsizetype strayMarkLength(QStringView line)
{
    if (line.isEmpty())
        return 0;
    const QChar last = line.back();
    if (last == u'*' || last == u'\u2020' || last == u'\u2021' || isSuperscriptDigit(last))
        return 1;
    if (const qsizetype bracketed = bracketedMarkLength(line); bracketed > 0)
        return bracketed;
    if ((last == u']' || last == u')' || last == u'}') && closesNothing(line))
        return 1;
    return 0;
}

} // namespace

QStringView withoutStrayMarks(QStringView line)
{
    QStringView kept = line.trimmed();
    for (qsizetype mark = strayMarkLength(kept); mark > 0; mark = strayMarkLength(kept)) {
        const QStringView rest = kept.chopped(mark).trimmed();
        if (std::none_of(rest.begin(), rest.end(), [](QChar c) { return c.isLetterOrNumber(); }))
            break;
        kept = rest;
    }
    return kept;
}
