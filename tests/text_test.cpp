#include "book/textimport.h"
#include "cleaner/textcleaner.h"

#include "testfiles.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <tuple>

using namespace Qt::StringLiterals;

namespace {

CleanerBoxes only(std::initializer_list<int> ticked)
{
    CleanerBoxes boxes{};
    for (const int box : ticked)
        boxes[box] = true;
    return boxes;
}

// Box 0: paragraphs become one line each, marked breaks one blank line, a break before the end
// a space. Box 1: every indent space becomes one more line break, tabs at line starts go.
// Box 2: straight double quotes, apostrophes back before a lower-case s. Box 3: every run of
// line breaks becomes one. Box 4: every tab goes. Box 5: one scan, pairs of spaces become one.
// Box 7: each character takes its nearest storable form, an emoji or a lone surrogate one "?".
// Boxes together run in box order, each on the result of the one before.
TEST(TextCleaner, EachBoxMakesItsReplacementsInOrder)
{
    const QString CRLF = u"\r\n"_s;
    const std::tuple<QString, CleanerBoxes, QString> cases[] = {
        {u"one\r\ntwo\r\n\r\nthree"_s, only({0}), u"one two\r\n\r\nthree"_s},
        {u"one\r\n  two"_s, only({0}), u"one\r\n\r\n two"_s},
        {u"a"_s + CRLF.repeated(3) + u"b"_s, only({0}), u"a\r\n\r\n b"_s},
        {u"a"_s + CRLF.repeated(4) + u"b"_s, only({0}), u"a"_s + CRLF.repeated(4) + u"b"_s},
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
        {u"a"_s + CRLF.repeated(5) + u"b\r\nc"_s, only({3}), u"a\r\nb\r\nc"_s},
        {u"\ta\tb\t"_s, only({4}), u"ab"_s},
        {u"a   b    c     d"_s, only({5}), u"a  b  c   d"_s},
        {u"one\r\ntwo\r\n\r\nthree"_s, only({0, 3}), u"one two\r\nthree"_s},
        {u"a\r\n  b"_s, only({1, 3}), u"a\r\nb"_s},
        {u"a \t b"_s, only({4, 5}), u"a b"_s},
        {QString(), only({0, 1, 2, 3, 4, 5}), QString()},
        {u"Лев Толстой, ёж; Я"_s, only({7}), u"Lev Tolstoj, ëž; Â"_s},
        {u"Σωκράτης, Łódź, \uFB01n \uFF21, e\u0301"_s, only({7}), u"Sokrátes, Lódz, fin A, é"_s},
        {u"中文 \U0001F600"_s + QChar(0xD800), only({7}), u"zhong wén ??"_s},
        {u"é — “x” … ½ € ™ ‘y’ Ÿ"_s, only({7}), u"é — “x” … ½ € ™ ‘y’ Ÿ"_s},
    };
    for (const auto &[text, boxes, cleaned] : cases)
        EXPECT_EQ(CleanText(text, boxes), cleaned) << text.toStdString();
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
