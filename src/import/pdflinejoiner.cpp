#include "pdflinejoiner.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

bool isHyphen(QChar c)
{
    return c == u'-' || c == u'\u2010' || c == u'\u00AD';
}

// A word as the book's list of words holds it: lower case, without the punctuation around it.
QString bareWord(QStringView token)
{
    qsizetype from = 0, to = token.size();
    while (from < to && !token[from].isLetterOrNumber())
        ++from;
    while (to > from && !token[to - 1].isLetterOrNumber())
        --to;
    return token.sliced(from, to - from).toString().toLower();
}

} // namespace

void LineJoiner::countWords(const QString &line)
{
    const QStringList tokens = line.split(u' ', Qt::SkipEmptyParts);
    for (qsizetype t = m_broken ? 1 : 0; t < tokens.size(); ++t) {
        if (t < tokens.size() - 1 || !isHyphen(tokens[t].back()))
            ++m_words[bareWord(tokens[t])];
    }
    m_broken = !tokens.isEmpty() && isHyphen(tokens.last().back());
}

// A broken word keeps its hyphen when the book writes it so more often than joined, or never
// writes it either way and both halves are words of their own (door-nail) but for an ending
// (use-less), or the second half is capitalized (Anglo-Saxon).
bool LineJoiner::keepsHyphen(QStringView before, QStringView after) const
{
    const QString first = bareWord(before), second = bareWord(after);
    if (first.isEmpty() || second.isEmpty())
        return true;
    const int hyphenated = m_words.value(first + u'-' + second);
    const int joined = m_words.value(first + second);
    if (hyphenated > 0 || joined > 0)
        return hyphenated > joined;
    if (after.front().isUpper())
        return true;
    static const QStringList Endings = {
        u"able"_s, u"ably"_s,  u"ed"_s,   u"er"_s,  u"ers"_s,  u"est"_s,  u"ful"_s,
        u"ible"_s, u"ing"_s,   u"ings"_s, u"ity"_s, u"ive"_s,  u"less"_s, u"ly"_s,
        u"ment"_s, u"ments"_s, u"ness"_s, u"ous"_s, u"sion"_s, u"tion"_s, u"tions"_s};
    if (Endings.contains(second))
        return false;
    return first.size() > 2 && second.size() > 2 && m_words.contains(first)
           && m_words.contains(second);
}

void LineJoiner::append(QString &text, const QString &line) const
{
    if (text.isEmpty() || line.isEmpty()) {
        text += line;
        return;
    }
    const QChar last = text.back();
    const bool afterWord = text.size() >= 2 && text[text.size() - 2].isLetter();
    if (isHyphen(last) && afterWord) {
        const qsizetype start = text.lastIndexOf(u' ') + 1;
        const QStringView before = QStringView(text).sliced(start, text.size() - 1 - start);
        const QStringView after = QStringView(line).left(line.indexOf(u' '));
        // A soft hyphen is where a word may break, never part of it.
        if (last == u'\u00AD' || !keepsHyphen(before, after))
            text.chop(1);
        text += line;
        return;
    }
    // A dash at a line's end joins the words on either side, as it does within a line.
    if ((last == u'\u2014' || last == u'\u2013') && afterWord) {
        text += line;
        return;
    }
    text += u' ' + line;
}
