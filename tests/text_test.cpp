#include "book/textimport.h"
#include "cleaner/textcleaner.h"

#include "testfiles.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

CleanerBoxes only(std::initializer_list<int> ticked)
{
    CleanerBoxes boxes{};
    for (const int box : ticked)
        boxes[box] = true;
    return boxes;
}

// Box 0: paragraphs become one line each, marked breaks one blank line, and unwrapped text stays
// as it is. Box 1: every indent space becomes one more line break, tabs at line starts go.
// Box 2: straight double quotes, apostrophes back before a lower-case s. Box 3: every run of
// line breaks becomes one. Box 4: every tab goes. Box 5: one scan, pairs of spaces become one.
// Box 7: each character takes its nearest storable form, an emoji or a lone surrogate one "?".
// Boxes together run in box order, each on the result of the one before.
TEST(TextCleaner, EachBoxMakesItsReplacementsInOrder)
{
    const QString CRLF = u"\r\n"_s;
    const struct
    {
        QString text;
        CleanerBoxes boxes;
        QString cleaned;
    } cases[] = {
        {u"one\r\ntwo\r\n\r\nthree"_s, only({0}), u"one two\r\n\r\nthree"_s},
        {u"one two\r\n\r\nthree four"_s, only({0}), u"one two\r\n\r\nthree four"_s},
        {u"one\r\n  two"_s, only({0}), u"one\r\n\r\n two"_s},
        {u"a"_s + CRLF.repeated(3) + u"b"_s, only({0}), u"a\r\n\r\n b"_s},
        {u"a"_s + CRLF.repeated(4) + u"b"_s, only({0}), u"a"_s + CRLF.repeated(4) + u"b"_s},
        {u"a<PAR>b"_s, only({0}), u"a\r\n\r\nb"_s},
        {u"end\r\n"_s, only({0}), u"end "_s},
        {u"a\r\n   b"_s, only({1}), u"a"_s + CRLF.repeated(4) + u"b"_s},
        {u"a\r\n\t\tb\tc"_s, only({1}), u"a\r\nb\tc"_s},
        {u"a\r\n\t b"_s, only({1}), u"a\r\n b"_s},
        {u"  a"_s, only({1}), u"  a"_s},
        {u"\u201CIt's John's.\u201D"_s, only({2}), u"\"It's John's.\""_s},
        {u"don't `quoted'"_s, only({2}), u"don\"t \"quoted\""_s},
        {u"he said \u201Cso\u201D"_s, only({2}), u"he said 'so\""_s},
        {u"\"so\r\n\"so x\"S"_s, only({2}), u"\"so\r\n\"so x\"S"_s},
        {u"a\"s\"s"_s, only({2}), u"a's's"_s},
        {u"\u2018a\u2019"_s, only({2}), u"\u2018a\u2019"_s},
        {u"a"_s + CRLF.repeated(5) + u"b\r\nc"_s, only({3}), u"a\r\nb\r\nc"_s},
        {u"\ta\tb\t"_s, only({4}), u"ab"_s},
        {u"a   b    c     d"_s, only({5}), u"a  b  c   d"_s},
        {u"one\r\ntwo\r\n\r\nthree"_s, only({0, 3}), u"one two\r\nthree"_s},
        {u"a\r\n  b"_s, only({1, 3}), u"a\r\nb"_s},
        {u"a \t b"_s, only({4, 5}), u"a b"_s},
        {u"a\r\n  b\t"_s, only({}), u"a\r\n  b\t"_s},
        {QString(), only({0, 1, 2, 3, 4, 5}), QString()},
        {u"Лев Толстой, ёж; Я"_s, only({7}), u"Lev Tolstoj, ëž; Â"_s},
        {u"Σωκράτης, Łódź, \uFB01n \uFF21, e\u0301"_s, only({7}), u"Sokrátes, Lódz, fin A, é"_s},
        {u"中文 \U0001F600"_s + QChar(0xD800), only({7}), u"zhong wén ??"_s},
        {u"é — “x” … ½ € ™ ‘y’ Ÿ"_s, only({7}), u"é — “x” … ½ € ™ ‘y’ Ÿ"_s},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CleanText(c.text, c.boxes), c.cleaned) << c.text.toStdString();
}

// Each text as lines joined with CR LF: the body the frame leaves, and the header's fields.
TEST(GutenbergFrame, KeepsExactlyTheBodyBetweenTheMarkers)
{
    const struct
    {
        const char *name;
        QStringList lines;
        QString body;
        QString title;
        QString author;
    } cases[] = {
        {"current release",
         {u"The Project Gutenberg eBook of X"_s, QString(), u"Title: X"_s, u"Author: Y"_s,
          QString(), u"*** START OF THE PROJECT GUTENBERG EBOOK X ***"_s, QString(), QString(),
          u"  CHAPTER I"_s, QString(), u"Text."_s, QString(),
          u"*** END OF THE PROJECT GUTENBERG EBOOK X ***"_s, QString(), u"Section 1."_s},
         u"  CHAPTER I\r\n\r\nText."_s,
         u"X"_s,
         u"Y"_s},
        {"THIS, no space, lower case, credits paragraph",
         {u"Title: X"_s, u"***start of this project gutenberg ebook x***"_s, QString(),
          u"Produced by A,"_s, u"and B"_s, QString(), u"Body"_s, QString(),
          u"End of the Project Gutenberg EBook of X"_s, u"*** END OF THIS PROJECT ..."_s},
         u"Body"_s,
         u"X"_s,
         QString()},
        {"old small print at the top and opening the licence at the end",
         {u"Title: X"_s, u"*END*THE SMALL PRINT! FOR PUBLIC DOMAIN ETEXTS*Ver.04.29.93*END*"_s,
          u"Body"_s, u"End of Project Gutenberg Etext of X"_s,
          u"***START**THE SMALL PRINT!**FOR PUBLIC DOMAIN EBOOKS**START***"_s, u"Licence"_s},
         u"Body"_s,
         u"X"_s,
         QString()},
        {"end without start keeps the top",
         {u"Title: X"_s, QString(), u"Author: Y"_s, u"Z, and W"_s, QString(), u"Body"_s, QString(),
          u"End of Project Gutenberg\u2019s X, by Y"_s, u"Licence"_s},
         u"Title: X\r\n\r\nAuthor: Y\r\nZ, and W\r\n\r\nBody"_s,
         u"X"_s,
         u"Y"_s},
        {"a title and author that continue on the next line",
         {u"Title: The Long"_s, u"       Title"_s, u"Author: A"_s, u"    and B"_s,
          u"*** START OF THE PROJECT GUTENBERG EBOOK ***"_s, u"Body"_s},
         u"Body"_s,
         u"The Long Title"_s,
         u"A and B"_s},
        {"no marker: everything stays, blank lines too",
         {QString(), u"Title: X"_s, u"Body mentions the Project Gutenberg EBook"_s, QString()},
         u"\r\nTitle: X\r\nBody mentions the Project Gutenberg EBook\r\n"_s,
         QString(),
         QString()},
    };
    for (const auto &c : cases) {
        const CleanOutcome outcome = Clean(c.lines.join(u"\r\n"_s), only({GutenbergFrameBox}));
        EXPECT_EQ(outcome.text, c.body) << c.name;
        EXPECT_EQ(outcome.frame.title, c.title) << c.name;
        EXPECT_EQ(outcome.frame.author, c.author) << c.name;
    }
}

// The header's field as a person reads it off the lines before the body.
QString headerField(const QStringList &lines, const QString &name)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines[i].startsWith(name + u':'))
            continue;
        QString value = lines[i].mid(name.size() + 1).trimmed();
        while (++i < lines.size() && lines[i].startsWith(u' ') && !lines[i].trimmed().isEmpty())
            value += u' ' + lines[i].trimmed();
        return value;
    }
    return {};
}

TEST(GutenbergFrame, EveryCorpusBookKeepsItsBodyAndTakesItsHeader)
{
    const QStringList books = corpusBooks();
    if (books.isEmpty())
        GTEST_SKIP() << "no corpus books in " << corpusDir().toStdString();

    static const QRegularExpression start(uR"(^\*\*\* ?START OF TH(E|IS) PROJECT GUTENBERG)"_s,
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression end(
        uR"(^\s*(\*\*\* ?END OF TH(E|IS) PROJECT GUTENBERG|End of (the )?Project Gutenberg))"_s,
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression credits(u"^(Produced by|E-?text prepared by|Transcribed by)"_s,
                                            QRegularExpression::CaseInsensitiveOption);
    for (const QString &path : books) {
        SCOPED_TRACE(QFileInfo(path).fileName().toStdString());
        const QString text = importTextFile(path).value();
        const QStringList lines = text.split(u"\r\n"_s);
        auto firstLine = [&](const QRegularExpression &pattern, qsizetype from) -> qsizetype {
            for (qsizetype i = from; i < lines.size(); ++i) {
                if (lines[i].contains(pattern))
                    return i;
            }
            return -1;
        };
        const qsizetype startLine = firstLine(start, 0);
        const qsizetype endLine = firstLine(end, startLine + 1);

        qsizetype first = startLine + 1;
        while (lines[first].trimmed().isEmpty())
            ++first;
        if (startLine >= 0 && lines[first].contains(credits)) {
            while (!lines[first].trimmed().isEmpty())
                ++first;
            while (lines[first].trimmed().isEmpty())
                ++first;
        }
        qsizetype last = (endLine >= 0 ? endLine : lines.size()) - 1;
        while (lines[last].trimmed().isEmpty())
            --last;

        const CleanOutcome outcome = Clean(text, only({GutenbergFrameBox}));
        if (startLine < 0 && endLine < 0) {
            EXPECT_EQ(outcome.text, text);
            continue;
        }
        EXPECT_TRUE(outcome.text.startsWith(lines[first] + u"\r\n"_s));
        EXPECT_TRUE(outcome.text.endsWith(u"\r\n"_s + lines[last]));
        const QStringList header = lines.mid(0, startLine >= 0 ? startLine : 20);
        EXPECT_EQ(outcome.frame.title, headerField(header, u"Title"_s));
        EXPECT_EQ(outcome.frame.author, headerField(header, u"Author"_s));
        EXPECT_FALSE(outcome.frame.title.isEmpty());
    }
}

} // namespace
