// Decides which lines are the book's body (between the Gutenberg header and licence) and reads
// each of them once as a heading, for every later stage to look up.

#include "detectorpage.h"

#include "book/textlines.h"
#include "cleaner/gutenbergframe.h"

#include <QHash>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace HeadingDetection {

namespace {

// A line set in italics or bold as plain text marks them, "_January 3, 1891._", "=CHAPTER
// IV.=", "_Chapter IV_.": the marks (and what follows the closing one) are typography, not
// words of the heading. A line that marks a few words inside it is left as it is.
Line withoutEmphasis(QStringView text, Line line)
{
    const QStringView whole = text.sliced(line.start, line.end - line.start);
    qsizetype from = 0;
    while (from < whole.size() && whole[from].isSpace())
        ++from;
    if (from >= whole.size() || (whole[from] != u'_' && whole[from] != u'='))
        return line;
    const QChar mark = whole[from];
    const qsizetype close = whole.lastIndexOf(mark);
    if (close <= from + 1 || whole.sliced(from + 1, close - from - 1).contains(mark))
        return line;
    for (const QChar after : whole.sliced(close + 1)) {
        if (!after.isSpace() && !QStringView(u".,:;!?").contains(after))
            return line;
    }
    const QStringView inner = whole.sliced(from + 1, close - from - 1);
    if (std::none_of(inner.begin(), inner.end(), [](QChar c) { return c.isLetterOrNumber(); }))
        return line;
    return {line.start + from + 1, line.start + close, -1, from + 1};
}

std::vector<Line> splitLines(const QString &text)
{
    std::vector<Line> lines;
    const QList<TextLine> spans = splitTextLines(text);
    lines.reserve(spans.size());
    for (const TextLine &span : spans)
        lines.push_back(withoutEmphasis(text, {span.start, span.end}));
    return lines;
}

} // namespace

Page::Page(const QString &bookText)
    : m_text(bookText)
    , m_lines(splitLines(bookText))
{
    const std::size_t written = m_lines.size();
    std::vector<HeadingLine> reads;
    m_lines = withParagraphBreaks(bookText, std::move(m_lines), reads);
    m_breaksInferred = m_lines.size() > written;
    findBody();
    const qsizetype count = m_last - m_first;
    m_blank.assign(count, true);
    m_reads.resize(count);
    m_proseBefore.assign(count + 1, 0);
    m_entriesBefore.assign(count + 1, 0);
    for (qsizetype i = 0; i < count; ++i) {
        const QStringView line = this->text(m_first + i);
        const bool blank =
            std::all_of(line.begin(), line.end(), [](QChar c) { return c.isSpace(); });
        m_blank[i] = blank;
        if (!blank)
            m_reads[i] = m_lines[m_first + i].read >= 0
                             ? std::move(reads[m_lines[m_first + i].read])
                             : readHeadingLine(line);
    }
    hideFurniture();
    qsizetype continued = -1;
    for (qsizetype i = 0; i < count; ++i) {
        const QStringView line = this->text(m_first + i);
        const bool blank = m_blank[i];
        const bool entry = headingLike(m_first + i);
        // The wrapped rest of a list entry is no text of the book's own.
        continued = entry ? MostTitleLines : (!blank && continued > 0 ? continued - 1 : -1);
        const bool prose = !blank && !entry && continued < 0;
        // A paragraph on one line counts as the lines it would wrap to.
        const qsizetype weight =
            prose ? (line.size() + LongestWrappedTitleLine - 1) / LongestWrappedTitleLine : 0;
        m_proseBefore[i + 1] = m_proseBefore[i] + weight;
        m_entriesBefore[i + 1] = m_entriesBefore[i] + entry;
    }
}

// A heading stands alone: a number or a word opening a sentence that runs on into the next
// line of its paragraph is a numbered paragraph, a verse, an aphorism or a note. (A section
// word and number may run on into a summary: those are headings.)
bool Page::opensParagraph(qsizetype line) const
{
    if (!headingLike(line) || read(line).form == Form::Numbered || line + 1 >= m_last
        || blank(line + 1) || headingLike(line + 1)) {
        return false;
    }
    const QStringView text = this->text(line).trimmed();
    const QStringView next = this->text(line + 1).trimmed();
    const bool lowerInside =
        std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLower(); });
    return next.front().isLower() || (lowerInside && text.size() > LongestTitleLine);
}

namespace {

// A running head's letters, upper-cased: "POEMS" for "POEMS. 43" and "34 POEMS."; empty for a
// line that cannot be one (lower case, long, no letters).
QString runningHeadKey(QStringView line)
{
    constexpr qsizetype LongestRunningHead = 40;
    QString key;
    if (line.size() > LongestRunningHead
        || std::any_of(line.begin(), line.end(), [](QChar c) { return c.isLower(); })) {
        return key;
    }
    for (const QChar c : line) {
        if (c.isLetter() || (c == u' ' && !key.isEmpty() && !key.endsWith(u' ')))
            key.append(c);
    }
    return key.trimmed();
}

// A page number alone: "12", "- 12 -", "[12]", "[Pg 12]".
bool isPageNumber(QStringView line)
{
    QStringView inner = line.trimmed();
    if (inner.startsWith(u"[Pg", Qt::CaseInsensitive)
        || inner.startsWith(u"[Page", Qt::CaseInsensitive))
        return inner.endsWith(u']');
    while (!inner.isEmpty() && QStringView(u"-[]()\u2014 ").contains(inner.front()))
        inner = inner.sliced(1);
    while (!inner.isEmpty() && QStringView(u"-[]()\u2014. ").contains(inner.back()))
        inner.chop(1);
    return !inner.isEmpty() && inner.size() <= 4
           && std::all_of(inner.begin(), inner.end(), [](QChar c) { return c.isDigit(); });
}

} // namespace

// Running heads and page numbers of a scanned book are no text: a line in capitals that comes
// again and again, and a page number next to one or next to another page number, count as
// blank.
void Page::hideFurniture()
{
    constexpr qsizetype FewestRunningHeads = 8;
    const qsizetype count = m_last - m_first;
    std::vector<QString> keys(count);
    // A line that comes again with its number counting up from one, each time the next
    // ("PSALM 1", "PSALM 2"), heads the pieces of a book; a running head's page numbers start
    // further on, or skip the pages where the other head stands.
    struct Seen
    {
        qsizetype times = 0;
        int next = 1;
        bool counting = true;
    };
    QHash<QString, Seen> seen;
    for (qsizetype i = 0; i < count; ++i) {
        if (m_blank[i] || m_reads[i].form != Form::None)
            continue;
        const QStringView line = text(m_first + i).trimmed();
        keys[i] = runningHeadKey(line);
        if (keys[i].isEmpty())
            continue;
        Seen &key = seen[keys[i]];
        ++key.times;
        const auto digit =
            std::find_if(line.begin(), line.end(), [](QChar c) { return c.isDigit(); });
        int value = 0;
        for (auto c = digit; c != line.end() && c->isDigit() && value < 100000; ++c)
            value = value * 10 + c->digitValue();
        key.counting = key.counting && digit != line.end() && value == key.next;
        key.next = value + 1;
    }
    std::vector<bool> furniture(count, false);
    std::vector<bool> number(count, false);
    for (qsizetype i = 0; i < count; ++i) {
        const auto key = seen.constFind(keys[i]);
        furniture[i] = !keys[i].isEmpty() && key->times >= FewestRunningHeads && !key->counting;
        number[i] = !m_blank[i] && isPageNumber(text(m_first + i));
    }
    // The nearest line with text above or below, across a few blank lines.
    auto neighbour = [&](qsizetype i, qsizetype step) -> qsizetype {
        for (qsizetype seenBlanks = 0; seenBlanks <= MostBlanksBeforeTitle + 1; ++seenBlanks) {
            i += step;
            if (i < 0 || i >= count)
                return -1;
            if (!m_blank[i])
                return i;
        }
        return -1;
    };
    for (qsizetype i = 0; i < count; ++i) {
        if (!number[i])
            continue;
        for (const qsizetype step : {-1, 1}) {
            const qsizetype next = neighbour(i, step);
            if (next >= 0 && (furniture[next] || number[next]))
                furniture[i] = true;
        }
    }
    for (qsizetype i = 0; i < count; ++i) {
        if (furniture[i]) {
            m_blank[i] = true;
            m_reads[i] = {};
        }
    }
}

// The lines between the Gutenberg header and licence, or all of them.
void Page::findBody()
{
    m_first = 0;
    m_last = qsizetype(m_lines.size());
    const GutenbergFrame frame = FindGutenbergFrame(m_text);
    if (!frame.found())
        return;
    if (!m_breaksInferred) {
        while (m_first < m_last && m_lines[m_first].start < frame.bodyStart)
            ++m_first;
        while (m_last > m_first && m_lines[m_last - 1].start >= frame.bodyEnd)
            --m_last;
        return;
    }
    // The end is where the whole text's frame says; the header's credits ("Produced by")
    // end at a blank line, so the start is looked for in a copy of the first lines that has
    // the paragraph breaks as blank lines, twice as many lines each time until the body
    // starts inside it.
    while (m_last > m_first && m_lines[m_last - 1].start >= frame.bodyEnd)
        --m_last;
    if (!frame.hasStart)
        return;
    QString head;
    std::vector<qsizetype> starts;
    std::size_t copied = 0;
    for (std::size_t wanted = 256;; wanted *= 2) {
        for (; copied < std::min(wanted, m_lines.size()); ++copied) {
            starts.push_back(head.size());
            head += text(qsizetype(copied));
            head += u"\r\n"_s;
        }
        const GutenbergFrame headFrame = FindGutenbergFrame(head);
        if (headFrame.hasStart && headFrame.bodyStart < starts.back()) {
            m_first = std::lower_bound(starts.begin(), starts.end(), headFrame.bodyStart)
                      - starts.begin();
            break;
        }
        if (copied == m_lines.size()) {
            m_first = m_last; // a header and nothing after it
            break;
        }
    }
    m_last = std::max(m_first, m_last);
}

// A line that may hold a heading's title: short, starting as a title does (not with a quote,
// a bracket or in lower case).
bool titleLike(const Page &page, qsizetype line)
{
    const QStringView text = page.text(line).trimmed();
    if (text.isEmpty() || text.size() > LongestTitleLine)
        return false;
    const QChar first = text.front();
    return first.isUpper() || first.isDigit();
}

} // namespace HeadingDetection
