#include "numberinggaps.h"

#include "headingline.h"
#include "headingwords.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A jump longer than this is no sequence with a few headings missing.
constexpr int LongestGap = 20;

// One number a title carries, with the word it numbers. "Book II, Chapter 3" carries two, book 2
// and chapter 3 within it; "2.1 Scope" carries 2 and 1 within it.
struct Level
{
    // The word in lower case ("chapter", "book", "kapitel"); "#" for digits without a word, "#R"
    // for a Roman numeral without one; a number within another's number (the 1 of "2.1", the 3
    // of "Chapter 2 3" as a table of contents nests it) adds "." to its parent's kind.
    QString kind;
    int number = 0;
    bool part = false; // the word divides a book into chapters (Volume, Book, Part, Act)
};

bool isSeparator(QChar c)
{
    return c.isSpace() || QStringView(u",.:;/|-\u2013\u2014").contains(c);
}

qsizetype separatorsAt(QStringView text)
{
    qsizetype end = 0;
    while (end < text.size() && isSeparator(text[end]))
        ++end;
    return end;
}

bool isNumbered(const HeadingLine &read)
{
    return read.form == HeadingLine::Form::Numbered && read.number > 0;
}

// Whether the text, after its separators, opens with a section word and number.
bool opensWithNumber(QStringView text)
{
    text = text.sliced(separatorsAt(text));
    for (qsizetype end = 1; end <= text.size(); ++end) {
        if (end < text.size() && !isSeparator(text[end]))
            continue;
        if (isNumbered(readHeadingLine(text.first(end))))
            return true;
    }
    return false;
}

// The section word and number a title opens with, and where they end: "Book II" of "Book II,
// Chapter 3". Of a title that reads whole as a heading ("Chapter 3: The Storm") that is the
// shortest start that reads as the same word and number alone; a title that does not read so
// opens with a heading only where another follows it (leads).
HeadingLine openingHeading(QStringView title, qsizetype &end, bool &leads)
{
    const HeadingLine whole = readHeadingLine(title);
    for (end = 1; end < title.size(); ++end) {
        if (!isSeparator(title[end]))
            continue;
        const HeadingLine start = readHeadingLine(title.first(end));
        if (!isNumbered(start) || start.titled)
            continue;
        leads = !isNumbered(whole);
        if (leads ? opensWithNumber(title.sliced(end))
                  : start.word == whole.word && start.number == whole.number)
            return start;
    }
    end = title.size();
    leads = false;
    return isNumbered(whole) ? whole : HeadingLine{};
}

// The numbers after the first of a dotted number (".2.1" of "3.2.1 Scope"), each within the one
// before; returns whether there were any.
bool readSubNumbers(QStringView &rest, QList<Level> &levels)
{
    bool any = false;
    while (rest.size() > 1 && rest[0] == u'.' && rest[1].isDigit()) {
        qsizetype end = 1;
        while (end < rest.size() && end < 4 && rest[end].isDigit())
            ++end;
        levels.append({levels.last().kind + u'.', rest.sliced(1, end - 1).toInt(), false});
        rest = rest.sliced(end);
        any = true;
    }
    return any;
}

// A number opening a title the detector joined from a number line and its title line:
// "16 Narrative Continued", "IV LINE DRAWING".
HeadingLine leadingNumber(QStringView title)
{
    static const QRegularExpression number(u"^(\\d{1,3}|[IVXLC]+)\\s"_s);
    const QRegularExpressionMatch match = number.match(title);
    if (match.hasMatch()) {
        const HeadingLine read = readHeadingLine(match.capturedView(1));
        if (read.form == HeadingLine::Form::Bare)
            return read;
    }
    return {};
}

// Whether a section word (upper case, without accents) divides a book into chapters.
bool isPartWord(QStringView word)
{
    const auto words = sectionWords();
    return std::any_of(words.begin(), words.end(), [word](const HeadingWord &section) {
        return section.word == word && section.level == HeadingLevel::Part;
    });
}

// The numbers a chapter title carries, outermost first; none for a title without a number of
// its own and for an entry of a contents list.
QList<Level> levelsOf(QStringView title)
{
    using Form = HeadingLine::Form;
    QList<Level> levels;
    QStringView rest = title.trimmed();
    // A title shortened to its field ends in "…", which no heading is read with.
    if (rest.endsWith(u'\u2026'))
        rest.chop(1);
    // The parts the heading detector names before a heading whose numbers restart within them,
    // with the word as the text writes it: "Volume 1, Book 2, CHAPTER IV", "parte 1, Capítulo".
    static const QRegularExpression label(u"^(\\p{L}+) (\\d{1,4}), "_s);
    for (auto match = label.match(rest); match.hasMatch(); match = label.match(rest)) {
        const QString word = foldedForHeadings(match.capturedView(1));
        levels.append({word.toLower(), match.capturedView(2).toInt(), isPartWord(word)});
        rest = rest.sliced(match.capturedLength());
    }
    const qsizetype labels = levels.size();
    static const QRegularExpression dotted(u"^(\\d{1,3})(?=\\.\\d)"_s);
    if (const QRegularExpressionMatch match = dotted.match(rest); match.hasMatch()) {
        levels.append({u"#"_s, match.capturedView(1).toInt(), false});
        rest = rest.sliced(match.capturedLength());
        readSubNumbers(rest, levels);
        return levels;
    }
    bool cut = false; // the last number read names a part of a heading that should follow
    while (!rest.isEmpty()) {
        qsizetype end = 0;
        bool leads = false;
        const HeadingLine opening = openingHeading(rest, end, leads);
        if (!isNumbered(opening))
            break;
        cut = leads;
        levels.append(
            {opening.word.toLower(), opening.number, opening.level == HeadingLevel::Part});
        rest = rest.sliced(end);
        if (readSubNumbers(rest, levels))
            return levels;
        const qsizetype gap = separatorsAt(rest);
        const bool spaced = rest.first(gap).trimmed().isEmpty();
        rest = rest.sliced(gap);
        // A number alone after the heading is a section of it, as a table of contents titles
        // a nested entry that is only a number: "Chapter 2 3".
        const HeadingLine next = readHeadingLine(rest);
        if (spaced && next.form == Form::Bare && next.number > 0) {
            levels.append({levels.last().kind + u'.', next.number, false});
            return levels;
        }
    }
    if (levels.size() == labels) {
        HeadingLine read = readHeadingLine(rest);
        if (read.form == Form::None)
            read = leadingNumber(rest);
        if (read.form != Form::ListEntry && read.number > 0 && read.word.startsWith(u'#'))
            levels.append({read.word.startsWith(u"#R") ? u"#R"_s : u"#"_s, read.number, false});
    }
    // A title cut where its own number should be ("Book 1, CHAPTER…") carries none.
    if (cut || levels.size() == labels)
        return {};
    return levels;
}

// How the numbering of a book's chapter table nests: which kinds of number restart within
// which. A kind is within another when a title names both, the other first ("Book II, Chapter
// 3", "2.1"); when the other is a word that divides a book and it is not; or when the other
// came first and its numbers come between its own (Part 1, Chapter 1, Chapter 2, Part 2,
// Chapter 1). A kind that only follows another (letters, then chapters) is no part of it.
class Nesting
{
public:
    explicit Nesting(const QList<QList<Level>> &titles)
    {
        QHash<QString, QSet<QString>> since; // kind -> the kinds seen since its last number
        for (const QList<Level> &levels : titles) {
            for (qsizetype i = 0; i < levels.size(); ++i) {
                const Level &level = levels[i];
                if (!m_first.contains(level.kind)) {
                    m_first.insert(level.kind, int(m_first.size()));
                    m_part.insert(level.kind, level.part);
                } else {
                    for (const QString &other : std::as_const(since[level.kind]))
                        m_between.insert({other, level.kind});
                }
                for (qsizetype j = 0; j < i; ++j)
                    m_named.insert({levels[j].kind, level.kind});
                for (auto it = since.begin(); it != since.end(); ++it)
                    it->insert(level.kind);
                since[level.kind].clear();
            }
        }
        for (auto kind = m_first.cbegin(); kind != m_first.cend(); ++kind) {
            QStringList outer;
            for (auto other = m_first.cbegin(); other != m_first.cend(); ++other) {
                if (other.key() != kind.key()
                    && weight(other.key(), kind.key()) > weight(kind.key(), other.key()))
                    outer.append(other.key());
            }
            std::sort(outer.begin(), outer.end(), [this](const QString &a, const QString &b) {
                return m_first[a] < m_first[b];
            });
            m_outer.insert(kind.key(), outer);
        }
    }

    // The kinds the numbers of kind restart within, in the order the book first shows them.
    QStringList outer(const QString &kind) const { return m_outer.value(kind); }

private:
    int weight(const QString &outer, const QString &inner) const
    {
        if (m_named.contains({outer, inner}))
            return 3;
        if (m_part[outer] && !m_part[inner])
            return 2;
        if (m_first[outer] < m_first[inner] && m_between.contains({outer, inner}))
            return 1;
        return 0;
    }

    QHash<QString, int> m_first; // kind -> order of its first number in the book
    QHash<QString, bool> m_part;
    QSet<std::pair<QString, QString>> m_named;   // outer, inner as a title names them
    QSet<std::pair<QString, QString>> m_between; // a number of one came between two of the other
    QHash<QString, QStringList> m_outer;
};

// How a kind of number reads in a message: "chapter", "book"; a number within a number is a
// section.
QString kindWord(const QString &kind)
{
    if (kind.endsWith(u'.'))
        return u"section"_s;
    return kind.startsWith(u'#') ? u"chapter"_s : kind;
}

// How a kind a number is within reads in a message: a number without a word that others
// restart under is a part's.
QString scopeWord(const QString &kind)
{
    return kind.startsWith(u'#') && !kind.endsWith(u'.') ? u"part"_s : kindWord(kind);
}

} // namespace

QHash<int, QStringList> numberingGaps(const QList<ChapterEntry> &chapters)
{
    struct Run
    {
        QSet<int> seen;
        int highest = 0;
    };
    QList<QList<Level>> titles;
    titles.reserve(chapters.size());
    for (const ChapterEntry &chapter : chapters)
        titles.append(levelsOf(chapter.title));
    const Nesting nesting(titles);
    // The number of the next title with a number of the same kind as its own, by row.
    QList<int> nextOfKind(titles.size(), 0);
    QHash<QString, int> below;
    for (qsizetype row = titles.size() - 1; row >= 0; --row) {
        if (titles[row].isEmpty())
            continue;
        const Level &own = titles[row].last();
        nextOfKind[row] = below.value(own.kind);
        below.insert(own.kind, own.number);
    }

    QHash<QString, Run> runs;          // by kind and the numbers it is within
    QHash<QString, int> highestOfKind; // by kind, over all runs
    QHash<QString, int> current;       // the number each kind stands at
    QHash<int, QStringList> gaps;
    bool unnumberedAbove = false; // a heading without a number since the last numbered one
    // Titles shortened before their number ("Volume 1, Book 1, CHAPTER…") since the last
    // numbered one: each stands for a number the reader sees no gap at.
    int cutAbove = 0;
    for (int row = 0; row < chapters.size(); ++row) {
        const QList<Level> &levels = titles[row];
        if (levels.isEmpty()) {
            unnumberedAbove = true;
            if (QStringView(chapters[row].title).trimmed().endsWith(u'\u2026'))
                ++cutAbove;
            continue;
        }
        for (qsizetype i = 0; i < levels.size(); ++i) {
            const Level &level = levels[i];
            // The parts a title names ("Book 2" of "Book 2, Chapter 3") are checked where they
            // change, as the part rows above would have been.
            if (i + 1 < levels.size() && current.value(level.kind, -1) == level.number)
                continue;
            QString key = level.kind;
            QStringList within;
            QString number; // "2.", the numbers a section's number is within
            for (const QString &outer : nesting.outer(level.kind)) {
                const int at = current.value(outer, -1);
                key += u'|' + outer + u'=' + QString::number(at);
                if (at < 0)
                    continue;
                const bool numberAbove = level.kind.startsWith(outer)
                                         && level.kind.sliced(outer.size()).count(u'.')
                                                == level.kind.size() - outer.size();
                if (numberAbove)
                    number += QString::number(at) + u'.';
                else
                    within.append(scopeWord(outer) + u' ' + QString::number(at));
            }
            const QString prefix = number;
            number += QString::number(level.number);
            const QString where = within.isEmpty() ? QString() : u" of "_s + within.join(u", "_s);
            const QString name = kindWord(level.kind);

            Run &run = runs[key];
            // Numbers starting again under a titled heading without one ("Song of Myself", then
            // sections 1 to 52) are a run of their own, as are chapters under an epilogue.
            // So are numbers that visibly start again at 1 and go on with 2 ("LVII", then "I",
            // "II"), where the part between was no row of the table.
            if (level.number == 1
                && (unnumberedAbove
                    || (i + 1 == levels.size() && run.seen.contains(1) && nextOfKind[row] == 2)))
                run = Run{};
            if (run.seen.contains(level.number)) {
                gaps[row].append(u"%1 %2%3 is repeated"_s.arg(name, number, where));
            } else {
                int expected = run.highest + 1;
                // Chapters may number on from the part before; sections of a chapter start
                // at its first.
                if (run.seen.isEmpty() && level.number > 1 && !level.kind.endsWith(u'.'))
                    expected = std::min(level.number, highestOfKind.value(level.kind) + 1);
                if (level.number > expected && level.number - expected <= LongestGap
                    && level.number - expected > cutAbove) {
                    for (int missing = expected; missing < level.number; ++missing) {
                        gaps[row].append(
                            u"%1 %2%3%4 is missing"_s.arg(name, prefix).arg(missing).arg(where));
                    }
                }
            }
            run.seen.insert(level.number);
            run.highest = std::max(run.highest, level.number);
            highestOfKind[level.kind] = std::max(highestOfKind.value(level.kind), level.number);
            current[level.kind] = level.number;
            // A new part starts its chapters afresh: what stood within the old one is over.
            for (auto it = current.begin(); it != current.end();) {
                if (nesting.outer(it.key()).contains(level.kind))
                    it = current.erase(it);
                else
                    ++it;
            }
        }
        unnumberedAbove = false;
        cutAbove = 0;
    }
    return gaps;
}
