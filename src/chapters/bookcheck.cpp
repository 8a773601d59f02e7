#include "bookcheck.h"

#include "book/bookfile.h"
#include "book/offsettext.h"

#include "headingline.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

// A field that ends in something other than a fill space was probably longer than its width.
bool fillsItsField(const QString &field, qsizetype width)
{
    return field.size() >= width && !field.endsWith(u' ');
}

// A line begins at the start of the text and after a line break of any kind: CR LF, a lone LF
// or a lone CR. Between the CR and the LF of a pair is no line start.
bool startsALine(const QString &text, qsizetype offset)
{
    if (offset == 0)
        return true;
    const QChar before = text[offset - 1];
    return before == u'\n' || (before == u'\r' && text[offset] != u'\n');
}

// A jump longer than this is no sequence with a few headings missing.
constexpr int LongestGap = 20;

// Where a numbered title stands: the parts its title names ("Book 2, CHAPTER III" names
// "Book 2"), or the part row above it.
struct Numbering
{
    QString scope;       // "Book 2", "Volume 1, Book 1"; empty outside parts
    QString kind;        // "chapter", "letter", "book"
    int number = 0;      // 0: the title carries no number
    bool part = false;   // the row is a part's own heading
    bool matter = false; // a front or back heading ("EPILOGUE"), which may hold chapters
};

// A number opening a title the detector joined from a number line and its title line:
// "16 Narrative Continued", "IV LINE DRAWING".
int leadingNumber(QStringView title)
{
    static const QRegularExpression number(u"^(\\d{1,3}|[IVXLC]+)\\s"_s);
    const QRegularExpressionMatch match = number.match(title);
    if (!match.hasMatch())
        return 0;
    const HeadingLine read = readHeadingLine(match.capturedView(1));
    return read.form == HeadingLine::Form::Bare ? read.number : 0;
}

Numbering numberingOf(const QString &title, const QString &partAbove)
{
    static const QRegularExpression partPrefix(u"^(\\p{L}+(?: \\d+)?), "_s);
    QStringView rest = QStringView(title).trimmed();
    QStringList named;
    for (;;) {
        const QRegularExpressionMatch match = partPrefix.match(rest);
        if (!match.hasMatch())
            break;
        named.append(match.captured(1));
        rest = rest.sliced(match.capturedLength());
    }
    HeadingLine read = readHeadingLine(rest);
    if (read.form == HeadingLine::Form::None) {
        read.form = HeadingLine::Form::Bare;
        read.word = u"#"_s;
        read.number = leadingNumber(rest);
    }
    Numbering numbering;
    numbering.matter = read.form == HeadingLine::Form::Named;
    numbering.kind = read.word.startsWith(u'#') ? u"chapter"_s : read.word.toLower();
    if (read.number == 0 || read.form == HeadingLine::Form::ListEntry)
        return numbering;
    numbering.part = read.level == HeadingLevel::Part;
    numbering.scope = !named.isEmpty() ? named.join(u", "_s)
                      : numbering.part ? QString()
                                       : partAbove;
    numbering.number = read.number;
    return numbering;
}

// Numbers missing or repeated within a part, by chapter row (counted from 0). Numbering may run
// on from one part into the next, as it may start afresh in each.
QHash<int, QStringList> numberingGaps(const QList<ChapterEntry> &chapters)
{
    struct Run
    {
        QSet<int> seen;
        int highest = 0;
    };
    QHash<QString, Run> runs;          // by kind and scope
    QHash<QString, int> highestOfKind; // by kind, over all parts
    QHash<int, QStringList> gaps;
    QString partAbove;
    QString matterAbove; // the front or back heading just above, which may hold what follows
    bool unnumberedAbove = false; // a heading without a number since the last numbered one
    for (int row = 0; row < chapters.size(); ++row) {
        Numbering numbering = numberingOf(chapters[row].title, partAbove);
        if (numbering.matter)
            matterAbove = numbering.kind.left(1).toUpper() + numbering.kind.mid(1);
        if (numbering.number == 0) {
            unnumberedAbove = true;
            continue;
        }
        // Chapters numbered afresh straight under an epilogue belong to it.
        if (!matterAbove.isEmpty() && !numbering.part && numbering.number == 1
            && highestOfKind.value(numbering.kind) > 0 && numbering.scope == partAbove) {
            partAbove = matterAbove;
            numbering.scope = partAbove;
        }
        matterAbove.clear();
        if (numbering.part) {
            const QString own = numbering.kind.left(1).toUpper() + numbering.kind.mid(1) + u' '
                                + QString::number(numbering.number);
            partAbove = numbering.scope.isEmpty() ? own : numbering.scope + u", "_s + own;
        }
        const QString where =
            numbering.scope.isEmpty() ? QString() : u" of "_s + numbering.scope.toLower();
        Run &run = runs[numbering.kind + u'|' + numbering.scope];
        const int number = numbering.number;
        // Numbers starting again under a titled heading without one ("Song of Myself", then
        // sections 1 to 52) are a run of their own.
        if (number == 1 && unnumberedAbove)
            run = Run{};
        unnumberedAbove = false;
        if (run.seen.contains(number)) {
            gaps[row].append(u"%1 %2%3 is repeated"_s.arg(numbering.kind).arg(number).arg(where));
        } else {
            int expected = run.highest + 1;
            if (run.seen.isEmpty() && number != 1)
                expected = std::min(number, highestOfKind.value(numbering.kind) + 1);
            if (number > expected && number - expected <= LongestGap) {
                for (int missing = expected; missing < number; ++missing) {
                    gaps[row].append(
                        u"%1 %2%3 is missing"_s.arg(numbering.kind).arg(missing).arg(where));
                }
            }
        }
        run.seen.insert(number);
        run.highest = std::max(run.highest, number);
        highestOfKind[numbering.kind] = std::max(highestOfKind.value(numbering.kind), number);
    }
    return gaps;
}

} // namespace

QString kindName(BookProblem::Kind kind)
{
    switch (kind) {
    case BookProblem::Kind::OffsetOutsideText:
        return u"offset-outside-text"_s;
    case BookProblem::Kind::OffsetsOutOfOrder:
        return u"offsets-out-of-order"_s;
    case BookProblem::Kind::SameOffset:
        return u"same-offset"_s;
    case BookProblem::Kind::NotAtLineStart:
        return u"not-at-line-start"_s;
    case BookProblem::Kind::FieldCut:
        return u"field-cut"_s;
    case BookProblem::Kind::EmptyText:
        return u"empty-text"_s;
    case BookProblem::Kind::NumberingGap:
        return u"numbering-gap"_s;
    }
    Q_UNREACHABLE();
}

QList<BookProblem> checkBook(const Book &book)
{
    using Kind = BookProblem::Kind;
    QList<BookProblem> problems;

    const struct
    {
        const QString &value;
        qsizetype width;
        QString name;
    } fields[] = {
        {book.title, BookFileHeader::TitleLength, u"title"_s},
        {book.author, BookFileHeader::AuthorLength, u"author"_s},
        {book.synopsis, BookFileHeader::SynopsisLength, u"synopsis"_s},
    };
    for (const auto &field : fields) {
        if (fillsItsField(field.value, field.width)) {
            problems.append({Kind::FieldCut, 0,
                             u"the %1 fills its whole field of %2 characters and may have been "
                             "cut"_s.arg(field.name)
                                 .arg(field.width)});
        }
    }
    if (book.text.isEmpty())
        problems.append({Kind::EmptyText, 0, u"the text is empty"_s});

    const qsizetype length = book.text.size();
    const QHash<int, QStringList> gaps = numberingGaps(book.chapters);
    QHash<qint32, int> firstAt; // offset -> number of the first chapter there
    qint32 previous = 0;
    for (int i = 0; i < book.chapters.size(); ++i) {
        const int number = i + 1;
        const ChapterEntry &chapter = book.chapters[i];
        const qint32 offset = offsetTextToNumber(chapter.offset);

        if (offset < 0 || offset >= length) {
            problems.append({Kind::OffsetOutsideText, number,
                             u"chapter %1 starts at offset %2, outside the text of %3 "
                             "characters"_s.arg(number)
                                 .arg(offset)
                                 .arg(length)});
        } else if (!startsALine(book.text, offset)) {
            problems.append(
                {Kind::NotAtLineStart, number,
                 u"chapter %1 starts at offset %2, in the middle of a line"_s.arg(number).arg(
                     offset)});
        }
        if (i > 0 && offset < previous) {
            problems.append(
                {Kind::OffsetsOutOfOrder, number,
                 u"chapter %1 starts at offset %2, before chapter %3 at offset %4"_s.arg(number)
                     .arg(offset)
                     .arg(number - 1)
                     .arg(previous)});
        }
        if (const auto same = firstAt.constFind(offset); same != firstAt.constEnd()) {
            problems.append({Kind::SameOffset, number,
                             u"chapter %1 starts at offset %2, as chapter %3 does"_s.arg(number)
                                 .arg(offset)
                                 .arg(*same)});
        } else {
            firstAt.insert(offset, number);
        }
        // A title that ends in "…" was shortened on purpose.
        if (fillsItsField(chapter.title, ChapterRecord::TitleLength)
            && !chapter.title.endsWith(u'\u2026')) {
            problems.append({Kind::FieldCut, number,
                             u"the title of chapter %1 fills its whole field of %2 characters and "
                             "may have been cut"_s.arg(number)
                                 .arg(ChapterRecord::TitleLength)});
        }
        for (const QString &gap : gaps.value(i))
            problems.append({Kind::NumberingGap, number, gap});
        previous = offset;
    }
    return problems;
}
