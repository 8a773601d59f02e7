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

namespace {

// The word stock above in capitals, and its ordinals; slot N is the number N.
struct UpperWords
{
    std::array<QString, 20> units;        // "ONE" ... "NINETEEN"
    std::array<QString, 10> tens;         // "TWENTY" ... "NINETY" in slots 2 to 9
    std::array<QString, 20> unitOrdinals; // "FIRST" ... "NINETEENTH"
    std::array<QString, 10> tensOrdinals; // "TWENTIETH" ... "NINETIETH"
};

const UpperWords &upperWords()
{
    static const UpperWords words = [] {
        UpperWords w;
        static const char16_t *const irregular[] = {
            nullptr,    u"FIRST",  u"SECOND", u"THIRD", u"FOURTH",   u"FIFTH",  u"SIXTH",
            u"SEVENTH", u"EIGHTH", u"NINTH",  u"TENTH", u"ELEVENTH", u"TWELFTH"};
        for (int n = 1; n < 20; ++n) {
            w.units[n] = Units[n].toUpper();
            w.unitOrdinals[n] = n <= 12 ? QString::fromUtf16(irregular[n]) : w.units[n] + u"TH"_s;
        }
        for (int n = 2; n < 10; ++n) {
            w.tens[n] = Tens[n].toUpper();
            w.tensOrdinals[n] = w.tens[n].chopped(1) + u"IETH"_s; // TWENTY -> TWENTIETH
        }
        return w;
    }();
    return words;
}

bool isLetter(QStringView text, qsizetype at)
{
    return at < text.size() && text[at].isLetter();
}

// The longest word of words[from..to) that text starts with as a whole word; its slot, or 0.
template<std::size_t N>
int matchWord(QStringView text, const std::array<QString, N> &words, int from, int to,
              qsizetype &length)
{
    int best = 0;
    for (int n = from; n < to; ++n) {
        const QString &word = words[n];
        if (word.size() > length && text.startsWith(word) && !isLetter(text, word.size())) {
            best = n;
            length = word.size();
        }
    }
    return best;
}

// A space or a hyphen between two number words.
qsizetype joinerLength(QStringView text)
{
    if (text.startsWith(u'-') || text.startsWith(u' '))
        return 1;
    return 0;
}

// Below one hundred, as cardinals or (ordinal set) with the last word an ordinal.
std::optional<NumberRead> readBelowHundred(QStringView text, bool ordinal)
{
    const UpperWords &w = upperWords();
    qsizetype tensLength = 0;
    if (const int tens = matchWord(text, w.tens, 2, 10, tensLength)) {
        const qsizetype joiner = joinerLength(text.sliced(tensLength));
        if (joiner > 0) {
            qsizetype unitLength = 0;
            const QStringView rest = text.sliced(tensLength + joiner);
            if (const int unit =
                    matchWord(rest, ordinal ? w.unitOrdinals : w.units, 1, 10, unitLength)) {
                return NumberRead{tens * 10 + unit, tensLength + joiner + unitLength};
            }
        }
        if (!ordinal)
            return NumberRead{tens * 10, tensLength};
    }
    if (ordinal) {
        qsizetype length = 0;
        if (const int tens = matchWord(text, w.tensOrdinals, 2, 10, length))
            return NumberRead{tens * 10, length};
    }
    qsizetype length = 0;
    if (const int unit = matchWord(text, ordinal ? w.unitOrdinals : w.units, 1, 20, length))
        return NumberRead{unit, length};
    return std::nullopt;
}

} // namespace

int romanNumeralValue(QStringView upper)
{
    if (upper.isEmpty() || upper.size() > 12)
        return 0;
    int value = 0;
    int previous = 0;
    for (qsizetype at = upper.size(); at-- > 0;) {
        int digit = 0;
        switch (upper[at].unicode()) {
        case u'I':
            digit = 1;
            break;
        case u'V':
            digit = 5;
            break;
        case u'X':
            digit = 10;
            break;
        case u'L':
            digit = 50;
            break;
        case u'C':
            digit = 100;
            break;
        default:
            return 0;
        }
        value += digit < previous ? -digit : digit;
        previous = std::max(previous, digit);
    }
    // Only the form the tables write counts, so that "IIII" or "IC" is no number.
    return value > 0 && value < 400 && romanNumeral(value) == upper ? value : 0;
}

std::optional<NumberRead> readNumberWords(QStringView upper)
{
    std::optional<NumberRead> hundreds;
    {
        const QStringView one = u"ONE";
        const QStringView hundred = u"HUNDRED";
        qsizetype at = 0;
        if (upper.startsWith(one))
            at = one.size() + joinerLength(upper.sliced(one.size()));
        // "HUNDREN" is how the scan's own tables spell the numbers above 100.
        const QStringView after = upper.sliced(at);
        if ((after.startsWith(hundred) || after.startsWith(u"HUNDREN"))
            && !isLetter(upper, at + hundred.size()))
            hundreds = NumberRead{100, at + hundred.size()};
    }
    if (!hundreds)
        return readBelowHundred(upper, false);
    QStringView rest = upper.sliced(hundreds->length);
    qsizetype joined = joinerLength(rest);
    rest = rest.sliced(joined);
    if (joined > 0 && rest.startsWith(u"AND") && !isLetter(rest, 3)) {
        const qsizetype afterAnd = 3 + joinerLength(rest.sliced(3));
        joined += afterAnd;
        rest = rest.sliced(afterAnd);
    }
    if (joined > 0) {
        if (const auto below = readBelowHundred(rest, false))
            return NumberRead{100 + below->value, hundreds->length + joined + below->length};
    }
    return hundreds;
}

std::optional<NumberRead> readOrdinalWords(QStringView upper)
{
    return readBelowHundred(upper, true);
}
