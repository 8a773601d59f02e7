#include "chapters/numbertables.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Slot
{
    int n;
    QString roman;
    QString words;
    QString hyphenated;
};

TEST(NumberTables, TrickySlotsHoldTheirExactText)
{
    NumberTables tables;
    BuildRomanNumerals(tables);
    BuildNumberWords(tables);
    const Slot cases[] = {
        {1, u"I"_s, u"One"_s, u"One"_s},
        {4, u"IV"_s, u"Four"_s, u"Four"_s},
        {9, u"IX"_s, u"Nine"_s, u"Nine"_s},
        {14, u"XIV"_s, u"Fourteen"_s, u"Fourteen"_s},
        {19, u"XIX"_s, u"Nineteen"_s, u"Nineteen"_s},
        {20, u"XX"_s, u"Twenty"_s, u"Twenty"_s},
        {21, u"XXI"_s, u"Twenty one"_s, u"Twenty-one"_s},
        {40, u"XL"_s, u"Forty"_s, u"Forty"_s},
        {44, u"XLIV"_s, u"Forty four"_s, u"Forty-four"_s},
        {49, u"XLIX"_s, u"Forty nine"_s, u"Forty-nine"_s},
        {88, u"LXXXVIII"_s, u"Eighty eight"_s, u"Eighty-eight"_s},
        {90, u"XC"_s, u"Ninety"_s, u"Ninety"_s},
        {99, u"XCIX"_s, u"Ninety nine"_s, u"Ninety-nine"_s},
        {100, u"C"_s, u"One Hundred"_s, u"One-Hundred"_s},
        {101, u"CI"_s, u"One Hundren and one"_s, u"One-Hundren-and-one"_s},
        {104, u"CIV"_s, u"One Hundren and four"_s, u"One-Hundren-and-four"_s},
        {110, u"CX"_s, u"One Hundren and ten"_s, u"One-Hundren-and-ten"_s},
        {112, u"CXII"_s, u"One Hundren and twelve"_s, u"One-Hundren-and-twelve"_s},
        {120, u"CXX"_s, u"One Hundren and twenty"_s, u"One-Hundren-and-twenty"_s},
        {121, u"CXXI"_s, u"One Hundren and twenty one"_s, u"One-Hundren-and-twenty-one"_s},
        {123, u"CXXIII"_s, u"One Hundren and twenty three"_s, u"One-Hundren-and-twenty-three"_s},
        {128, u"CXXVIII"_s, u"One Hundren and twenty eight"_s, u"One-Hundren-and-twenty-eight"_s},
    };
    for (const Slot &slot : cases) {
        EXPECT_EQ(tables.RomanNumerals[slot.n], slot.roman) << slot.n;
        EXPECT_EQ(tables.NumberWords[slot.n], slot.words) << slot.n;
        EXPECT_EQ(tables.HyphenatedNumberWords[slot.n], slot.hyphenated) << slot.n;
    }
    EXPECT_EQ(tables.RomanNumerals.size(), 129u) << "slots 1 to 128, no slot 129";
}

TEST(NumberTables, EveryEntryFollowsTheTablesRules)
{
    NumberTables tables;
    BuildRomanNumerals(tables);
    BuildNumberWords(tables);
    int hundren = 0;
    qsizetype longest = 0;
    for (int n = 1; n <= NumberTables::Highest; ++n) {
        const QString &words = tables.NumberWords[n];
        ASSERT_FALSE(words.isEmpty()) << n;
        EXPECT_EQ(tables.HyphenatedNumberWords[n], QString(words).replace(u' ', u'-')) << n;
        EXPECT_TRUE(words[0].isUpper()) << n;
        for (qsizetype i = 1; i < words.size(); ++i) {
            const bool capitalH = words[i] == u'H' && words.mid(i).startsWith(u"Hundre"_s);
            EXPECT_TRUE(!words[i].isUpper() || capitalH) << words.toStdString();
        }
        hundren += words.contains(u"Hundren"_s);
        longest = std::max(longest, words.size());
    }
    EXPECT_EQ(hundren, 28);
    EXPECT_EQ(longest, 28);

    // Filling again changes nothing.
    NumberTables again = tables;
    BuildRomanNumerals(again);
    BuildNumberWords(again);
    EXPECT_EQ(again.RomanNumerals, tables.RomanNumerals);
    EXPECT_EQ(again.NumberWords, tables.NumberWords);
    EXPECT_EQ(again.HyphenatedNumberWords, tables.HyphenatedNumberWords);
}

} // namespace
