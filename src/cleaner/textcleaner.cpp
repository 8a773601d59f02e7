#include "textcleaner.h"

#include "storablecharacters.h"

#include "search/textreplace.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

using namespace Qt::StringLiterals;

namespace {

CleanPass replacing(QString find, QString replacement)
{
    return [find = std::move(find), replacement = std::move(replacement)](const QString &text) {
        return replaceEvery(text, find, replacement);
    };
}

// Box 2's last step: a double quote with any character but LF before it and a lower-case s after
// it becomes an apostrophe. Matches are three characters long and taken from the left without
// overlapping, as a global regular-expression replace of `.\"s` takes them.
std::optional<QString> apostropheBeforeS(const QString &text)
{
    // Each match is found by its quote, with Qt's vectorised search for one character.
    const QStringView view(text);
    QString result;
    qsizetype taken = 0; // where the last match ended: the next starts there or later
    for (qsizetype quote = view.indexOf(u'"', 1); quote >= 0 && quote + 1 < view.size();
         quote = view.indexOf(u'"', quote + 1)) {
        if (quote - 1 < taken || view[quote + 1] != u's' || view[quote - 1] == u'\n')
            continue;
        if (result.isNull())
            result = text;
        result[quote] = u'\'';
        taken = quote + 2;
    }
    if (result.isNull())
        return std::nullopt;
    return result;
}

QString untilStable(const QString &text, std::initializer_list<CleanPass> passes)
{
    return ReplaceUntilStable(text, std::span(passes.begin(), passes.size()));
}

QString once(const QString &text, std::initializer_list<CleanPass> passes)
{
    return ReplaceOnce(text, std::span(passes.begin(), passes.size()));
}

// Boxes 0, 1 and 3 are each defined as replacements repeated until the text stops changing,
// every round a new copy of the whole text. Their net effect is worked out here in one pass:
// no round can make a match for a later round except where noted, so one look at each position
// is enough. The tests hold every box to its step-by-step description.
class OnePass
{
public:
    OnePass(const QString &text, OffsetMap &moves)
        : m_begin(reinterpret_cast<const char16_t *>(text.utf16()))
        , m_at(m_begin)
        , m_end(m_at + text.size())
        , m_result(text.size() + text.size() / 16 + 16, Qt::Uninitialized)
        , m_out(reinterpret_cast<char16_t *>(m_result.data()))
        , m_moves(moves)
    {}

    bool done() const { return m_at == m_end; }
    char16_t next() const { return *m_at; }
    // Whether what follows starts with the given units; takes them if so.
    bool take(std::u16string_view units)
    {
        if (qsizetype(units.size()) > m_end - m_at || !std::equal(units.begin(), units.end(), m_at))
            return false;
        m_at += units.size();
        return true;
    }
    // Whether what follows starts with the given units; if so, takes them, writes their
    // replacement and records where the text changed.
    bool replace(std::u16string_view units, std::u16string_view replacement)
    {
        const qsizetype at = m_at - m_begin;
        if (!take(units))
            return false;
        makeRoom(qsizetype(replacement.size()));
        m_out = std::copy(replacement.begin(), replacement.end(), m_out);
        if (units != replacement)
            m_moves.replace(at, QStringView(units), QStringView(replacement));
        return true;
    }
    void copyOne()
    {
        makeRoom(1);
        *m_out++ = *m_at++;
    }
    // Copies what follows up to the next stop (or the end) at once.
    void copyUntil(char16_t stop)
    {
        const qsizetype found = QStringView(m_at, m_end - m_at).indexOf(QChar(stop));
        copyTo(found < 0 ? m_end : m_at + found);
    }
    void copyUntil(char16_t stop, char16_t other)
    {
        copyTo(std::find_if(m_at, m_end, [=](char16_t c) { return c == stop || c == other; }));
    }

    QString result()
    {
        m_result.truncate(written());
        return std::move(m_result);
    }

private:
    qsizetype written() const
    {
        return m_out - reinterpret_cast<const char16_t *>(m_result.constData());
    }
    void copyTo(const char16_t *to)
    {
        makeRoom(to - m_at);
        m_out = std::copy(m_at, to, m_out);
        m_at = to;
    }
    // Most boxes shrink the text or grow it a little; the result grows when a box needs more.
    void makeRoom(qsizetype units)
    {
        const qsizetype used = written();
        if (used + units <= m_result.size())
            return;
        m_result.resize(std::max(2 * m_result.size(), used + units));
        m_out = reinterpret_cast<char16_t *>(m_result.data()) + used;
    }

    const char16_t *m_begin;
    const char16_t *m_at;
    const char16_t *m_end;
    QString m_result;
    char16_t *m_out;
    OffsetMap &m_moves;
};

constexpr std::u16string_view LineBreak = u"\r\n";
constexpr std::u16string_view BlankLine = u"\r\n\r\n";

// Box 0. Its steps mark every blank line and every break before a space with "<PAR>" (the space
// goes into the mark), then turn every other break into a space, then every "<PAR>", the
// book's own too, into a blank line.
QString unwrapLines(const QString &text, OffsetMap &moves)
{
    OnePass pass(text, moves);
    while (!pass.done()) {
        if (pass.next() != u'\r' && pass.next() != u'<')
            pass.copyUntil(u'\r', u'<');
        else if (!pass.replace(BlankLine, BlankLine) && !pass.replace(u"\r\n ", BlankLine)
                 && !pass.replace(u"<PAR>", BlankLine) && !pass.replace(LineBreak, u" "))
            pass.copyOne();
    }
    return pass.result();
}

// Box 1. Each round turns the first space after every break into one more break, so a line
// indented by n spaces ends up after n + 1 breaks; then tabs at the start of a line go, however
// many (each round takes one).
QString breakIndents(const QString &text, OffsetMap &moves)
{
    OnePass pass(text, moves);
    while (!pass.done()) {
        if (!pass.replace(LineBreak, LineBreak)) {
            pass.copyOne();
            pass.copyUntil(u'\r');
            continue;
        }
        while (pass.replace(u" ", LineBreak)) {
        }
        while (pass.replace(u"\t", u"")) {
        }
    }
    return pass.result();
}

// Box 3. Each round halves every run of breaks, until each run is one break.
QString collapseBlankLines(const QString &text, OffsetMap &moves)
{
    OnePass pass(text, moves);
    while (!pass.done()) {
        if (!pass.replace(LineBreak, LineBreak)) {
            pass.copyOne();
            pass.copyUntil(u'\r');
            continue;
        }
        while (pass.replace(LineBreak, u"")) {
        }
    }
    return pass.result();
}

// Box 2 only exchanges one character for another, which moves no offset.
QString cleanBox(int box, const QString &text, OffsetMap &moves)
{
    switch (box) {
    case 0:
        return unwrapLines(text, moves);
    case 1:
        return breakIndents(text, moves);
    case 2: {
        const QString straight =
            once(text, {replacing(u"\u201C"_s, u"\""_s), replacing(u"\u201D"_s, u"\""_s),
                        replacing(u"`"_s, u"\""_s), replacing(u"'"_s, u"\""_s)});
        return untilStable(straight, {apostropheBeforeS});
    }
    case 3:
        return collapseBlankLines(text, moves);
    case 4:
        return replaceEvery(text, u"\t", QStringView(), &moves).value_or(text);
    case 5:
        return replaceEvery(text, u"  ", u" ", &moves).value_or(text);
    }
    Q_UNREACHABLE();
}

} // namespace

QString ReplaceOnce(const QString &text, std::span<const CleanPass> passes)
{
    QString current = text;
    for (const CleanPass &pass : passes) {
        if (std::optional<QString> replaced = pass(current))
            current = std::move(*replaced);
    }
    return current;
}

QString ReplaceUntilStable(const QString &text, std::span<const CleanPass> passes)
{
    QString current = text;
    for (;;) {
        bool replacedAny = false;
        QString next = current;
        for (const CleanPass &pass : passes) {
            if (std::optional<QString> replaced = pass(next)) {
                next = std::move(*replaced);
                replacedAny = true;
            }
        }
        // A round without a match changed nothing; one with matches is compared in full.
        if (!replacedAny || next == current)
            return current;
        current = std::move(next);
    }
}

namespace {

qsizetype countLineBreaks(QStringView text)
{
    return text.count(u'\n') + text.count(u'\r') - text.count(u"\r\n");
}

} // namespace

CleanOutcome Clean(const QString &text, const CleanerBoxes &boxes, CodePage::Id codePage)
{
    CleanOutcome outcome;
    outcome.codePage = codePage;
    QString current = text;
    if (boxes[GutenbergFrameBox]) {
        outcome.frame = FindGutenbergFrame(current);
        if (outcome.frame.found()) {
            const QStringView whole(current);
            const qsizetype start = outcome.frame.bodyStart, end = outcome.frame.bodyEnd;
            outcome.headerLines = countLineBreaks(whole.first(start));
            // What follows the body starts with its last line break.
            const QStringView after = whole.sliced(end);
            outcome.licenceLines =
                countLineBreaks(after) - (after.endsWith(u'\n') || after.endsWith(u'\r') ? 1 : 0);
            outcome.moves.replace(0, start, 0);
            outcome.moves.replace(end, current.size() - end, 0);
            current = current.sliced(start, end - start);
        }
    }
    // The plain-text boxes, 0 to 5, in index order between the two for real books. Each box's
    // moves follow those of the boxes before it.
    for (int box = 0; box < GutenbergFrameBox; ++box) {
        if (boxes[box]) {
            OffsetMap moves;
            current = cleanBox(box, current, moves);
            outcome.moves = OffsetMap::compose(outcome.moves, moves);
        }
    }
    if (boxes[StorableCharactersBox]) {
        OffsetMap moves;
        StorableText storable = MakeStorable(codePage, current, &moves);
        outcome.replacedCharacters = storable.replaced - storable.lost;
        outcome.lostCharacters = storable.lost;
        outcome.moves = OffsetMap::compose(outcome.moves, moves);
        current = std::move(storable.text);
    }
    outcome.text = std::move(current);
    return outcome;
}

QString CleanText(const QString &text, const CleanerBoxes &boxes, CodePage::Id codePage)
{
    return Clean(text, boxes, codePage).text;
}

QStringList describeClean(const CleanOutcome &outcome, const CleanerBoxes &boxes)
{
    QStringList parts;
    if (boxes[GutenbergFrameBox]) {
        if (outcome.frame.found()) {
            parts.append(u"removed the Project Gutenberg header (%1 lines) and licence (%2 lines)"_s
                             .arg(outcome.headerLines)
                             .arg(outcome.licenceLines));
        } else {
            parts.append(u"no Project Gutenberg header or licence found"_s);
        }
    }
    if (boxes[StorableCharactersBox]) {
        const qsizetype replaced = outcome.replacedCharacters;
        QString part = u"replaced %1 %2 a book file in Windows-%3 cannot hold"_s.arg(replaced)
                           .arg(replaced == 1 ? u"character"_s : u"characters"_s)
                           .arg(int(outcome.codePage));
        if (const qsizetype lost = outcome.lostCharacters; lost > 0) {
            part += u", and wrote %1 without a storable form as \"?\""_s.arg(lost);
        }
        parts.append(part);
    }
    return parts;
}

QString unstorableAdvice()
{
    return u"The Text Cleaner's \"%1\" would have given them their nearest storable form."_s.arg(
        QStringView(CleanerBoxCaptions[StorableCharactersBox]));
}
