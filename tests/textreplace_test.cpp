#include "search/textreplace.h"

#include "testfiles.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(FindText, FindsTheFirstOccurrenceIgnoringCase)
{
    struct Case
    {
        QString text;
        QString what;
        qsizetype at;
    };
    const Case cases[] = {
        {u"a CHAPTER, a Chapter"_s, u"chapter"_s, 2},
        {u"abc"_s, u"b"_s, 1},
        {u"abc"_s, u"ABC"_s, 0},
        {u"abc"_s, u"abd"_s, -1},
        {u"abc"_s, u""_s, 0},
        {u""_s, u""_s, -1},
        {u""_s, u"a"_s, -1},
        {u"line\r\nnext"_s, u"NEXT"_s, 6},
        {u" lead"_s, u" LEAD"_s, 0},
        // Upper-casing goes unit by unit: "ß" stays one character and offsets after it hold.
        {u"Straße and more"_s, u"AND"_s, 7},
        {u"Straße"_s, u"STRASSE"_s, -1},
        {u"caf\u00E9"_s, u"CAF\u00C9"_s, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(findFirst(c.text, c.what), c.at)
            << c.text.toStdString() << " / " << c.what.toStdString();
}

TEST(ReplaceText, ReplacesEveryOccurrenceFromTheLeftIgnoringCase)
{
    struct Case
    {
        QString text;
        QString what;
        QString replacement;
        QString result;
    };
    const Case cases[] = {
        {u"Colour, COLOUR and colour"_s, u"colour"_s, u"color"_s, u"color, color and color"_s},
        {u"banana"_s, u"a"_s, u"aa"_s, u"baanaanaa"_s},
        {u"aaa"_s, u"aa"_s, u"b"_s, u"ba"_s},
        {u"a-b-c"_s, u"-"_s, u""_s, u"abc"_s},
        {u"abc"_s, u""_s, u"x"_s, u"abc"_s},
        {u"abc"_s, u"x"_s, u"y"_s, u"abc"_s},
        {u"Straße"_s, u"E"_s, u"e!"_s, u"Straße!"_s},
        {u"AbAb"_s, u"ab"_s, u"ab"_s, u"abab"_s},
    };
    for (const Case &c : cases)
        EXPECT_EQ(replaceAllIgnoringCase(c.text, c.what, c.replacement), c.result)
            << c.text.toStdString();
}

TEST(ReplaceText, ExactReplacementTellsWhetherAnythingMatched)
{
    EXPECT_EQ(replaceEvery(u"a\r\nb\r\n"_s, u"\r\n", u" "), std::optional(u"a b "_s));
    EXPECT_EQ(replaceEvery(u"abc"_s, u"B", u"x"), std::nullopt) << "case counts";
    EXPECT_EQ(replaceEvery(u"abc"_s, u"", u"x"), std::nullopt);
}

} // namespace
