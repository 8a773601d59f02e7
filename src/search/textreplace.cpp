#include "textreplace.h"

#include "book/textimport.h"
#include "book/textlines.h"
#include "book/uppercase.h"

#include <QLocale>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Builds text with the stretches [at, at + length) at the given positions replaced.
class Rebuilder
{
public:
    Rebuilder(const QString &text, QStringView replacement, OffsetMap *moves)
        : m_text(text)
        , m_replacement(replacement)
        , m_moves(moves)
    {}

    void replaceAt(qsizetype at, qsizetype length)
    {
        ++m_count;
        if (m_moves)
            m_moves->replace(at, QStringView(m_text).sliced(at, length), m_replacement);
        if (m_result.isNull())
            m_result.reserve(m_text.size());
        m_result.append(QStringView(m_text).sliced(m_copiedUpTo, at - m_copiedUpTo));
        m_result.append(m_replacement);
        m_copiedUpTo = at + length;
    }

    std::optional<QString> result()
    {
        if (m_result.isNull())
            return std::nullopt;
        m_result.append(QStringView(m_text).sliced(m_copiedUpTo));
        return std::move(m_result);
    }

    qsizetype count() const { return m_count; }

private:
    const QString &m_text;
    QStringView m_replacement;
    OffsetMap *m_moves;
    qsizetype m_count = 0;
    QString m_result;
    qsizetype m_copiedUpTo = 0;
};

// The next occurrence of a non-empty needle from position from on, or -1. The cleaner's needles
// are short and begin with characters that are rare in a book (CR, "<", a tab, a curly quote):
// finding the first character with Qt's vectorised character search and checking the rest
// beats a general substring search by far.
qsizetype indexOf(QStringView text, QStringView needle, qsizetype from)
{
    const QChar first = needle.front();
    const QStringView rest = needle.sliced(1);
    const qsizetype last = text.size() - needle.size();
    // A space or a letter stands every few characters, where calling the vectorised search
    // for each would cost more than looking for the needle's first two characters together.
    const bool common =
        first.unicode() < 0x80 && (first == u' ' || first.isLetterOrNumber()) && !rest.isEmpty();
    const auto startsNeedle = [a = first.unicode(), b = common ? rest.front().unicode() : u'\0'](
                                  char16_t c, char16_t next) { return (c == a) & (next == b); };
    auto candidate = [&](qsizetype at) {
        return common ? findPair(text, at, startsNeedle) : text.indexOf(first, at);
    };
    for (qsizetype at = candidate(from); at >= 0 && at <= last; at = candidate(at + 1)) {
        if (text.sliced(at + 1, rest.size()) == rest)
            return at;
    }
    return -1;
}

} // namespace

std::optional<QString> replaceEvery(const QString &text, QStringView find, QStringView replacement,
                                    OffsetMap *moves)
{
    if (find.isEmpty())
        return std::nullopt;
    Rebuilder rebuilt(text, replacement, moves);
    for (qsizetype at = indexOf(text, find, 0); at >= 0; at = indexOf(text, find, at + find.size()))
        rebuilt.replaceAt(at, find.size());
    return rebuilt.result();
}

qsizetype findFirst(const QString &text, const QString &what)
{
    if (text.isEmpty())
        return -1;
    return upperCasedPerUnit(text).indexOf(upperCasedPerUnit(what));
}

NextFound findNext(const QString &text, const QString &what, qsizetype from)
{
    if (text.isEmpty() || what.isEmpty())
        return {findFirst(text, what), false};
    const QString upperText = upperCasedPerUnit(text);
    const QString upperWhat = upperCasedPerUnit(what);
    if (const qsizetype at =
            upperText.indexOf(upperWhat, std::clamp<qsizetype>(from, 0, text.size()));
        at >= 0) {
        return {at, false};
    }
    const qsizetype first = upperText.indexOf(upperWhat);
    return {first, first >= 0};
}

namespace {

QString replaceIgnoringCase(const QString &text, const QString &what, const QString &replacement,
                            OffsetMap *moves, qsizetype *count)
{
    if (what.isEmpty())
        return text;
    const QString upperText = upperCasedPerUnit(text);
    const QString upperWhat = upperCasedPerUnit(what);
    Rebuilder rebuilt(text, replacement, moves);
    for (qsizetype at = indexOf(upperText, upperWhat, 0); at >= 0;
         at = indexOf(upperText, upperWhat, at + upperWhat.size())) {
        rebuilt.replaceAt(at, upperWhat.size());
    }
    if (count)
        *count = rebuilt.count();
    return rebuilt.result().value_or(text);
}

} // namespace

QString replaceAllIgnoringCase(const QString &text, const QString &what, const QString &replacement)
{
    return replaceIgnoringCase(text, what, replacement, nullptr, nullptr);
}

Replacement ReplaceInBook(const QString &text, const QString &what, const QString &replacement)
{
    Replacement result;
    OffsetMap replaced;
    const QString rebuilt = replaceIgnoringCase(text, what, replacement, &replaced, &result.count);
    OffsetMap breaks;
    result.text = normalizeLineBreaks(rebuilt, &breaks);
    result.moves = OffsetMap::compose(replaced, breaks);
    return result;
}

QString describeReplaced(qsizetype count)
{
    return u"%1 replaced"_s.arg(QLocale(QLocale::English, QLocale::UnitedStates).toString(count));
}
