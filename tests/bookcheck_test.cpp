#include "book/bookcheck.h"

#include "testfiles.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using Kind = BookProblem::Kind;

struct Found
{
    Kind kind;
    int chapter;
    friend bool operator==(const Found &, const Found &) = default;
};

std::vector<Found> found(const Book &book)
{
    std::vector<Found> result;
    for (const BookProblem &problem : checkBook(book))
        result.push_back({problem.kind, problem.chapter});
    return result;
}

Book withChapters(const QString &text, std::initializer_list<const char16_t *> offsets)
{
    Book book;
    book.title = u"Title"_s.leftJustified(128);
    book.text = text;
    for (const char16_t *offset : offsets)
        book.chapters.append({u"Chapter"_s.leftJustified(40), QString::fromUtf16(offset)});
    return book;
}

// Chapters with these titles, one a line.
Book titled(std::initializer_list<const char16_t *> titles)
{
    Book book = withChapters(QString(), {});
    for (const char16_t *title : titles) {
        book.chapters.append(
            {QString::fromUtf16(title), u" "_s + QString::number(book.text.size())});
        book.text += u"line\r\n"_s;
    }
    return book;
}

TEST(BookCheck, FindsWhatAReaderWouldStumbleOver)
{
    const QString text = u"One\r\ntext\r\nTwo\r\nmore"_s; // lines start at 0, 5, 11, 16
    struct Case
    {
        const char *name;
        Book book;
        std::vector<Found> problems;
    };
    Book cutFields = withChapters(text, {u" 0"});
    cutFields.title = QString(128, u'T');
    cutFields.synopsis = QString(1023, u'S') + u'.';
    cutFields.chapters[0].title = QString(40, u'c');
    const Case cases[] = {
        {"chapters at line starts, in order",
         withChapters(text, {u" 0", u" 5", u"11", u" 16"}),
         {}},
        {"offsets outside the text",
         withChapters(text, {u" 0", u" 20", u"-1", u" 99"}),
         {{Kind::OffsetOutsideText, 2},
          {Kind::OffsetOutsideText, 3},
          {Kind::OffsetsOutOfOrder, 3},
          {Kind::OffsetOutsideText, 4}}},
        {"out of order and at the same offset",
         withChapters(text, {u" 11", u" 5", u" 11"}),
         {{Kind::OffsetsOutOfOrder, 2}, {Kind::SameOffset, 3}}},
        {"in the middle of a line",
         withChapters(text, {u" 2", u" 6"}),
         {{Kind::NotAtLineStart, 1}, {Kind::NotAtLineStart, 2}}},
        {"between CR and LF", withChapters(text, {u" 4"}), {{Kind::NotAtLineStart, 1}}},
        {"after a lone LF or CR, as stored",
         withChapters(u"a\nb\rc\r\nd"_s, {u" 2", u" 4", u" 7"}),
         {}},
        {"cut fields", cutFields, {{Kind::FieldCut, 0}, {Kind::FieldCut, 0}, {Kind::FieldCut, 1}}},
        {"chapter numbers missing or repeated within a part",
         titled({u"Book 1, CHAPTER I", u"Book 1, CHAPTER II", u"Book 2, CHAPTER I",
                 u"Book 2, CHAPTER III", u"Book 2, CHAPTER III"}),
         {{Kind::NumberingGap, 4}, {Kind::NumberingGap, 5}}},
        {"numbering running on through parts, restarting under an epilogue",
         titled({u"PART ONE--The Start", u"1 The Inn", u"2 The Map", u"PART TWO", u"3 The Ship",
                 u"EPILOGUE", u"I", u"II"}),
         {}},
        {"empty text",
         withChapters(QString(), {u" 0"}),
         {{Kind::EmptyText, 0}, {Kind::OffsetOutsideText, 1}}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(found(c.book), c.problems) << c.name;
}

TEST(BookCheck, MessagesNameTheChapterAndTheOffset)
{
    const QList<BookProblem> problems = checkBook(withChapters(u"abc\r\ndef"_s, {u" 0", u" 2"}));
    ASSERT_EQ(problems.size(), 1);
    EXPECT_EQ(problems[0].message, u"chapter 2 starts at offset 2, in the middle of a line"_s);
    EXPECT_EQ(kindName(problems[0].kind), u"not-at-line-start"_s);

    const QList<BookProblem> gaps = checkBook(titled({u"PART 1", u"CHAPTER 1", u"CHAPTER 3"}));
    ASSERT_EQ(gaps.size(), 1);
    EXPECT_EQ(gaps[0].message, u"chapter 2 of part 1 is missing"_s);
    EXPECT_EQ(kindName(gaps[0].kind), u"numbering-gap"_s);
}

} // namespace
