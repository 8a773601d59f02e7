// Decides which candidates are entries of a contents list (or a list of illustrations) rather
// than headings, and which bare titles the book's contents list names as chapters.

#include "detectorpage.h"
#include "headingwords.h"

#include <QHash>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace HeadingDetection {

namespace {

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

// A line without the page number or dotted leaders a contents list ends it with, and without a
// closing period.
QStringView withoutPageNumber(QStringView line)
{
    QStringView text = line.trimmed();
    if (const qsizetype colon = colonPageReference(text); colon > 0)
        return text.first(colon).trimmed();
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

} // namespace

bool opensContents(QStringView line)
{
    QStringView text = line.trimmed();
    if (text.endsWith(u'.') || text.endsWith(u':'))
        text.chop(1);
    // Most lines are far longer or shorter than any of the words; they are passed at once.
    constexpr qsizetype Shortest = 5, Longest = 18;
    if (text.size() < Shortest || text.size() > Longest)
        return false;
    // As foldedForHeadings writes them.
    static const QSet<QString> Words = {
        u"CONTENTS"_s,
        u"TABLE OF CONTENTS"_s,
        u"THE CONTENTS"_s,
        u"INHALT"_s,
        u"INHALTSVERZEICHNIS"_s,
        u"TABLE DES MATIERES"_s,
        u"SOMMAIRE"_s,
        u"INDICE"_s,
        u"SOMMARIO"_s,
        u"SUMARIO"_s,
        u"INHOUD"_s,
        u"СОДЕРЖАНИЕ"_s,
        u"ОГЛАВЛЕНИЕ"_s,
        u"ЗМІСТ"_s,
        u"SPIS TRESCI"_s,
        u"OBSAH"_s,
        u"ΠΕΡΙΕΧΟΜΕΝΑ"_s,
        u"ICINDEKILER"_s,
    };
    return Words.contains(foldedForHeadings(text));
}

namespace {

// The lines of the contents list that opens at listStart: up to a gap of blank lines that no
// list has inside it, or a paragraph of text. Returns one past its last line; each line that
// could be an entry's title (and no heading by itself) goes into entries.
qsizetype contentsEnd(const Page &page, qsizetype listStart, QSet<QString> &entries)
{
    constexpr qsizetype BlanksAfterList = 3;
    qsizetype blanks = 0;
    qsizetype block = 0; // the lines since the last blank
    qsizetype prose = 0; // the long lines of other text since the last blank
    qsizetype line = listStart + 1;
    for (; line < page.last() && blanks < BlanksAfterList; ++line) {
        if (page.blank(line)) {
            ++blanks;
            block = prose = 0;
            continue;
        }
        blanks = 0;
        ++block;
        // A paragraph of text ends the list: a long line, as in unwrapped text, or where the
        // paragraph breaks were read from the lines (and no gap of blanks ends a list), a block
        // longer than an entry wrapped onto its next lines.
        // A paragraph of wrapped prose ends it too, where the list gives way to a dedication or
        // the body with no gap of blanks between.
        prose =
            page.headingLike(line) || page.text(line).size() <= LongestTitleLine ? 0 : prose + 1;
        if (page.text(line).size() > 4 * LongestTitleLine
            || (page.breaksInferred() && block > MostTitleLines + 1) || prose > MostTitleLines) {
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
    return line;
}

qsizetype nextContents(const Page &page, qsizetype from)
{
    while (from < page.last() && !opensContents(page.text(from)))
        ++from;
    return from;
}

} // namespace

// Contents lists and lists of illustrations: runs of candidates with next to no text between
// them, where some pair could not stand so close in a body or other entries stand between. A run
// ends where a heading comes again, which is where the body starts after its own list.
void markLists(const Page &page, std::vector<Candidate> &candidates)
{
    std::size_t runStart = 0;
    bool listRun = false;
    QSet<QString> keys;
    constexpr qsizetype WideGap = 3;
    qsizetype widestGap = 0; // the most blank lines above an entry of the run, up to WideGap
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
        // Entries stand evenly apart; a front or back heading set off by a wider gap than any
        // between the run's entries (after a run of numbered notes) starts the body again.
        qsizetype blanks = 0;
        while (blanks < WideGap && page.blank(below.line - blanks - 1))
            ++blanks;
        // A heading with three lines or more of text right under it is no entry of a list.
        if (i > 0 && !again && !below.tight && !candidates[i - 1].tight
            && !(isMatter(below.read) && blanks == WideGap && widestGap < WideGap
                 && i > runStart + 1)) {
            from = std::min(candidates[i - 1].end, below.line);
            joins = page.proseLines(from, below.line) <= MostProseInList;
        }
        if (!joins) {
            closeRun(i);
            runStart = i;
            listRun = false;
            keys.clear();
            widestGap = 0;
        } else {
            widestGap = std::max(widestGap, blanks);
            if (listPair(candidates[i - 1], below)
                || page.entryLines(from, below.line) >= MostStackedHeadings) {
                listRun = true;
            }
        }
        keys.insert(k);
    }
    closeRun(candidates.size());

    // A heading between entries that end in page numbers is an entry without one: "Appendix"
    // over the appendix's own entries.
    auto entryNear = [&](qsizetype line, int step) {
        for (int seen = 0; seen < MostBlanksBeforeTitle + 1; ++seen) {
            line += step;
            if (line < page.first() || line >= page.last())
                return false;
            if (!page.blank(line))
                return page.read(line).form == Form::ListEntry;
        }
        return false;
    };
    for (Candidate &candidate : candidates) {
        if (entryNear(candidate.line, -1) && entryNear(candidate.end - 1, 1))
            candidate.listed = true;
    }

    // A heading under a contents heading that the body has again further on is the list's
    // entry, however few entries stand with it: a contents page of a book made from several
    // documents names only the largest parts. The list ends where one of its headings comes
    // again, which is where the body starts.
    auto identity = [&](const Candidate &candidate) {
        const QStringView line = page.text(candidate.line);
        return key(candidate.read) + u'|'
               + (candidate.read.form == Form::ListEntry
                      ? comparable(line)
                      : line.toString().simplified().toCaseFolded());
    };
    QSet<QString> ignored;
    for (qsizetype start = nextContents(page, page.first()); start < page.last();
         start = nextContents(page, start + 1)) {
        const qsizetype end = contentsEnd(page, start, ignored);
        std::vector<Candidate *> inList;
        QSet<QString> seen;
        // The headings standing after the list: those not taken for entries themselves, and
        // the first copy of each beyond the list's end, which is the body's own heading
        // however close its neighbours stand.
        QHash<QString, Candidate *> later;
        bool bodyStarted = false;
        for (Candidate &candidate : candidates) {
            if (candidate.line <= start)
                continue;
            const QString id = identity(candidate);
            bodyStarted = bodyStarted || candidate.line >= end || seen.contains(id);
            if (!bodyStarted) {
                inList.push_back(&candidate);
                seen.insert(id);
            } else if ((!candidate.listed || candidate.line >= end) && !later.contains(id)) {
                later.insert(id, &candidate);
            }
        }
        for (Candidate *candidate : inList) {
            if (Candidate *heading = later.value(identity(*candidate))) {
                candidate->listed = true;
                heading->listed = false;
            }
        }
    }
}

// Chapters named by title alone ("Economy"): the book's contents list names them, and each is
// the first line after the list that stands alone, matches an entry and has text behind it.
// Entries that read as headings by themselves are left to the other rules.
std::vector<Candidate> listedTitles(const Page &page)
{
    constexpr qsizetype FewestMatches = 2;
    const qsizetype listStart = nextContents(page, page.first());
    if (listStart == page.last())
        return {};
    QSet<QString> entries;
    const qsizetype line = contentsEnd(page, listStart, entries);
    std::vector<Candidate> found;
    if (entries.size() < FewestMatches)
        return found;
    // The titles stand after the list, or before it where the book keeps its contents at the
    // end.
    const qsizetype listEnd = line;
    auto match = [&](qsizetype from, qsizetype to) {
        for (qsizetype at = std::max(from, page.first() + 1); at < to; ++at) {
            if (page.blank(at) || !page.blank(at - 1) || !page.blank(at + 1)
                || !titleLike(page, at)) {
                continue;
            }
            const QString text = comparable(page.text(at));
            if (!entries.contains(text))
                continue;
            qsizetype behind = at + 1;
            while (behind < page.last() && page.blank(behind))
                ++behind;
            if (behind < page.last() && entries.contains(comparable(page.text(behind))))
                continue; // another copy of the list
            entries.remove(text);
            HeadingLine read{Form::Listed, u"#T"_s, 0, HeadingLevel::Chapter, false, {}};
            found.push_back({at, read, at + 1, at + 1, at + 1});
        }
    };
    match(listEnd, page.last());
    if (qsizetype(found.size()) < FewestMatches) {
        found.clear();
        match(page.first(), listStart);
    }
    if (qsizetype(found.size()) < FewestMatches)
        found.clear();
    return found;
}

} // namespace HeadingDetection
