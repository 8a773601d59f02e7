#include "headingdetector.h"

#include "chaptertable.h"
#include "headingline.h"

#include "book/textlines.h"
#include "cleaner/gutenbergframe.h"

#include <QHash>
#include <QSet>
#include <QStringTokenizer>

#include <algorithm>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

using Form = HeadingLine::Form;

// A heading's own block is short: its line and a title or a wrapped rest of at most two lines,
// each shorter than a line of prose.
constexpr qsizetype MostTitleLines = 2;
constexpr qsizetype LongestTitleLine = 60;
constexpr qsizetype LongestWrappedTitleLine = 80;
// The title on the next non-blank line stands at most this many blank lines below.
constexpr qsizetype MostBlanksBeforeTitle = 3;
// Between two entries of a contents list stand at most this many lines of other text (a
// synopsis wrapped onto the next line, a half-title); a chapter holds more.
constexpr qsizetype MostProseInList = 2;
// Stacked heading lines with no blank between: a part over its first chapter is two, a list
// of contents is more.
constexpr qsizetype MostStackedHeadings = 2;

struct Line
{
    qsizetype start; // offset of its first character
    qsizetype end;   // offset of its line break, or of the text's end
    // Where what it says as a heading stands, when it was read to find paragraph breaks.
    qsizetype read = -1;
};

std::vector<Line> splitLines(const QString &text)
{
    std::vector<Line> lines;
    const QList<TextLine> spans = splitTextLines(text);
    lines.reserve(spans.size());
    for (const TextLine &span : spans)
        lines.push_back({span.start, span.end});
    return lines;
}

// Where a text has next to no blank lines (the Text Cleaner's "Clean double carraige returns"
// takes them all), the paragraph breaks they marked are read from the lines themselves and
// stand in as empty lines, so that a heading stands apart as it does in the text as written.
//  - Unwrapped text holds a paragraph on each line: every break ends one.
//  - In wrapped text a line well short of the usual width ends its paragraph; so does a line
//    ending a sentence before a short line or before a line that reads as a heading, a title in
//    capitals before a numbered heading, and a heading line before prose. A short line after a
//    line that runs on ("so did / I.") ends the paragraph it belongs to.
//  - In either, a line without a sentence's end runs on into one that starts in lower case (a
//    letter or verse kept in short lines), and entries of a list one under another stay so.
constexpr qsizetype FewestLinesPerBlank = 25;
constexpr qsizetype LongestWrappedLine = 100;

qsizetype visibleLength(QStringView line)
{
    qsizetype length = line.size();
    while (length > 0 && line[length - 1].isSpace())
        --length;
    return length;
}

bool endsSentence(QStringView line)
{
    static const QStringView closers = u".!?:;\"'_)]\u201D\u2019";
    const qsizetype length = visibleLength(line);
    return length > 0 && closers.contains(line[length - 1]);
}

// A line without a lower-case letter: a title, not a line of prose that runs on.
bool inCapitals(QStringView line)
{
    return std::none_of(line.begin(), line.end(), [](QChar c) { return c.isLower(); });
}

std::vector<Line> withParagraphBreaks(const QString &text, std::vector<Line> lines,
                                      std::vector<HeadingLine> &reads)
{
    auto lineText = [&](const Line &l) {
        return QStringView(text).sliced(l.start, l.end - l.start);
    };
    // Blank lines between lines of text; those before the first and after the last say
    // nothing of paragraphs.
    qsizetype blanks = 0;
    qsizetype pending = 0;
    qsizetype filled = 0;
    qsizetype longLines = 0;
    // How many lines have each visible length, the longest counted together.
    std::vector<qsizetype> lengths(LongestWrappedLine + 1, 0);
    for (const Line &l : lines) {
        const qsizetype length = visibleLength(lineText(l));
        if (length == 0) {
            pending += filled > 0;
            continue;
        }
        blanks += pending;
        pending = 0;
        ++filled;
        longLines += length > LongestWrappedLine;
        ++lengths[std::min(length, LongestWrappedLine)];
    }
    if (filled == 0 || blanks * FewestLinesPerBlank >= filled)
        return lines;
    // A fifth of the lines longer than any wrapped line: each line is a paragraph.
    const bool unwrapped = longLines * 5 > filled;
    // The usual width of a wrapped line: nine lines in ten are no longer.
    qsizetype width = 0;
    for (qsizetype seen = 0; width < LongestWrappedLine && seen * 10 < filled * 9; ++width)
        seen += lengths[width];
    const qsizetype shortLine = width * 3 / 4;
    std::vector<Line> result;
    result.reserve(unwrapped ? 2 * lines.size() : lines.size() + lines.size() / 4);
    // What the line above says as a heading, where it was read, and whether it starts a
    // paragraph as a heading.
    HeadingLine aboveRead;
    bool aboveHeading = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const QStringView below = lineText(lines[i]);
        const qsizetype belowLength = visibleLength(below);
        const QStringView above = i > 0 ? lineText(lines[i - 1]) : QStringView();
        const qsizetype aboveLength = visibleLength(above);
        const bool afterEnd = aboveLength == 0 || aboveLength < shortLine || endsSentence(above);
        HeadingLine read;
        const bool capitals = inCapitals(above) || inCapitals(below);
        if (belowLength > 0 && (unwrapped || afterEnd || capitals)) {
            read = readHeadingLine(below);
            lines[i].read = qsizetype(reads.size());
            reads.push_back(read);
        }
        // Where the line above may run on, only a numbered heading with capitals on one side
        // starts a paragraph: a caption in capitals runs on into a line that starts with a
        // matter word, prose into a line that starts "Chapter II. The".
        const bool heading = !unwrapped && read.isHeading()
                             && (afterEnd || (read.form == Form::Numbered && capitals));
        if (aboveLength > 0 && belowLength > 0) {
            const bool runsOn = !endsSentence(above) && below.trimmed().front().isLower();
            // Entries of a list one under another, numbered in sequence, stay so, as a list
            // written with blank lines between its entries would not.
            const bool listed =
                read.form != Form::None && aboveRead.form != Form::None
                && read.word == aboveRead.word
                && (read.form == Form::ListEntry || read.number == aboveRead.number + 1);
            bool ends = false;
            if (runsOn || listed)
                ends = false;
            else if (unwrapped || aboveLength < shortLine)
                ends = true;
            else if (aboveHeading && belowLength >= shortLine)
                ends = true; // a heading over prose; the short rest of its title stays with it
            else
                ends = (endsSentence(above) && belowLength < shortLine) || heading;
            if (ends)
                result.push_back({lines[i].start, lines[i].start});
        }
        result.push_back(lines[i]);
        aboveRead = read;
        aboveHeading = heading;
    }
    return result;
}

struct Candidate
{
    qsizetype line = 0;
    HeadingLine read;
    qsizetype end = 0;       // one past its last line, title lines included
    qsizetype titleFrom = 0; // the lines whose text joins the title: [titleFrom, titleTo)
    qsizetype titleTo = 0;
    bool listed = false;
    HeadingLevel level = HeadingLevel::Chapter;
};

// The book's lines, what each says as a heading, and the candidates found among them.
class Page
{
public:
    explicit Page(const QString &bookText)
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
        qsizetype continued = -1;
        for (qsizetype i = 0; i < count; ++i) {
            const QStringView line = this->text(m_first + i);
            bool blank = true;
            for (const QChar c : line) {
                if (!c.isSpace()) {
                    blank = false;
                    break;
                }
            }
            m_blank[i] = blank;
            if (!blank)
                m_reads[i] = m_lines[m_first + i].read >= 0
                                 ? std::move(reads[m_lines[m_first + i].read])
                                 : readHeadingLine(line);
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

    // Whether the paragraph breaks were read from the lines of a text without blank lines.
    bool breaksInferred() const { return m_breaksInferred; }
    qsizetype first() const { return m_first; }
    qsizetype last() const { return m_last; }
    QStringView text(qsizetype line) const
    {
        const Line &l = m_lines[line];
        return QStringView(m_text).sliced(l.start, l.end - l.start);
    }
    qsizetype offset(qsizetype line) const { return m_lines[line].start; }
    bool blank(qsizetype line) const
    {
        return line < m_first || line >= m_last || m_blank[line - m_first];
    }
    const HeadingLine &read(qsizetype line) const { return m_reads[line - m_first]; }
    bool headingLike(qsizetype line) const
    {
        return line >= m_first && line < m_last && read(line).form != Form::None;
    }
    // Lines of other text (neither blank nor heading-like) in [from, to), a long line counted
    // as the lines it would wrap to.
    qsizetype proseLines(qsizetype from, qsizetype to) const
    {
        return m_proseBefore[to - m_first] - m_proseBefore[from - m_first];
    }
    // Heading-like lines in [from, to).
    qsizetype entryLines(qsizetype from, qsizetype to) const
    {
        return m_entriesBefore[to - m_first] - m_entriesBefore[from - m_first];
    }

private:
    // The lines between the Gutenberg header and licence, or all of them.
    void findBody()
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

    const QString &m_text;
    std::vector<Line> m_lines;
    bool m_breaksInferred = false;
    qsizetype m_first = 0;
    qsizetype m_last = 0;
    std::vector<bool> m_blank;
    std::vector<HeadingLine> m_reads;
    std::vector<qsizetype> m_proseBefore;
    std::vector<qsizetype> m_entriesBefore;
};

bool isChapterish(const HeadingLine &read)
{
    return read.form == Form::Bare || read.form == Form::NumberedTitle || read.form == Form::Listed
           || (read.form == Form::Numbered && read.level == HeadingLevel::Chapter);
}

bool isPartWord(const HeadingLine &read)
{
    return read.form == Form::Numbered && read.level == HeadingLevel::Part;
}

bool isMatter(const HeadingLine &read)
{
    return read.level == HeadingLevel::FrontMatter || read.level == HeadingLevel::BackMatter;
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

// A single title line longer than a title line usually is, that still reads as a title: in
// capitals, or with every longer word capitalised.
bool longTitleLine(QStringView text)
{
    constexpr qsizetype LongestTitle = 120;
    constexpr qsizetype ShortWord = 3; // "the", "of", "and" stay in lower case in titles
    if (text.size() > LongestTitle || !(text.front().isUpper() || text.front().isDigit()))
        return false;
    for (QStringView word : QStringTokenizer(text, u' ', Qt::SkipEmptyParts)) {
        if (word.size() > ShortWord && word.front().isLower())
            return false;
    }
    return true;
}

// A line under a heading line that belongs to it: a short title, or the wrapped rest of a long
// title in capitals.
bool restOfHeading(QStringView text)
{
    if (text.size() <= LongestTitleLine)
        return true;
    return text.size() <= LongestWrappedTitleLine
           && std::none_of(text.begin(), text.end(), [](QChar c) { return c.isLower(); });
}

// The heading lines that stand as headings do: after a blank line (or right under another
// heading), alone or with a short title below, not inside a block of heading-like lines.
std::optional<Candidate> standingHeading(const Page &page, qsizetype line)
{
    const HeadingLine &read = page.read(line);
    if (!read.isHeading())
        return std::nullopt;

    // The walks stop once the stack is too high, so that a long run of such lines costs no
    // more than a short one per line.
    qsizetype stackStart = line;
    while (stackStart > page.first() && line - stackStart < MostStackedHeadings
           && page.headingLike(stackStart - 1)) {
        --stackStart;
    }
    qsizetype stackEnd = line + 1;
    while (stackEnd < page.last() && stackEnd - stackStart <= MostStackedHeadings
           && page.headingLike(stackEnd)) {
        ++stackEnd;
    }
    if (stackEnd - stackStart > MostStackedHeadings)
        return std::nullopt;
    if (stackStart > page.first() && !page.blank(stackStart - 1))
        return std::nullopt;

    // A line with a title that runs on, across blank lines, into one in lower case is a
    // sentence: "Postscript--I did not tell you that Blandly, / who, by the way" where every
    // line of a letter was made a paragraph. (A title wrapped onto the next line is no such.)
    if (read.titled && !endsSentence(page.text(line))) {
        qsizetype next = line + 1;
        while (next < page.last() && page.blank(next) && next - line <= MostBlanksBeforeTitle)
            ++next;
        if (next > line + 1 && next < page.last() && !page.blank(next)
            && page.text(next).trimmed().front().isLower())
            return std::nullopt;
    }

    Candidate candidate{line, read, line + 1, line + 1, line + 1};
    if (stackEnd > line + 1)
        return candidate; // a part over its first chapter: the chapter's title is its own

    // The rest of the block: the title below, or the wrapped rest of a long heading.
    // (Only a block of a few lines can be short: the walk stops after them.)
    qsizetype blockEnd = line + 1;
    while (blockEnd < page.last() && !page.blank(blockEnd) && blockEnd - line <= MostTitleLines + 1)
        ++blockEnd;
    const qsizetype rest = blockEnd - line - 1;
    const bool shortBlock = rest <= MostTitleLines && [&] {
        for (qsizetype i = line + 1; i < blockEnd; ++i) {
            if (!restOfHeading(page.text(i).trimmed()))
                return false;
        }
        return true;
    }();
    if (shortBlock) {
        candidate.end = candidate.titleTo = blockEnd;
    } else if (read.titled || read.form != Form::Numbered) {
        // Prose right under the line: a sentence that happens to start like a heading, unless
        // the line is a section word and a number alone.
        return std::nullopt;
    }
    if (rest > 0 || read.titled)
        return candidate;

    // A title on the next non-blank line, standing alone.
    qsizetype title = blockEnd;
    while (title < page.last() && page.blank(title) && title - blockEnd < MostBlanksBeforeTitle)
        ++title;
    if (title >= page.last() || page.blank(title))
        return candidate;
    if (!titleLike(page, title)
        && !(page.blank(title + 1) && longTitleLine(page.text(title).trimmed()))) {
        return candidate;
    }
    // Under a front or back heading only a subtitle in capitals; a list of persons or the first
    // line of a preface is text.
    if (read.form == Form::Named
        && std::any_of(page.text(title).begin(), page.text(title).end(),
                       [](QChar c) { return c.isLower(); })) {
        return candidate;
    }
    const HeadingLine &titleRead = page.read(title);
    if (titleRead.form != Form::None
        && !(titleRead.form == Form::Named && read.form != Form::Named && !titleRead.titled)) {
        return candidate;
    }
    qsizetype titleEnd = title + 1;
    while (titleEnd < page.last() && !page.blank(titleEnd) && titleEnd - title <= MostTitleLines) {
        if (!titleLike(page, titleEnd))
            return candidate;
        ++titleEnd;
    }
    if (titleEnd - title > MostTitleLines || !page.blank(titleEnd))
        return candidate;
    candidate.titleFrom = title;
    candidate.end = candidate.titleTo = titleEnd;
    return candidate;
}

QString key(const HeadingLine &read)
{
    return read.word + u'#' + QString::number(read.number);
}

// Two headings close together that a book's body never has: a chapter straight after another
// (or after a front heading), a part straight after a part of its own kind. A part over its
// first chapter, a volume over a book, an epilogue or a chapter over its first section, a short
// preface before a part are close in bodies too.
bool listPair(const Candidate &above, const Candidate &below)
{
    if (isPartWord(above.read))
        return isPartWord(below.read) && below.read.word == above.read.word;
    if (isChapterish(below.read) && below.read.number == 1 && below.read.word != above.read.word)
        return false;
    if (isMatter(above.read) && isPartWord(below.read))
        return false;
    return true;
}

// Contents lists and lists of illustrations: runs of candidates with next to no text between
// them, where some pair could not stand so close in a body or other entries stand between. A run
// ends where a heading comes again, which is where the body starts after its own list.
void markLists(const Page &page, std::vector<Candidate> &candidates)
{
    std::size_t runStart = 0;
    bool listRun = false;
    QSet<QString> keys;
    auto closeRun = [&](std::size_t end) {
        if (listRun) {
            for (std::size_t i = runStart; i < end; ++i)
                candidates[i].listed = true;
        }
    };
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const Candidate &below = candidates[i];
        const QString k = key(below.read);
        // Chapter numbers come again in a list of a book whose parts restart them; anything else
        // coming again, or the list's first entry, is the body's own heading.
        const bool again =
            keys.contains(k) && (k == key(candidates[runStart].read) || !isChapterish(below.read));
        bool joins = false;
        qsizetype from = 0;
        if (i > 0 && !again) {
            from = std::min(candidates[i - 1].end, below.line);
            joins = page.proseLines(from, below.line) <= MostProseInList;
        }
        if (!joins) {
            closeRun(i);
            runStart = i;
            listRun = false;
            keys.clear();
        } else if (listPair(candidates[i - 1], below)
                   || page.entryLines(from, below.line) >= MostStackedHeadings) {
            listRun = true;
        }
        keys.insert(k);
    }
    closeRun(candidates.size());
}

// A number alone or before a title is a heading only in a run of such numbers: its neighbour
// of the same kind is one or two away (a heading may be missing), or it stands between two
// that are (its own number misprinted).
void keepNumberRuns(std::vector<Candidate> &candidates, std::vector<bool> &kept)
{
    QHash<QString, std::vector<std::size_t>> families;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const Form form = candidates[i].read.form;
        if (kept[i] && (form == Form::Bare || form == Form::NumberedTitle))
            families[candidates[i].read.word].push_back(i);
    }
    for (const std::vector<std::size_t> &members : std::as_const(families)) {
        for (std::size_t m = 0; m < members.size(); ++m) {
            const int number = candidates[members[m]].read.number;
            const int before = m > 0 ? candidates[members[m - 1]].read.number : -10;
            const int after = m + 1 < members.size() ? candidates[members[m + 1]].read.number : -10;
            const bool follows = number - before == 1 || number - before == 2;
            const bool leads = after - number == 1 || after - number == 2;
            const bool misprint = after - before == 2;
            kept[members[m]] = follows || leads || misprint;
        }
    }
}

// Numbers alone that start again from 1 under chapter-level headings of a word ("CANTO I" and
// its stanzas "I.", "II.") number the sections or stanzas inside a chapter, not chapters.
void dropSectionNumbers(const std::vector<Candidate> &candidates, std::vector<bool> &kept)
{
    auto numberOnly = [](const HeadingLine &read) {
        return read.form == Form::Bare || read.form == Form::NumberedTitle;
    };
    QSet<QString> sectionFamilies;
    std::size_t above = candidates.size();
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (!kept[i])
            continue;
        const HeadingLine &read = candidates[i].read;
        if (above < candidates.size() && numberOnly(read) && read.number == 1) {
            const HeadingLine &heading = candidates[above].read;
            if (heading.form == Form::Numbered && heading.level == HeadingLevel::Chapter)
                sectionFamilies.insert(read.word);
        }
        above = i;
    }
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (numberOnly(candidates[i].read) && sectionFamilies.contains(candidates[i].read.word))
            kept[i] = false;
    }
}

// A line without the page number or dotted leaders a contents list ends it with, and without a
// closing period.
QStringView withoutPageNumber(QStringView line)
{
    QStringView text = line.trimmed();
    qsizetype at = text.size();
    while (at > 0 && (text[at - 1].isDigit() || QStringView(u"ivxlc").contains(text[at - 1])))
        --at;
    if (at > 0 && at < text.size() && (text[at - 1].isSpace() || text[at - 1] == u'.'))
        text = text.first(at);
    while (!text.isEmpty() && (text.back() == u'.' || text.back().isSpace()))
        text.chop(1);
    return text;
}

// A line as a contents list and a heading would both write it: whitespace collapsed, case
// folded.
QString comparable(QStringView line)
{
    return withoutPageNumber(line).toString().simplified().toCaseFolded();
}

bool opensContents(QStringView line)
{
    QStringView text = line.trimmed();
    if (text.endsWith(u'.') || text.endsWith(u':'))
        text.chop(1);
    return text.compare(u"CONTENTS", Qt::CaseInsensitive) == 0
           || text.compare(u"TABLE OF CONTENTS", Qt::CaseInsensitive) == 0;
}

// Chapters named by title alone ("Economy"): the book's contents list names them, and each is
// the first line after the list that stands alone, matches an entry and has text behind it.
// Entries that read as headings by themselves are left to the other rules.
std::vector<Candidate> listedTitles(const Page &page)
{
    // A list ends at a gap of blank lines that no list has inside it.
    constexpr qsizetype BlanksAfterList = 3;
    constexpr qsizetype FewestMatches = 2;
    QSet<QString> entries;
    qsizetype line = page.first();
    while (line < page.last() && !opensContents(page.text(line)))
        ++line;
    if (line == page.last())
        return {};
    qsizetype blanks = 0;
    qsizetype block = 0; // the lines since the last blank
    for (++line; line < page.last() && blanks < BlanksAfterList; ++line) {
        if (page.blank(line)) {
            ++blanks;
            block = 0;
            continue;
        }
        blanks = 0;
        ++block;
        // A paragraph of text ends the list: a long line, as in unwrapped text, or where the
        // paragraph breaks were read from the lines (and no gap of blanks ends a list), a block
        // longer than an entry wrapped onto its next lines.
        if (page.text(line).size() > 4 * LongestTitleLine
            || (page.breaksInferred() && block > MostTitleLines + 1)) {
            break;
        }
        const QStringView written = withoutPageNumber(page.text(line));
        const QString entry = written.toString().simplified().toCaseFolded();
        if (entry.size() < 2 || entry.size() > LongestTitleLine
            || readHeadingLine(written).form != Form::None) {
            continue;
        }
        entries.insert(entry);
    }
    std::vector<Candidate> found;
    if (entries.size() < FewestMatches)
        return found;
    for (; line < page.last(); ++line) {
        if (page.blank(line) || !page.blank(line - 1) || !page.blank(line + 1)
            || !titleLike(page, line)) {
            continue;
        }
        const QString text = comparable(page.text(line));
        if (!entries.contains(text))
            continue;
        qsizetype behind = line + 1;
        while (behind < page.last() && page.blank(behind))
            ++behind;
        if (behind < page.last() && entries.contains(comparable(page.text(behind))))
            continue; // another copy of the list
        entries.remove(text);
        HeadingLine read{Form::Listed, u"#T"_s, 0, HeadingLevel::Chapter, false, {}};
        found.push_back({line, read, line + 1, line + 1, line + 1});
    }
    if (qsizetype(found.size()) < FewestMatches)
        found.clear();
    return found;
}

QString titleCased(const QString &word)
{
    return word.left(1) + word.mid(1).toLower();
}

// Levels: a part word holds chapters only if some chapter follows one of its kind (else its
// headings are the chapters); a front or back word holds the chapters numbered from 1 straight
// under it when chapters came before it; other front and back headings are front before the
// first chapter, back after the last, chapters between.
void assignLevels(std::vector<Candidate> &headings)
{
    QSet<QString> holdingWords;
    for (std::size_t i = 0; i + 1 < headings.size(); ++i) {
        const HeadingLine &read = headings[i].read;
        const HeadingLine &next = headings[i + 1].read;
        if (isPartWord(read)
            && (isChapterish(next) || (isPartWord(next) && next.word != read.word))) {
            holdingWords.insert(read.word);
        }
    }
    qsizetype firstChapter = -1;
    qsizetype lastChapter = -1;
    for (std::size_t i = 0; i < headings.size(); ++i) {
        const HeadingLine &read = headings[i].read;
        const bool chapter =
            isChapterish(read) || (isPartWord(read) && !holdingWords.contains(read.word));
        headings[i].level = chapter ? HeadingLevel::Chapter : read.level;
        if (chapter) {
            if (firstChapter < 0)
                firstChapter = qsizetype(i);
            lastChapter = qsizetype(i);
        }
    }
    for (std::size_t i = 0; i < headings.size(); ++i) {
        const HeadingLine &read = headings[i].read;
        if (!isMatter(read))
            continue;
        const qsizetype at = qsizetype(i);
        const bool holds = i + 1 < headings.size() && isChapterish(headings[i + 1].read)
                           && headings[i + 1].read.number == 1 && firstChapter >= 0
                           && firstChapter < at;
        if (holds)
            headings[i].level = HeadingLevel::Part;
        else if (firstChapter < 0)
            headings[i].level = read.level;
        else if (at < firstChapter)
            headings[i].level = HeadingLevel::FrontMatter;
        else if (at > lastChapter)
            headings[i].level = HeadingLevel::BackMatter;
        else
            headings[i].level = HeadingLevel::Chapter;
    }
}

// The heading as written and its title lines, whitespace collapsed.
QString writtenTitle(const Page &page, const Candidate &heading)
{
    QString title = page.text(heading.line).toString();
    for (qsizetype line = heading.titleFrom; line < heading.titleTo; ++line)
        title += u' ' + page.text(line).toString();
    return title.simplified();
}

// Where numbers restart in every part, a title names its part ("Book 2, CHAPTER III"), and the
// part its own enclosing part when the parts restart too, so that no two rows read alike. The
// same holds for sections numbered afresh in every chapter.
std::vector<QString> titles(const Page &page, const std::vector<Candidate> &headings)
{
    const std::size_t count = headings.size();
    // The kinds that hold each kind: those its first heading (number 1) stands straight under.
    // Front and back matter holds nothing; an epilogue that holds chapters is a part.
    QHash<QString, QSet<QString>> holders;
    for (std::size_t i = 1; i < count; ++i) {
        const Candidate &above = headings[i - 1];
        const HeadingLine &read = headings[i].read;
        if (read.number == 1 && above.read.word != read.word
            && (above.level == HeadingLevel::Part || above.level == HeadingLevel::Chapter)) {
            holders[read.word].insert(above.read.word);
        }
    }
    for (const Candidate &heading : headings) {
        if (!heading.read.opens.isEmpty())
            holders[heading.read.opens].insert(heading.read.word);
    }
    // The nearest heading above each one of a kind that holds its kind.
    std::vector<qsizetype> enclosing(count, -1);
    QHash<QString, qsizetype> lastOfWord;
    for (std::size_t i = 0; i < count; ++i) {
        const QSet<QString> &kinds = holders[headings[i].read.word];
        for (const QString &kind : kinds) {
            const qsizetype at = lastOfWord.value(kind, -1);
            enclosing[i] = std::max(enclosing[i], at);
        }
        lastOfWord.insert(headings[i].read.word, qsizetype(i));
    }
    // A kind restarts when its number falls back with another part between.
    QSet<QString> restarting;
    QHash<QString, std::size_t> previous;
    for (std::size_t i = 0; i < count; ++i) {
        const HeadingLine &read = headings[i].read;
        if (read.number == 0)
            continue;
        if (const auto before = previous.constFind(read.word); before != previous.constEnd()) {
            const std::size_t b = *before;
            if (read.number <= headings[b].read.number && enclosing[i] >= 0
                && enclosing[i] != enclosing[b]) {
                restarting.insert(read.word);
            }
        }
        previous.insert(read.word, i);
    }
    std::vector<QString> labels(count);
    std::vector<QString> result(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Candidate &heading = headings[i];
        const qsizetype outer = enclosing[i];
        const bool named = restarting.contains(heading.read.word) && outer >= 0;
        const QString prefix = named ? labels[outer] + u", "_s : QString();
        QString own =
            heading.read.word.startsWith(u'#') ? QString() : titleCased(heading.read.word);
        if (heading.read.number > 0)
            own = (own + u' ' + QString::number(heading.read.number)).trimmed();
        labels[i] = prefix + own;
        // Cut, then without the space the cut may leave at its end.
        result[i] = (prefix + writtenTitle(page, heading)).left(ChapterTitleLength);
        while (result[i].endsWith(u' '))
            result[i].chop(1);
    }
    return result;
}

} // namespace

QList<FoundHeading> FindHeadings(const QString &text)
{
    const Page page(text);
    std::vector<Candidate> candidates;
    for (qsizetype line = page.first(); line < page.last(); ++line) {
        if (auto candidate = standingHeading(page, line)) {
            // A matter word that is the title of the heading above is no heading of its own.
            if (!candidates.empty() && candidates.back().titleFrom <= line
                && line < candidates.back().titleTo) {
                continue;
            }
            candidates.push_back(std::move(*candidate));
        }
    }
    // A number outside any run (a signature "CL. HARLOWE.", a stray figure) is no heading, and
    // no entry of a list either: it must not make the heading below it look like one.
    std::vector<bool> kept(candidates.size(), true);
    keepNumberRuns(candidates, kept);
    std::vector<Candidate> inRuns;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (kept[i])
            inRuns.push_back(std::move(candidates[i]));
    }
    candidates = std::move(inRuns);
    markLists(page, candidates);

    kept.assign(candidates.size(), true);
    for (std::size_t i = 0; i < candidates.size(); ++i)
        kept[i] = !candidates[i].listed;
    keepNumberRuns(candidates, kept);
    dropSectionNumbers(candidates, kept);
    std::vector<Candidate> headings;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (kept[i])
            headings.push_back(candidates[i]);
    }
    // Titles the contents list names, unless they are a found heading or its title lines.
    std::vector<Candidate> listed = listedTitles(page);
    if (!listed.empty()) {
        std::vector<Candidate> merged;
        std::size_t next = 0;
        for (Candidate &title : listed) {
            while (next < headings.size() && headings[next].line <= title.line)
                merged.push_back(std::move(headings[next++]));
            // The first text above a title that is a heading's own makes it that heading's
            // title, standing further below than titles are looked for.
            qsizetype above = title.line - 1;
            while (above > page.first() && page.blank(above))
                --above;
            if (merged.empty() || (merged.back().end <= title.line && merged.back().line != above))
                merged.push_back(std::move(title));
        }
        while (next < headings.size())
            merged.push_back(std::move(headings[next++]));
        headings = std::move(merged);
    }
    assignLevels(headings);
    const std::vector<QString> rowTitles = titles(page, headings);

    QList<FoundHeading> found;
    found.reserve(qsizetype(headings.size()));
    for (std::size_t i = 0; i < headings.size(); ++i) {
        const Candidate &heading = headings[i];
        FoundHeading row;
        row.offset = page.offset(heading.line);
        row.level = heading.level;
        if (heading.read.number > 0)
            row.number = heading.read.number;
        row.title = rowTitles[i];
        row.line = page.text(heading.line).toString();
        found.append(row);
    }
    return found;
}

QString levelName(HeadingLevel level)
{
    switch (level) {
    case HeadingLevel::Part:
        return u"part"_s;
    case HeadingLevel::Chapter:
        return u"chapter"_s;
    case HeadingLevel::FrontMatter:
        return u"front"_s;
    case HeadingLevel::BackMatter:
        return u"back"_s;
    }
    Q_UNREACHABLE();
}
