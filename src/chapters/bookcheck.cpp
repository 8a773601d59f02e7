#include "bookcheck.h"

#include "book/bookfile.h"
#include "book/offsettext.h"

#include "numberinggaps.h"

#include <QHash>

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
