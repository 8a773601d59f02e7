// Decides which lines stand as headings do: a heading line after a blank, alone or over a short
// title, and which lines below it are its title.

#include "detectorpage.h"

#include <QStringTokenizer>

#include <algorithm>

namespace HeadingDetection {

namespace {

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

// A numbered heading set right above its chapter's prose, no blank line between: a candidate
// only its neighbours in sequence make a heading. Over verse a number is a stanza's (verse
// lines are short and each opens with a capital; prose wraps wide, or runs on into a line in
// lower case), and a matter word has no neighbours to tell.
std::optional<Candidate> tightAbove(const Page &page, Candidate candidate)
{
    if (candidate.read.form == Form::Named)
        return std::nullopt;
    constexpr qsizetype LinesLookedAt = 4;
    bool prose = false;
    for (qsizetype line = candidate.line + 1;
         line < page.last() && !page.blank(line) && line <= candidate.line + LinesLookedAt;
         ++line) {
        const QStringView text = page.text(line).trimmed();
        prose = prose || text.size() > LongestTitleLine
                || (line > candidate.line + 1 && text.front().isLower());
    }
    if (!prose)
        return std::nullopt;
    candidate.tight = true;
    return candidate;
}

} // namespace

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

    if (page.opensParagraph(line))
        return std::nullopt;

    Candidate candidate{line, read, line + 1, line + 1, line + 1};
    // A number over a quoted phrase, on its line or the next, may be a note on the words quoted.
    if (read.form == Form::Bare || read.form == Form::NumberedTitle) {
        qsizetype lemma = line;
        QStringView rest = page.text(line).trimmed();
        const qsizetype space = rest.indexOf(u' ');
        rest = space < 0 ? QStringView() : rest.sliced(space).trimmed();
        if (rest.isEmpty()) {
            lemma = line + 1;
            while (lemma < page.last() && page.blank(lemma)
                   && lemma - line <= MostBlanksBeforeTitle)
                ++lemma;
            if (lemma < page.last() && !page.blank(lemma))
                rest = page.text(lemma).trimmed();
        }
        candidate.quoted =
            !rest.isEmpty() && QStringView(u"\"\u201C\u2018\u00AB").contains(rest.front());
    }
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
    } else if (read.form == Form::Numbered && read.titled) {
        // A section word and number with a summary that runs on over a few lines, as long as
        // prose: one heading, the whole paragraph its block.
        constexpr qsizetype MostSummaryLines = 6;
        while (blockEnd < page.last() && !page.blank(blockEnd)
               && blockEnd - line <= MostSummaryLines) {
            ++blockEnd;
        }
        if (blockEnd - line > MostSummaryLines)
            return tightAbove(page, candidate);
        candidate.end = candidate.titleTo = blockEnd;
    } else if (read.titled || read.form != Form::Numbered) {
        // Prose right under the line: a sentence that happens to start like a heading, unless
        // the line is a section word and a number alone, or a numbered heading set tight
        // above its text, as its neighbours in sequence show.
        return tightAbove(page, candidate);
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
    // A title below may run on over three lines, as a title wrapped in capitals does.
    constexpr qsizetype MostLinesBelow = MostTitleLines + 1;
    qsizetype titleEnd = title + 1;
    while (titleEnd < page.last() && !page.blank(titleEnd) && titleEnd - title <= MostLinesBelow) {
        const QStringView rest = page.text(titleEnd).trimmed();
        const bool inCapitals =
            std::none_of(rest.begin(), rest.end(), [](QChar c) { return c.isLower(); });
        if (!(titleLike(page, titleEnd) && (titleEnd - title < MostTitleLines || inCapitals)))
            return candidate;
        ++titleEnd;
    }
    if (titleEnd - title > MostLinesBelow || !page.blank(titleEnd))
        return candidate;
    candidate.titleFrom = title;
    candidate.end = candidate.titleTo = titleEnd;
    return candidate;
}

} // namespace HeadingDetection
