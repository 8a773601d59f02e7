#include "book/offsettext.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr qint32 Max = std::numeric_limits<qint32>::max();
constexpr qint32 Min = std::numeric_limits<qint32>::min();

struct NumberCase
{
    const char16_t *text;
    qint32 number;
};

constexpr NumberCase NumberCases[] = {
    // The two written forms of a row, and what a user may leave in a box.
    {u" 1234", 1234},
    {u"1234", 1234},
    {u"-5", -5},
    {u"+7", 7},
    {u"  \t42", 42},
    {u"", 0},
    {u"Offset", 0},
    {u"abc12", 0},
    {u"- 5", 0},
    {u"12abc", 12},
    {u"1 2", 1},
    // Fractions round to the nearest whole number, halves to the even one.
    {u"2.5", 2},
    {u"3.5", 4},
    {u"2.50001", 3},
    {u"2.4999", 2},
    {u"0.5", 0},
    {u"-2.5", -2},
    {u"-3.5", -4},
    {u"-3.6", -4},
    {u".5", 0},
    {u".6", 1},
    {u"7.", 7},
    {u"1e3", 1},
    // The 32-bit range: exactly at its ends, and beyond them.
    {u"2147483647", Max},
    {u"2147483648", Max},
    {u"2147483647.5", Max},
    {u"-2147483648", Min},
    {u"-2147483649", Min},
    {u"99999999999999999999999999", Max},
    {u"-99999999999999999999999999", Min},
};

TEST(OffsetText, ReadsTheNumberTheTextStartsWith)
{
    for (const NumberCase &c : NumberCases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(offsetTextToNumber(text), c.number) << '"' << text.toStdString() << '"';
    }
}

TEST(OffsetText, WritesASignPositionBeforeZeroAndPositiveOffsets)
{
    EXPECT_EQ(offsetWithSignPosition(0), QStringLiteral(" 0"));
    EXPECT_EQ(offsetWithSignPosition(1234), QStringLiteral(" 1234"));
    EXPECT_EQ(offsetWithSignPosition(-5), QStringLiteral("-5"));
    EXPECT_EQ(offsetWithSignPosition(Min), QStringLiteral("-2147483648"));
    EXPECT_EQ(offsetWithSignPosition(Max), QStringLiteral(" 2147483647"));
}

} // namespace
