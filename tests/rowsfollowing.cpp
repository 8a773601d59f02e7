#include "rowsfollowing.h"

#include "chapters/rowsontext.h"
#include "cleaner/textcleaner.h"
#include "search/textreplace.h"

#include <QHash>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

// What texts and replacements are made of: everything the boxes act on, characters that take
// more or fewer units once storable, and the frame of a Gutenberg book.
const QStringList Pieces = {
    u"a"_s,
    u"b"_s,
    u"Word "_s,
    u" "_s,
    u"  "_s,
    u"\t"_s,
    u"\r\n"_s,
    u"\r\n\r\n"_s,
    u"\r\n\r\n\r\n"_s,
    u"<PAR>"_s,
    u"'"_s,
    u"\u201C"_s,
    u"\"s"_s,
    u"\u00E9"_s,
    u"\u0416"_s,
    u"\uFB01"_s,
    u"e\u0301"_s,
    u"\U0001F600"_s,
    u"\r\n*** START OF THE PROJECT GUTENBERG EBOOK X ***\r\n"_s,
    u"\r\n*** END OF THE PROJECT GUTENBERG EBOOK X ***\r\n"_s,
};
// Pieces a replacement may use: not the frame.
constexpr qsizetype ReplaceablePieces = 18;

QString headingMark(int number)
{
    return u"#%1#"_s.arg(number);
}

} // namespace

QString checkRowsFollowTheirHeadings(QByteArrayView recipe)
{
    if (recipe.size() < 2)
        return {};
    CleanerBoxes boxes{};
    for (int box = 0; box < CleanerBoxCount; ++box)
        boxes[box] = (quint8(recipe[0]) >> box) & 1;
    const qsizetype replacementCount = quint8(recipe[1]) % 4;
    qsizetype at = 2;
    QList<std::pair<QString, QString>> replacements;
    for (qsizetype i = 0; i < replacementCount && at + 1 < recipe.size(); ++i, at += 2) {
        replacements.append({Pieces[quint8(recipe[at]) % ReplaceablePieces],
                             Pieces[quint8(recipe[at + 1]) % ReplaceablePieces]});
    }

    // Every fourth byte or so puts a heading in; the others a piece.
    QString text;
    ChapterRows rows;
    int headings = 0;
    for (; at < recipe.size(); ++at) {
        const quint8 byte = quint8(recipe[at]);
        if (byte % 4 != 0) {
            text += Pieces[(byte / 4) % Pieces.size()];
            continue;
        }
        qsizetype row = text.size();
        while (row > 0 && (text[row - 1] == u' ' || text[row - 1] == u'\t'))
            --row;
        if (row > 0 && text[row - 1] != u'\n')
            row = text.size();
        const QString mark = headingMark(++headings);
        rows.append(foundChapterRow(mark, row));
        text += mark;
    }

    CleanOutcome outcome = Clean(text, boxes);
    MovedRows moved = moveChapterRows(rows, text, outcome.text, outcome.moves);
    QString now = outcome.text;
    qsizetype removed = moved.removed;
    for (const auto &[what, by] : replacements) {
        const Replacement replaced = ReplaceInBook(now, what, by);
        moved = moveChapterRows(moved.rows, now, replaced.text, replaced.moves);
        removed += moved.removed;
        now = replaced.text;
    }

    QHash<QString, qsizetype> kept;
    for (const ChapterEntry &row : moved.rows)
        kept.insert(row.title, chapterOffset(row));
    qsizetype lost = 0;
    for (const ChapterEntry &row : rows) {
        const qsizetype mark = now.indexOf(row.title);
        if (mark < 0) {
            ++lost;
            if (kept.contains(row.title))
                return u"the row of %1 stayed when its heading went"_s.arg(row.title);
            continue;
        }
        if (!kept.contains(row.title))
            return u"the row of %1 went though its heading stayed"_s.arg(row.title);
        // Replacements may turn the blanks before a heading into text of its line, which the
        // row then follows as its heading, even where a later replacement breaks that line: the
        // row stands before its heading, with no other heading between them.
        const qsizetype offset = kept.value(row.title);
        const qsizetype lineStart = lineStartAt(now, mark);
        const bool followsTextBefore = !replacements.isEmpty() && offset < mark
                                       && !QStringView(now).sliced(offset, mark - offset).contains(u'#');
        if (offset != mark && offset != lineStart && !followsTextBefore) {
            return u"the row of %1 stands at %2, neither on it nor at its line's start"_s
                .arg(row.title)
                .arg(offset);
        }
    }
    if (lost != removed)
        return u"%1 headings went but %2 rows were removed"_s.arg(lost).arg(removed);
    return {};
}
