#pragma once

// What every stage of the heading detector shares: the book's lines as a page, with the paragraph
// breaks read where the text has none, and the candidates the stages pass along.

#include "headingdetector.h"
#include "headingline.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace HeadingDetection {

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
    qsizetype start; // offset of its first character (after a mark of emphasis, see lead)
    qsizetype end;   // offset of its line break, of the text's end, or of the closing mark
    // Where what it says as a heading stands, when it was read to find paragraph breaks.
    qsizetype read = -1;
    // Characters before start that belong to the line but not to its words: the spaces and
    // the mark that open a line set in italics or bold.
    qsizetype lead = 0;
};

struct Candidate
{
    qsizetype line = 0;
    HeadingLine read;
    qsizetype end = 0;       // one past its last line, title lines included
    qsizetype titleFrom = 0; // the lines whose text joins the title: [titleFrom, titleTo)
    qsizetype titleTo = 0;
    bool listed = false;
    bool quoted = false; // a quoted phrase follows the number, as a note's words do
    bool tight = false;  // text follows on the next line, with no blank line between
    HeadingLevel level = HeadingLevel::Chapter;
};

// Whether a line ends as a sentence does (a closing quote or bracket may follow the stop).
bool endsSentence(QStringView line);

// The lines with empty lines put in where paragraph breaks are read from a text without blank
// lines; what a line said as a heading while reading them is kept in reads, at Line::read.
std::vector<Line> withParagraphBreaks(const QString &text, std::vector<Line> lines,
                                      std::vector<HeadingLine> &reads);

// The book's lines, what each says as a heading, and the candidates found among them.
class Page
{
public:
    explicit Page(const QString &bookText);

    // Whether the paragraph breaks were read from the lines of a text without blank lines.
    bool breaksInferred() const { return m_breaksInferred; }
    qsizetype first() const { return m_first; }
    qsizetype last() const { return m_last; }
    QStringView text(qsizetype line) const
    {
        const Line &l = m_lines[line];
        return QStringView(m_text).sliced(l.start, l.end - l.start);
    }
    qsizetype offset(qsizetype line) const { return m_lines[line].start - m_lines[line].lead; }
    bool blank(qsizetype line) const
    {
        return line < m_first || line >= m_last || m_blank[line - m_first];
    }
    const HeadingLine &read(qsizetype line) const { return m_reads[line - m_first]; }
    bool headingLike(qsizetype line) const
    {
        return line >= m_first && line < m_last && read(line).form != Form::None;
    }
    // Whether a heading-like line opens a paragraph that runs on into the next line: a
    // numbered paragraph, a verse, an aphorism or a note, and no heading.
    bool opensParagraph(qsizetype line) const;
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
    void findBody();
    void hideFurniture();

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

inline bool isChapterish(const HeadingLine &read)
{
    return read.form == Form::Bare || read.form == Form::NumberedTitle || read.form == Form::Listed
           || (read.form == Form::Numbered && read.level == HeadingLevel::Chapter);
}

inline bool isPartWord(const HeadingLine &read)
{
    return read.form == Form::Numbered && read.level == HeadingLevel::Part;
}

inline bool isMatter(const HeadingLine &read)
{
    return read.level == HeadingLevel::FrontMatter || read.level == HeadingLevel::BackMatter;
}

// A line that may hold a heading's title: short, starting as a title does (not with a quote,
// a bracket or in lower case).
bool titleLike(const Page &page, qsizetype line);

// Whether a line heads a contents list: "CONTENTS", "Table des matières", "Inhalt".
bool opensContents(QStringView line);

// The stages, in the order FindHeadings runs them.

// The heading lines that stand as headings do: after a blank line (or right under another
// heading), alone or with a short title below, not inside a block of heading-like lines.
std::optional<Candidate> standingHeading(const Page &page, qsizetype line);

// A number alone or before a title is a heading only in a run of such numbers (kept[i] false
// for the others).
void keepNumberRuns(std::vector<Candidate> &candidates, std::vector<bool> &kept);

// A heading with its text right under it, no blank line between, is one only in a run of
// three or more of its kind numbered one after another (kept[i] false for the others): a
// sentence that opens with "Chapter 5" is no such.
void keepTightInRuns(const std::vector<Candidate> &candidates, std::vector<bool> &kept);

// Numbers that mostly open paragraphs running on below them number the paragraphs, and those
// of them standing alone are short paragraphs, not headings (kept[i] false for those).
void dropNumberedParagraphs(const Page &page, const std::vector<Candidate> &candidates,
                            std::vector<bool> &kept);

// Numbers that mostly stand over a quoted phrase, close together, number notes on the words
// quoted, not chapters (kept[i] false for those).
void dropNotes(const std::vector<Candidate> &candidates, std::vector<bool> &kept);

// Marks the candidates that are entries of a contents list or a list of illustrations.
void markLists(const Page &page, std::vector<Candidate> &candidates);

// Numbers alone that number the sections or stanzas inside a chapter (kept[i] false for them).
void dropSectionNumbers(const std::vector<Candidate> &candidates, std::vector<bool> &kept);

// A line between two numerals of a run one apart that is the missing numeral as text
// recognition garbled it ("XL1X.", "XXL") joins the headings, in text order.
void readGarbledNumerals(const Page &page, std::vector<Candidate> &headings);

// Chapters named by title alone, found through the book's contents list.
std::vector<Candidate> listedTitles(const Page &page);

// The titles of a collection whose pieces carry no numbers, by the layout they share.
std::vector<Candidate> titledHeadings(const Page &page);

// Whether numbers start again from the top right under titles of the collection's layout,
// more than once: they number the sections of titled pieces, whose titles are the headings.
bool numbersStartUnderTitles(const Page &page, const std::vector<Candidate> &headings,
                             const std::vector<Candidate> &titles);

// Each heading's level: part, chapter, front or back matter.
void assignLevels(std::vector<Candidate> &headings);

// Each heading's title for the chapter table.
std::vector<QString> titles(const Page &page, const std::vector<Candidate> &headings);

} // namespace HeadingDetection
