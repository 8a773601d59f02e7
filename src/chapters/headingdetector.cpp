#include "headingdetector.h"

#include "detectorpage.h"

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace HeadingDetection;

namespace {

// How well a reading's headings divide the body into chapters: how many there are, weighed by
// the share of the body between the first and the last. Front and back matter divide nothing.
double divisionWeight(const Page &page, const std::vector<Candidate> &headings)
{
    qsizetype count = 0;
    qsizetype first = -1;
    qsizetype last = -1;
    for (const Candidate &heading : headings) {
        if (isMatter(heading.read))
            continue;
        ++count;
        if (first < 0)
            first = heading.line;
        last = heading.line;
    }
    const qsizetype body = std::max<qsizetype>(1, page.last() - page.first());
    return count == 0 ? 0 : double(count) * double(last - first + 1) / double(body);
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
    dropNumberedParagraphs(page, candidates, kept);
    dropNotes(candidates, kept);
    keepNumberRuns(candidates, kept);
    keepTightInRuns(candidates, kept);
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
    readGarbledNumerals(page, headings);
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
    // The titles of one layout compete with the numbered headings on the whole book: a handful
    // of numbered lines inside one story must not outvote titles spread through the book, nor
    // a few lines of one layout (letters, notices) the chapters of a novel. They join when
    // they divide the book clearly better, or when the numbers start again under them, as the
    // sections of the pieces they head.
    constexpr double ClearlyBetter = 2;
    std::vector<Candidate> titled = titledHeadings(page);
    if (divisionWeight(page, titled) > ClearlyBetter * divisionWeight(page, headings)
        || numbersStartUnderTitles(page, headings, titled)) {
        for (Candidate &title : titled) {
            const bool inside =
                std::any_of(headings.begin(), headings.end(), [&](const Candidate &h) {
                    return h.line <= title.line && title.line < h.end;
                });
            if (!inside)
                headings.push_back(std::move(title));
        }
        std::sort(headings.begin(), headings.end(),
                  [](const Candidate &a, const Candidate &b) { return a.line < b.line; });
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
