// Decides which numbered candidates are headings by their neighbours: numbers in a run of their
// kind (a garbled numeral read as the run says), and not the numbers of stanzas in a chapter.

#include "detectorpage.h"

#include <QHash>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace HeadingDetection {

// A number alone or before a title is a heading only in a run of such numbers: its neighbour
// of the same kind is one or two away (a heading may be missing), or it stands between two
// that are (its own number misprinted).
void keepNumberRuns(std::vector<Candidate> &candidates, std::vector<bool> &kept)
{
    QHash<QString, std::vector<std::size_t>> families;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const Form form = candidates[i].read.form;
        if (kept[i]
            && (form == Form::Bare || form == Form::NumberedTitle || candidates[i].read.coined))
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

void keepTightInRuns(const std::vector<Candidate> &candidates, std::vector<bool> &kept)
{
    constexpr qsizetype ShortestRun = 3;
    QHash<QString, std::vector<std::size_t>> families;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (kept[i])
            families[candidates[i].read.word].push_back(i);
    }
    for (const std::vector<std::size_t> &members : std::as_const(families)) {
        std::size_t start = 0;
        for (std::size_t m = 1; m <= members.size(); ++m) {
            if (m < members.size()
                && candidates[members[m]].read.number
                       == candidates[members[m - 1]].read.number + 1) {
                continue;
            }
            if (qsizetype(m - start) < ShortestRun) {
                for (std::size_t k = start; k < m; ++k)
                    kept[members[k]] = kept[members[k]] && !candidates[members[k]].tight;
            }
            start = m;
        }
    }
}

namespace {

// The number a paragraph on one line opens with, read as the line's first words would be if
// they stood alone: "12. It is a saying of Antisthenes, that ..." numbers as "12. It is a".
// Empty for other lines, and for lines short enough to be read as they are.
QString paragraphNumber(QStringView line)
{
    constexpr qsizetype LongestParagraphOpening = 40;
    if (line.size() <= LongestTitleLine)
        return {};
    // Only a first word of digits or numeral letters can be such a number: most lines are
    // no further read.
    qsizetype digits = 0;
    while (digits < line.size()
           && (line[digits].isDigit() || QStringView(u"IVXLC").contains(line[digits])))
        ++digits;
    if (digits == 0 || digits == line.size() || line[digits].isLetter())
        return {};
    const qsizetype cut = line.first(LongestParagraphOpening).lastIndexOf(u' ');
    if (cut <= 0)
        return {};
    const HeadingLine read = readHeadingLine(line.first(cut));
    return read.form == Form::NumberedTitle ? read.word : QString();
}

} // namespace

void dropNumberedParagraphs(const Page &page, const std::vector<Candidate> &candidates,
                            std::vector<bool> &kept)
{
    QHash<QString, qsizetype> openers; // family -> lines that open a paragraph running on
    for (qsizetype line = page.first(); line < page.last(); ++line) {
        const HeadingLine &read = page.read(line);
        if (read.form == Form::Bare || read.form == Form::NumberedTitle) {
            if (page.opensParagraph(line))
                ++openers[read.word];
        } else if (read.form == Form::None && !page.blank(line)) {
            if (const QString word = paragraphNumber(page.text(line).trimmed()); !word.isEmpty())
                ++openers[word];
        }
    }
    if (openers.isEmpty())
        return;
    QHash<QString, qsizetype> standing;
    for (std::size_t i = 0; i < candidates.size(); ++i)
        ++standing[candidates[i].read.word];
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const Form form = candidates[i].read.form;
        const QString &word = candidates[i].read.word;
        if ((form == Form::Bare || form == Form::NumberedTitle)
            && openers.value(word) > standing.value(word)) {
            kept[i] = false;
        }
    }
}

void dropNotes(const std::vector<Candidate> &candidates, std::vector<bool> &kept)
{
    QHash<QString, std::pair<qsizetype, qsizetype>> families; // word -> (quoted, all)
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const Form form = candidates[i].read.form;
        if (kept[i] && (form == Form::Bare || form == Form::NumberedTitle)) {
            auto &[quoted, all] = families[candidates[i].read.word];
            quoted += candidates[i].quoted;
            ++all;
        }
    }
    // Notes are short, chapters long: a chapter that opens with a quoted line of dialogue under
    // its number stands far from the next number.
    constexpr qsizetype LongestNote = 40;
    QHash<QString, qsizetype> lastLine;
    std::vector<qsizetype> nearest(candidates.size(), LongestNote + 1);
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const QString &word = candidates[i].read.word;
        if (!families.contains(word))
            continue;
        if (const auto last = lastLine.constFind(word); last != lastLine.cend()) {
            const qsizetype apart = candidates[i].line - candidates[*last].line;
            nearest[i] = std::min(nearest[i], apart);
            nearest[*last] = std::min(nearest[*last], apart);
        }
        lastLine.insert(word, qsizetype(i));
    }
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const auto family = families.constFind(candidates[i].read.word);
        if (candidates[i].quoted && family != families.cend() && 2 * family->first > family->second
            && nearest[i] <= LongestNote) {
            kept[i] = false;
        }
    }
}

namespace {

QString romanNumeral(int value)
{
    static const std::pair<int, QStringView> digits[] = {
        {100, u"C"}, {90, u"XC"}, {50, u"L"}, {40, u"XL"}, {10, u"X"},
        {9, u"IX"},  {5, u"V"},   {4, u"IV"}, {1, u"I"},
    };
    QString numeral;
    for (const auto &[worth, written] : digits) {
        for (; value >= worth; value -= worth)
            numeral += written;
    }
    return numeral;
}

// A numeral as text recognition may have garbled it, read as its letters would be: "XL1X." as
// "XLIX", "j." as "I"; empty for a line that is no such.
QString asRomanLetters(QStringView line)
{
    constexpr qsizetype LongestNumeral = 10;
    QStringView text = line.trimmed();
    while (!text.isEmpty() && QStringView(u".,:;'").contains(text.back()))
        text.chop(1);
    while (!text.isEmpty() && QStringView(u".,'").contains(text.front()))
        text = text.sliced(1);
    if (text.isEmpty() || text.size() > LongestNumeral)
        return {};
    QString letters;
    for (const QChar c : text) {
        const QChar upper = c.toUpper();
        if (QStringView(u"IVXLC").contains(upper))
            letters += upper;
        else if (c == u'1' || c == u'l' || c == u'j' || c == u'J' || c == u'|')
            letters += u'I';
        else
            return {};
    }
    return letters;
}

// Whether two numerals differ by at most one letter put in, left out or changed.
bool nearlyEqual(QStringView a, QStringView b)
{
    if (a.size() < b.size())
        std::swap(a, b);
    if (a.size() - b.size() > 1)
        return false;
    qsizetype i = 0;
    while (i < b.size() && a[i] == b[i])
        ++i;
    if (a.size() == b.size())
        return a.sliced(i + std::min<qsizetype>(1, a.size() - i))
               == b.sliced(i + std::min<qsizetype>(1, b.size() - i));
    return a.sliced(i + 1) == b.sliced(i);
}

} // namespace

void readGarbledNumerals(const Page &page, std::vector<Candidate> &headings)
{
    std::vector<Candidate> filled;
    for (std::size_t i = 0; i + 1 < headings.size(); ++i) {
        const HeadingLine &above = headings[i].read;
        const HeadingLine &below = headings[i + 1].read;
        if (above.word != u"#R" || below.word != u"#R" || below.number - above.number != 2)
            continue;
        const QString expected = romanNumeral(above.number + 1);
        for (qsizetype line = headings[i].end; line < headings[i + 1].line; ++line) {
            if (page.blank(line) || !page.blank(line - 1) || !page.blank(line + 1)
                || !nearlyEqual(asRomanLetters(page.text(line)), expected)) {
                continue;
            }
            HeadingLine read{Form::Bare, u"#R"_s, above.number + 1, HeadingLevel::Chapter,
                             false,      {}};
            Candidate found{line, read, line + 1, line + 1, line + 1};
            // Its title, as a number's own: the next line of text, if it stands alone.
            qsizetype title = line + 1;
            while (title < page.last() && page.blank(title)
                   && title - line <= MostBlanksBeforeTitle)
                ++title;
            if (title < headings[i + 1].line && !page.blank(title) && page.blank(title + 1)
                && titleLike(page, title)) {
                found.titleFrom = title;
                found.end = found.titleTo = title + 1;
            }
            filled.push_back(found);
            break;
        }
    }
    if (filled.empty())
        return;
    headings.insert(headings.end(), filled.begin(), filled.end());
    std::sort(headings.begin(), headings.end(),
              [](const Candidate &a, const Candidate &b) { return a.line < b.line; });
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

} // namespace HeadingDetection
