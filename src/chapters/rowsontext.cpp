#include "rowsontext.h"

#include "book/offsettext.h"

#include <QLocale>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

bool isBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}

qsizetype lineEndAt(const QString &text, qsizetype from)
{
    while (from < text.size() && !isBreak(text[from]))
        ++from;
    return from;
}

} // namespace

qsizetype lineStartAt(const QString &text, qsizetype offset)
{
    offset = std::clamp<qsizetype>(offset, 0, text.size());
    while (offset > 0 && !isBreak(text[offset - 1]))
        --offset;
    return offset;
}

MovedRows moveChapterRows(const ChapterRows &rows, const QString &oldText, const QString &newText,
                          const OffsetMap &moves)
{
    MovedRows result;
    result.rows.reserve(rows.size());
    for (const ChapterEntry &row : rows) {
        const qint32 offset = chapterOffset(row);
        if (moves.isIdentity() || offset < 0 || offset > oldText.size()) {
            result.rows.append(row);
            continue;
        }
        // The heading: the first visible character at or after the row, across blank lines.
        qsizetype heading = offset;
        while (heading < oldText.size() && oldText[heading].isSpace())
            ++heading;
        qsizetype kept = heading;
        if (heading < oldText.size()) {
            kept = moves.firstSurvivor(heading, lineEndAt(oldText, heading));
            if (kept < 0) {
                ++result.removed;
                continue;
            }
        }
        // At the start of the heading's line, unless the row now stands inside that line (its
        // line joined the one above): then on the heading itself.
        // A heading whose first character became blanks or line breaks starts after them.
        qsizetype landed = moves.map(kept);
        while (landed < newText.size() && newText[landed].isSpace())
            ++landed;
        const qsizetype lineStart = lineStartAt(newText, landed);
        const qsizetype moved = moves.map(offset) <= lineStart ? lineStart : landed;
        if (moved == offset) {
            result.rows.append(row);
            continue;
        }
        ++result.moved;
        const bool signPosition = row.offset.startsWith(u' ');
        result.rows.append({row.title, signPosition ? offsetWithSignPosition(qint32(moved))
                                                    : QString::number(moved)});
    }
    return result;
}

QList<bool> linesInTable(const QList<qsizetype> &offsets, const ChapterRows &rows,
                         const QString &text)
{
    QSet<qsizetype> lines;
    for (const ChapterEntry &row : rows) {
        const qint32 offset = chapterOffset(row);
        if (offset >= 0 && offset <= text.size())
            lines.insert(lineStartAt(text, offset));
    }
    QList<bool> inTable;
    inTable.reserve(offsets.size());
    for (const qsizetype offset : offsets)
        inTable.append(lines.contains(lineStartAt(text, offset)));
    return inTable;
}

QString describeMovedRows(const MovedRows &moved)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QStringList parts;
    if (moved.moved > 0) {
        parts.append(u"moved %1 chapter %2 with the text"_s.arg(
            english.toString(moved.moved), moved.moved == 1 ? u"row"_s : u"rows"_s));
    }
    if (moved.removed > 0) {
        parts.append(u"removed %1 chapter %2 whose heading was removed"_s.arg(
            english.toString(moved.removed), moved.removed == 1 ? u"row"_s : u"rows"_s));
    }
    return parts.join(u"; "_s);
}
