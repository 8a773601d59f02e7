#include "numbertables.h"

using namespace Qt::StringLiterals;

namespace {

const QString Units[] = {
    {},           u"One"_s,     u"Two"_s,       u"Three"_s,    u"Four"_s,
    u"Five"_s,    u"Six"_s,     u"Seven"_s,     u"Eight"_s,    u"Nine"_s,
    u"Ten"_s,     u"Eleven"_s,  u"Twelve"_s,    u"Thirteen"_s, u"Fourteen"_s,
    u"Fifteen"_s, u"Sixteen"_s, u"Seventeen"_s, u"Eighteen"_s, u"Nineteen"_s,
};

const QString Tens[] = {
    {},         {},         u"Twenty"_s,  u"Thirty"_s, u"Forty"_s,
    u"Fifty"_s, u"Sixty"_s, u"Seventy"_s, u"Eighty"_s, u"Ninety"_s,
};

// 1 to 99 with a capital first letter: "Seven", "Twenty", "Forty seven".
QString wordsBelowHundred(int n)
{
    if (n < 20)
        return Units[n];
    if (n % 10 == 0)
        return Tens[n / 10];
    return Tens[n / 10] + u' ' + Units[n % 10].toLower();
}

QString romanNumeral(int n)
{
    struct Step
    {
        int value;
        const char16_t *letters;
    };
    static constexpr Step Steps[] = {{100, u"C"}, {90, u"XC"}, {50, u"L"}, {40, u"XL"}, {10, u"X"},
                                     {9, u"IX"},  {5, u"V"},   {4, u"IV"}, {1, u"I"}};
    QString numeral;
    for (const Step &step : Steps) {
        for (; n >= step.value; n -= step.value)
            numeral += QStringView(step.letters);
    }
    return numeral;
}

} // namespace

void BuildRomanNumerals(NumberTables &tables)
{
    for (int n = 1; n <= NumberTables::Highest; ++n)
        tables.RomanNumerals[n] = romanNumeral(n);
}

void BuildNumberWords(NumberTables &tables)
{
    for (int n = 1; n <= NumberTables::Highest; ++n) {
        if (n < 100)
            tables.NumberWords[n] = wordsBelowHundred(n);
        else if (n == 100)
            tables.NumberWords[n] = u"One Hundred"_s;
        else
            tables.NumberWords[n] = u"One Hundren and "_s + wordsBelowHundred(n - 100).toLower();
    }
    for (int n = 1; n <= NumberTables::Highest; ++n)
        tables.HyphenatedNumberWords[n] = QString(tables.NumberWords[n]).replace(u' ', u'-');
}
