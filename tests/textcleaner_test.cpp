#include "cleaner/textcleaner.h"

#include "testfiles.h"

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

struct CleanCase
{
    const char *name;
    QString text;
    CleanerBoxes boxes;
    QString cleaned;
};

const QString CRLF = u"\r\n"_s;

TEST(TextCleaner, EachBoxMakesItsReplacementsInOrder)
{
    const QString DQ = u"\""_s;
    const CleanCase cases[] = {
        // Box 0: paragraphs become one line each; marked breaks become one blank line.
        {"0: unwraps lines", u"one\r\ntwo\r\n\r\nthree"_s, only({0}), u"one two\r\n\r\nthree"_s},
        {"0: an indented line starts a paragraph", u"one\r\n  two"_s, only({0}),
         u"one\r\n\r\n two"_s},
        {"0: three breaks", u"a"_s + CRLF.repeated(3) + u"b"_s, only({0}), u"a\r\n\r\n b"_s},
        {"0: four breaks stay", u"a"_s + CRLF.repeated(4) + u"b"_s, only({0}),
         u"a"_s + CRLF.repeated(4) + u"b"_s},
        {"0: the marker in the text itself", u"a<PAR>b"_s, only({0}), u"a\r\n\r\nb"_s},
        {"0: a break before the end", u"end\r\n"_s, only({0}), u"end "_s},
        // Box 1: every indent space becomes one more line break; tabs at line starts go.
        {"1: three spaces", u"a\r\n   b"_s, only({1}), u"a"_s + CRLF.repeated(4) + u"b"_s},
        {"1: tabs at a line start", u"a\r\n\t\tb\tc"_s, only({1}), u"a\r\nb\tc"_s},
        {"1: spaces after a tab stay", u"a\r\n\t b"_s, only({1}), u"a\r\n b"_s},
        {"1: no indent at the start of the text", u"  a"_s, only({1}), u"  a"_s},
        // Box 2: straight double quotes, apostrophes back before a lower-case s.
        {"2: possessives and contractions", u"\u201CIt's John's.\u201D"_s, only({2}),
         DQ + u"It's John's."_s + DQ},
        {"2: other contractions keep the double quote", u"don't"_s, only({2}), u"don\"t"_s},
        {"2: grave accent", u"`quoted'"_s, only({2}), u"\"quoted\""_s},
        {"2: a word beginning with s after a space", u"he said \u201Cso\u201D"_s, only({2}),
         u"he said 'so\""_s},
        {"2: not at the start of the text", u"\"so"_s, only({2}), u"\"so"_s},
        {"2: not right after a line break", u"a\r\n\"so"_s, only({2}), u"a\r\n\"so"_s},
        {"2: only a lower-case s", u"x\"S"_s, only({2}), u"x\"S"_s},
        {"2: matches do not overlap within a pass", u"a\"s\"s"_s, only({2}), u"a's's"_s},
        {"2: single curly quotes stay", u"\u2018a\u2019"_s, only({2}), u"\u2018a\u2019"_s},
        // Box 3: every run of line breaks becomes one.
        {"3: five breaks", u"a"_s + CRLF.repeated(5) + u"b"_s, only({3}), u"a\r\nb"_s},
        {"3: one break stays", u"a\r\nb"_s, only({3}), u"a\r\nb"_s},
        // Box 4: every tab goes.
        {"4: tabs anywhere", u"\ta\tb\t"_s, only({4}), u"ab"_s},
        // Box 5: one scan: pairs of spaces become one.
        {"5: three spaces", u"a   b"_s, only({5}), u"a  b"_s},
        {"5: four spaces", u"a    b"_s, only({5}), u"a  b"_s},
        {"5: five spaces", u"a     b"_s, only({5}), u"a   b"_s},
        // Boxes together run in box order, each on the result of the one before.
        {"0 and 3: one break between paragraphs", u"one\r\ntwo\r\n\r\nthree"_s, only({0, 3}),
         u"one two\r\nthree"_s},
        {"1 then 3: indents become plain line starts", u"a\r\n  b"_s, only({1, 3}), u"a\r\nb"_s},
        {"4 then 5: a tab between spaces", u"a \t b"_s, only({4, 5}), u"a b"_s},
        {"nothing ticked", u"a\r\n  b\t"_s, only({}), u"a\r\n  b\t"_s},
        {"empty text", QString(), only({0, 1, 2, 3, 4, 5}), QString()},
    };
    for (const CleanCase &c : cases)
        EXPECT_EQ(CleanText(c.text, c.boxes), c.cleaned) << c.name;
}

TEST(TextCleaner, UnwrappingTwiceChangesNothingMore)
{
    const QString once = CleanText(u"one\r\ntwo\r\n\r\nthree\r\nfour"_s, only({0}));
    EXPECT_EQ(once, u"one two\r\n\r\nthree four"_s);
    EXPECT_EQ(CleanText(once, only({0})), once);
}

TEST(TextCleaner, RepeatsUntilARoundLeavesTheTextAsItWas)
{
    int rounds = 0;
    const CleanPass shorten = [&](const QString &text) -> std::optional<QString> {
        ++rounds;
        if (text.size() <= 1)
            return std::nullopt;
        return text.left(text.size() - 1);
    };
    EXPECT_EQ(ReplaceUntilStable(u"abcd"_s, std::span(&shorten, 1)), u"a"_s);
    EXPECT_EQ(rounds, 4);

    // A round that replaces and yet ends where it began is stable too.
    const CleanPass swapAB = [](const QString &text) -> std::optional<QString> {
        return QString(text).replace(u'a', u'#').replace(u'b', u'a').replace(u'#', u'b');
    };
    const CleanPass passes[] = {swapAB, swapAB};
    EXPECT_EQ(ReplaceUntilStable(u"ab"_s, passes), u"ab"_s);
    EXPECT_EQ(ReplaceOnce(u"ab"_s, std::span(&swapAB, 1)), u"ba"_s);
}

} // namespace
