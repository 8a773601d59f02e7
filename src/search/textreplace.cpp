#include "textreplace.h"

#include "book/uppercase.h"

namespace {

// Builds text with the stretches [at, at + length) at the given positions replaced.
class Rebuilder
{
public:
    Rebuilder(const QString &text, QStringView replacement)
        : m_text(text)
        , m_replacement(replacement)
    {}

    void replaceAt(qsizetype at, qsizetype length)
    {
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

private:
    const QString &m_text;
    QStringView m_replacement;
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
    for (qsizetype at = text.indexOf(first, from); at >= 0 && at <= last;
         at = text.indexOf(first, at + 1)) {
        if (text.sliced(at + 1, rest.size()) == rest)
            return at;
    }
    return -1;
}

} // namespace

std::optional<QString> replaceEvery(const QString &text, QStringView find, QStringView replacement)
{
    if (find.isEmpty())
        return std::nullopt;
    Rebuilder rebuilt(text, replacement);
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

QString replaceAllIgnoringCase(const QString &text, const QString &what, const QString &replacement)
{
    if (what.isEmpty())
        return text;
    const QString upperText = upperCasedPerUnit(text);
    const QString upperWhat = upperCasedPerUnit(what);
    Rebuilder rebuilt(text, replacement);
    for (qsizetype at = indexOf(upperText, upperWhat, 0); at >= 0;
         at = indexOf(upperText, upperWhat, at + upperWhat.size())) {
        rebuilt.replaceAt(at, upperWhat.size());
    }
    return rebuilt.result().value_or(text);
}
