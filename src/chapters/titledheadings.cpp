// Decides which lines are the titles of a collection whose pieces carry no numbers (fables,
// tales, essays, poems): the book's own heading layout, learnt from the lines that share it.

#include "detectorpage.h"
#include "headingwords.h"

#include <QHash>
#include <QStringTokenizer>

#include <algorithm>
#include <map>

using namespace Qt::StringLiterals;

namespace HeadingDetection {

namespace {

// A layout needs this many lines, spread over this share of the body, with pieces this many
// lines long between them on the median, to be the book's headings rather than a habit of its
// prose or verse.
constexpr qsizetype FewestTitles = 4;
constexpr qsizetype SpreadPercent = 50;
constexpr qsizetype ShortestPiece = 6;
constexpr qsizetype MostBlanksCounted = 4;
constexpr qsizetype ShortWord = 3; // "the", "and", "of" stay in lower case in titles

// A line that reads as a title: short, opening with a capital, every longer word capitalised
// (or the whole line in capitals), and not ending as a sentence or a clause does.
bool readsAsTitle(QStringView line)
{
    if (line.isEmpty() || line.size() > LongestTitleLine)
        return false;
    // A diary heads its entries with their dates.
    if (readsAsDate(line))
        return true;
    if (!line.front().isUpper())
        return false;
    // Older books close a title in capitals with a full stop ("STORY OF THE DOOR.").
    const bool capitals =
        std::none_of(line.begin(), line.end(), [](QChar c) { return c.isLower(); });
    static const QStringView endings = u".,;:-\u2014";
    if (endings.contains(line.back()) && !(capitals && line.back() == u'.'))
        return false;
    qsizetype words = 0;
    for (QStringView word : QStringTokenizer(line, u' ', Qt::SkipEmptyParts)) {
        ++words;
        if (word.size() > ShortWord && word.front().isLower())
            return false;
    }
    constexpr qsizetype MostWords = 16;
    return words <= MostWords;
}

// A title spaced as the paragraphs are must look like nothing else a paragraph on one line
// says: no second sentence ("Nora. Yes!"), no question or exclamation.
bool oneStatement(QStringView line)
{
    if (line.endsWith(u'?') || line.endsWith(u'!'))
        return false;
    for (qsizetype i = 0; i + 1 < line.size(); ++i) {
        if (QStringView(u".!?").contains(line[i]) && line[i + 1].isSpace())
            return false;
    }
    return true;
}

// Whether a line read as a title, where nothing but its spacing above sets it apart (spaced as
// a paragraph is, or right above the next line), has its piece below it: the line at next is
// prose as wide as the page, not another short line of a list (an index, a list of plates).
bool headsText(const Page &page, qsizetype next)
{
    return next < page.last() && !page.blank(next) && page.read(next).form == Form::None
           && page.text(next).trimmed().size() > LongestTitleLine;
}

struct Layout
{
    qsizetype blanksBefore;
    qsizetype blanksAfter;
    qsizetype indent;
    bool capitals;

    friend auto operator<=>(const Layout &, const Layout &) = default;
};

qsizetype blanksAbove(const Page &page, qsizetype line)
{
    qsizetype blanks = 0;
    while (line - blanks - 1 >= page.first() && page.blank(line - blanks - 1)
           && blanks < MostBlanksCounted) {
        ++blanks;
    }
    return blanks;
}

qsizetype blanksBelow(const Page &page, qsizetype line)
{
    qsizetype blanks = 0;
    while (line + blanks + 1 < page.last() && page.blank(line + blanks + 1)
           && blanks < MostBlanksCounted) {
        ++blanks;
    }
    return blanks;
}

} // namespace

std::vector<Candidate> titledHeadings(const Page &page)
{
    // How far apart the book's paragraphs usually stand: most runs of blank lines are that long.
    QHash<qsizetype, qsizetype> gaps;
    for (qsizetype line = page.first(); line < page.last(); ++line) {
        if (!page.blank(line) && line > page.first() && page.blank(line - 1))
            ++gaps[blanksAbove(page, line)];
    }
    qsizetype usualGap = 0;
    qsizetype usualCount = -1;
    for (auto it = gaps.cbegin(); it != gaps.cend(); ++it) {
        if (it.value() > usualCount || (it.value() == usualCount && it.key() < usualGap)) {
            usualGap = it.key();
            usualCount = it.value();
        }
    }

    // The lines that read as titles and stand apart more than a paragraph does, by layout.
    // Kept in order, so that of two layouts with as many lines the same one wins every time.
    // A book that sets every paragraph one blank line apart, its titles too, has them apart as
    // paragraphs; they are found when no title stands further apart than a paragraph.
    std::map<Layout, std::vector<qsizetype>> byLayout;
    std::map<Layout, std::vector<qsizetype>> asParagraphs;
    for (qsizetype line = page.first(); line < page.last(); ++line) {
        if (page.blank(line) || page.read(line).form != Form::None)
            continue;
        const QStringView text = page.text(line);
        const QStringView trimmed = text.trimmed();
        const qsizetype before = blanksAbove(page, line);
        const qsizetype after = blanksBelow(page, line);
        if (before < usualGap || before == 0 || !readsAsTitle(trimmed) || opensContents(trimmed)
            || (after == 0 && !headsText(page, line + 1))) {
            continue;
        }
        const bool capitals =
            std::none_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c.isLower(); });
        const qsizetype indent = text.size() - text.trimmed().size() > 0 ? 1 : 0;
        if (before > usualGap)
            byLayout[{before, after, indent, capitals}].push_back(line);
        else if (oneStatement(trimmed) && headsText(page, line + after + 1))
            asParagraphs[{before, after, indent, capitals}].push_back(line);
    }

    // The layout most lines share, where they recur through the body with pieces between.
    const qsizetype bodyLines = page.last() - page.first();
    const std::pair<const Layout, std::vector<qsizetype>> *best = nullptr;
    if (std::none_of(byLayout.begin(), byLayout.end(), [](const auto &entry) {
            return qsizetype(entry.second.size()) >= FewestTitles;
        })) {
        byLayout = std::move(asParagraphs);
    }
    for (const auto &entry : byLayout) {
        const std::vector<qsizetype> &lines = entry.second;
        if (qsizetype(lines.size()) < FewestTitles)
            continue;
        if ((lines.back() - lines.front()) * 100 < bodyLines * SpreadPercent)
            continue;
        std::vector<qsizetype> pieces;
        for (std::size_t i = 1; i < lines.size(); ++i)
            pieces.push_back(lines[i] - lines[i - 1]);
        std::nth_element(pieces.begin(), pieces.begin() + pieces.size() / 2, pieces.end());
        if (pieces[pieces.size() / 2] < ShortestPiece)
            continue;
        if (!best || lines.size() > best->second.size())
            best = &entry;
    }
    std::vector<Candidate> found;
    if (!best)
        return found;
    // A title in another case, standing as the others do, is one of them; so is one with a
    // subtitle or a first section further below it.
    const Layout &chosen = best->first;
    std::vector<qsizetype> titles = best->second;
    for (const auto &[other, lines] : byLayout) {
        if (other != chosen && other.blanksBefore == chosen.blanksBefore
            && (other.capitals == chosen.capitals || other.blanksAfter == chosen.blanksAfter)
            && other.indent == chosen.indent) {
            titles.insert(titles.end(), lines.begin(), lines.end());
        }
    }
    std::sort(titles.begin(), titles.end());
    // The first piece's title may stand closer under the book's title than the others stand
    // under text: the nearest title of the same case above the first, with a piece behind it
    // (whose numbered sections are passed over).
    for (qsizetype line = titles.front() - 1; line >= page.first(); --line) {
        if (page.blank(line) || page.read(line).form == Form::Bare)
            continue;
        const QStringView trimmed = page.text(line).trimmed();
        if (!readsAsTitle(trimmed))
            continue;
        const bool capitals =
            std::none_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c.isLower(); });
        if (capitals == chosen.capitals && page.read(line).form == Form::None
            && page.blank(line - 1)
            && (page.blank(line + 1) || (chosen.blanksAfter == 0 && headsText(page, line + 1)))
            && !opensContents(trimmed) && titles.front() - line >= ShortestPiece) {
            titles.insert(titles.begin(), line);
        }
        break;
    }
    for (const qsizetype line : titles) {
        HeadingLine read{Form::Listed, u"#T"_s, 0, HeadingLevel::Chapter, false, {}};
        found.push_back({line, read, line + 1, line + 1, line + 1});
    }
    return found;
}

bool numbersStartUnderTitles(const Page &page, const std::vector<Candidate> &headings,
                             const std::vector<Candidate> &titles)
{
    // The title stands right above its piece's first section: a blank or a few between.
    constexpr qsizetype MostLinesAbove = MostBlanksBeforeTitle + 2;
    QHash<QString, std::vector<const Candidate *>> families;
    for (const Candidate &heading : headings) {
        if (heading.read.form == Form::Bare || heading.read.form == Form::NumberedTitle)
            families[heading.read.word].push_back(&heading);
    }
    auto titledAbove = [&](const Candidate &number) {
        const auto title =
            std::lower_bound(titles.begin(), titles.end(), number.line,
                             [](const Candidate &t, qsizetype line) { return t.line < line; });
        if (title == titles.begin())
            return false;
        const qsizetype above = std::prev(title)->line;
        return number.line - above <= MostLinesAbove
               && page.entryLines(above + 1, number.line) == 0;
    };
    for (const std::vector<const Candidate *> &members : std::as_const(families)) {
        qsizetype starts = 0;
        bool allTitled = true;
        for (std::size_t m = 0; m < members.size() && allTitled; ++m) {
            if (m > 0 && members[m]->read.number > members[m - 1]->read.number)
                continue;
            ++starts;
            allTitled = titledAbove(*members[m]);
        }
        if (starts >= 2 && allTitled)
            return true;
    }
    return false;
}

} // namespace HeadingDetection
