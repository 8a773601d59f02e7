#include "gutenbergframe.h"

#include "book/book.h"
#include "book/textlines.h"

#include <QList>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// A line and its text.
struct Line : TextLine
{
    QStringView text;
};

QList<Line> splitLines(QStringView text)
{
    const QList<TextLine> found = splitTextLines(text);
    QList<Line> lines;
    lines.reserve(found.size());
    for (const TextLine &line : found)
        lines.append({line, line.in(text)});
    return lines;
}

bool isBlank(QStringView line)
{
    return line.trimmed().isEmpty();
}

// Reads the words of a marker off the start of a line, ignoring letter case and allowing any
// run of spaces (or none) where the pattern has one space, as hand-made and re-encoded copies
// space the markers loosely. "'" in the pattern stands for either apostrophe.
class MarkerReader
{
public:
    explicit MarkerReader(QStringView line)
        : m_rest(line.trimmed())
    {}

    bool take(QStringView pattern)
    {
        QStringView rest = m_rest;
        for (const QChar expected : pattern) {
            if (expected == u' ') {
                while (!rest.isEmpty() && rest.front().isSpace())
                    rest = rest.sliced(1);
                continue;
            }
            if (rest.isEmpty())
                return false;
            const QChar actual = rest.front();
            const bool same = expected == u'\'' ? actual == u'\'' || actual == u'\u2019'
                                                : actual.toCaseFolded() == expected.toCaseFolded();
            if (!same)
                return false;
            rest = rest.sliced(1);
        }
        m_rest = rest;
        return true;
    }

    bool takeAny(std::initializer_list<QStringView> patterns)
    {
        for (QStringView pattern : patterns) {
            if (take(pattern))
                return true;
        }
        return false;
    }

private:
    QStringView m_rest;
};

// Whether a line's first non-blank character is one of first; most lines are ruled out by it
// before any marker is read.
bool opensWith(QStringView line, QStringView first)
{
    for (const QChar c : line) {
        // A plain look through the few characters: this runs for every line of the book.
        if (!c.isSpace())
            return std::find(first.begin(), first.end(), c) != first.end();
    }
    return false;
}

// "*** START OF THE PROJECT GUTENBERG EBOOK ..." in its forms, and the line that ends the small
// print the oldest files open with ("*END*THE SMALL PRINT! FOR PUBLIC DOMAIN ETEXTS*...*END*").
bool isStartMarker(QStringView line)
{
    if (!opensWith(line, u"*"))
        return false;
    MarkerReader reader(line);
    if (reader.take(u"*** START OF "))
        return reader.takeAny({u"THE ", u"THIS "}) && reader.take(u"PROJECT GUTENBERG");
    if (!reader.take(u"*END"))
        return false;
    reader.take(u"*");
    return reader.take(u" THE SMALL PRINT");
}

// The first line of the licence that follows the book.
bool isEndLine(QStringView line)
{
    if (!opensWith(line, u"*Ee"))
        return false;
    MarkerReader reader(line);
    if (reader.take(u"*** END OF "))
        return reader.takeAny({u"THE ", u"THIS "}) && reader.take(u"PROJECT GUTENBERG");
    if (!reader.take(u"END OF "))
        return false;
    if (reader.take(u"THE PROJECT GUTENBERG "))
        return reader.takeAny({u"EBOOK", u"E-BOOK", u"ETEXT", u"E-TEXT"});
    return reader.take(u"PROJECT GUTENBERG")
           && reader.takeAny({u"'S", u" ETEXT", u" E-TEXT", u" EBOOK", u" E-BOOK"});
}

// "Produced by ...", "E-text prepared by ...": who made the e-text, which belongs to the header.
bool opensCredits(QStringView line)
{
    MarkerReader reader(line);
    return reader.takeAny({u"PRODUCED BY", u"E-TEXT PREPARED BY", u"ETEXT PREPARED BY",
                           u"E-BOOK PREPARED BY", u"EBOOK PREPARED BY", u"TRANSCRIBED BY"});
}

// The value of a header field such as "Title: ...", with the indented lines right under it
// that continue it.
std::optional<QString> headerField(const QList<Line> &lines, qsizetype from, qsizetype to,
                                   QStringView name)
{
    for (qsizetype i = from; i < to; ++i) {
        const QStringView line = lines[i].text;
        if (line.size() <= name.size() || !line.startsWith(name, Qt::CaseInsensitive)
            || line[name.size()] != u':') {
            continue;
        }
        QString value = line.sliced(name.size() + 1).trimmed().toString();
        for (qsizetype next = i + 1; next < to; ++next) {
            const QStringView continued = lines[next].text;
            if (isBlank(continued) || !continued.front().isSpace())
                break;
            value += u' ' + continued.trimmed().toString();
        }
        return value;
    }
    return std::nullopt;
}

} // namespace

GutenbergFrame FindGutenbergFrame(QStringView text)
{
    const QList<Line> lines = splitLines(text);
    const qsizetype lineCount = lines.size();

    // The first end line counts from the body's start on; a start marker counts only before it
    // (or, without one, in the first part of the text), so the small print that closes the
    // licence at the end of an old file never starts a body.
    // Every marker opens with "*" or an "e" of either case: the searches look at those lines.
    QList<qsizetype> opening;
    for (qsizetype i = 0; i < lineCount; ++i) {
        if (opensWith(lines[i].text, u"*Ee"))
            opening.append(i);
    }
    qsizetype firstEnd = lineCount;
    for (const qsizetype i : opening) {
        if (isEndLine(lines[i].text)) {
            firstEnd = i;
            break;
        }
    }
    std::optional<qsizetype> start;
    constexpr qsizetype LongestHeader = 1000; // lines; the old small print runs to some 400
    const qsizetype startLimit =
        firstEnd < lineCount ? firstEnd
                             : std::min(lineCount, std::max((lineCount + 1) / 2, LongestHeader));
    for (const qsizetype i : opening) {
        if (i >= startLimit)
            break;
        if (isStartMarker(lines[i].text))
            start = i;
    }
    std::optional<qsizetype> end;
    const qsizetype afterStart = start ? *start + 1 : 0;
    for (const qsizetype i : opening) {
        if (i >= afterStart && isEndLine(lines[i].text)) {
            end = i;
            break;
        }
    }

    GutenbergFrame frame;
    frame.hasStart = start.has_value();
    frame.hasEnd = end.has_value();
    if (!frame.found()) {
        frame.bodyEnd = text.size();
        return frame;
    }

    qsizetype first = start ? *start + 1 : 0;
    qsizetype last = end ? *end : lineCount; // one past the body's last line
    while (first < last && isBlank(lines[first].text))
        ++first;
    if (start && first < last && opensCredits(lines[first].text)) {
        // The credits run to the next blank line, and are a few lines long; in a text whose
        // blank lines were cleaned away only their first line is surely credits.
        constexpr qsizetype LongestCredits = 8;
        qsizetype end = first + 1;
        while (end < last && end - first <= LongestCredits && !isBlank(lines[end].text))
            ++end;
        first = end < last && isBlank(lines[end].text) ? end : first + 1;
        while (first < last && isBlank(lines[first].text))
            ++first;
    }
    while (last > first && isBlank(lines[last - 1].text))
        --last;
    if (first < last) {
        frame.bodyStart = lines[first].start;
        frame.bodyEnd = lines[last - 1].end;
    } else {
        frame.bodyStart = frame.bodyEnd = first < lineCount ? lines[first].start : text.size();
    }

    // Without a start marker the header, if any, is what opens the text.
    constexpr qsizetype HeaderLinesWithoutMarker = 60;
    const qsizetype headerEnd = start ? *start : std::min(first + HeaderLinesWithoutMarker, last);
    frame.title = headerField(lines, 0, headerEnd, u"Title").value_or(QString());
    frame.author = headerField(lines, 0, headerEnd, u"Author").value_or(QString());
    return frame;
}

QString fieldFromHeader(const QString &field, const QString &headerValue)
{
    return !headerValue.isEmpty() && isMissingTitle(field) ? headerValue : field;
}
