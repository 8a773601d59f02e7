#include "plainforms.h"

#include <unicode/uchar.h>

#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

struct Sign
{
    char32_t character;
    const char16_t *plain;
};

// The signs whose plain form neither their properties nor their names give: mathematical signs
// as they are written in plain text, the marks of Japanese, Chinese, Arabic and Indic
// punctuation, and the dashes and quotes that would otherwise read as another kind.
constexpr auto signs = std::to_array<Sign>({
    {0x02BE, u"'"},        // ʾ, hamza and aleph in transliterated names
    {0x02BF, u"'"},        // ʿ, ayin
    {0x02C0, u"'"},        // ˀ
    {0x02C1, u"'"},        // ˁ
    {0x02CC, u","},        // ˌ
    {0x060C, u","},        // Arabic comma
    {0x061B, u";"},        // Arabic semicolon
    {0x061F, u"?"},        // Arabic question mark
    {0x06D4, u"."},        // Arabic full stop
    {0x0964, u"."},        // danda
    {0x0965, u"."},        // double danda
    {0x0970, u"."},        // Devanagari abbreviation sign
    {0x2017, u"_"},        // ‗
    {0x2027, u"\u00B7"},   // ‧
    {0x2035, u"`"},        // ‵, the primes reversed
    {0x2036, u"``"},       // ‶
    {0x2037, u"```"},      // ‷
    {0x2038, u"^"},        // ‸
    {0x203B, u"*"},        // ※, the reference mark of Japanese and Chinese notes
    {0x203D, u"?!"},       // ‽
    {0x2041, u"^"},        // ⁁
    {0x2042, u"***"},      // ⁂
    {0x2043, u"-"},        // ⁃
    {0x204A, u"&"},        // ⁊
    {0x204F, u";"},        // ⁏
    {0x2053, u"~"},        // ⁓
    {0x205A, u":"},        // ⁚
    {0x211F, u"R"},        // ℟, response
    {0x2123, u"V"},        // ℣, versicle
    {0x212E, u"e"},        // ℮
    {0x214B, u"&"},        // ⅋
    {0x2202, u"d"},        // ∂
    {0x2208, u" in "},     // ∈
    {0x2209, u" not in "}, // ∉
    {0x220F, u"Prod"},     // ∏
    {0x2211, u"Sum"},      // ∑
    {0x2212, u"-"},        // −
    {0x2213, u"-+"},       // ∓
    {0x2216, u"\\"},       // ∖
    {0x2217, u"*"},        // ∗
    {0x2218, u"o"},        // ∘
    {0x2219, u"\u00B7"},   // ∙
    {0x221A, u"sqrt"},     // √
    {0x221E, u"infinity"}, // ∞
    {0x2223, u"|"},        // ∣
    {0x2225, u"||"},       // ∥
    {0x2236, u":"},        // ∶
    {0x2237, u"::"},       // ∷
    {0x223C, u"~"},        // ∼
    {0x2243, u"~="},       // ≃
    {0x2245, u"~="},       // ≅
    {0x2248, u"~"},        // ≈
    {0x2260, u"!="},       // ≠
    {0x2261, u"=="},       // ≡
    {0x22C5, u"\u00B7"},   // ⋅
    {0x22EE, u":"},        // ⋮
    {0x22EF, u"..."},      // ⋯
    {0x25E6, u"o"},        // ◦
    {0x2E3A, u"--"},       // ⸺, a dash two dashes long
    {0x2E3B, u"---"},      // ⸻
    {0x3001, u","},        // 、
    {0x3002, u"."},        // 。
    {0x3003, u"\""},       // 〃, ditto
    {0x301C, u"~"},        // 〜, the wave dash of ranges
    {0x3030, u"~"},        // 〰
    {0x30A0, u"="},        // ゠
    {0x30FB, u"\u00B7"},   // ・
    {0x30FC, u"-"},        // ー, the long vowel mark standing alone
});
static_assert(std::is_sorted(signs.begin(), signs.end(), [](const Sign &a, const Sign &b) {
    return a.character < b.character;
}));

// The words of a character's Unicode name: "RIGHTWARDS", "DOUBLE", "ARROW".
QStringList nameWords(char32_t character)
{
    char name[128];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        u_charName(UChar32(character), U_UNICODE_CHAR_NAME, name, sizeof name, &status);
    if (U_FAILURE(status))
        return {};
    return QString::fromLatin1(name, length).split(u' ', Qt::SkipEmptyParts);
}

bool hasWord(const QStringList &words, QStringView word)
{
    return words.contains(word);
}

bool hasWords(const QStringList &words, QStringView first, QStringView second)
{
    for (qsizetype i = 0; i + 1 < words.size(); ++i) {
        if (words[i] == first && words[i + 1] == second)
            return true;
    }
    return false;
}

// An arrow by the direction its name gives first, its shaft doubled where the arrow is:
// "RIGHTWARDS DOUBLE ARROW" is "=>", "LEFT RIGHT ARROW" "<->", "UPWARDS ARROW" "^".
std::optional<QString> arrow(const QStringList &words)
{
    if (!std::any_of(words.begin(), words.end(), [](const QString &word) {
            return word.startsWith(u"ARROW") || word == u"HARPOON";
        }))
        return {};
    const QString shaft = hasWord(words, u"DOUBLE") || hasWord(words, u"TRIPLE") ? u"="_s : u"-"_s;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString &word = words[i];
        const QString next = i + 1 < words.size() ? words[i + 1] : QString();
        if (word == u"LEFT" && next == u"RIGHT")
            return u'<' + shaft + u'>';
        if (word == u"UP" && next == u"DOWN")
            return u"^v"_s;
        if (word == u"LEFTWARDS" || word == u"LEFT")
            return u'<' + shaft;
        if (word == u"RIGHTWARDS" || word == u"RIGHT")
            return shaft + u'>';
        if (word == u"UPWARDS" || word == u"UP" || word == u"NORTH")
            return u"^"_s;
        if (word == u"DOWNWARDS" || word == u"DOWN" || word == u"SOUTH")
            return u"v"_s;
    }
    return {};
}

// A comparison by its name: "LESS-THAN OR EQUAL TO" is "<=", "MUCH GREATER-THAN" ">>", "NOT
// LESS-THAN" "!<"; one that only differs in how it is drawn is the plain sign.
std::optional<QString> comparison(const QStringList &words)
{
    const bool less = hasWord(words, u"LESS-THAN");
    if (less == hasWord(words, u"GREATER-THAN"))
        return {};
    const QString sign = less ? u"<"_s : u">"_s;
    const bool plain = hasWord(words, u"BUT") || hasWord(words, u"WITH");
    QString form = hasWord(words, u"MUCH") ? sign + sign : sign;
    if (!plain && hasWord(words, u"EQUAL"))
        form += u'=';
    if (!plain && (hasWord(words, u"NOT") || hasWord(words, u"NEITHER")))
        form.prepend(u'!');
    return form;
}

// A line of a box drawn in characters, as "+", "-" and "|" draw it: a line across "-" (a
// double one "="), a line down "|", and every corner, joint and crossing "+".
std::optional<QString> boxDrawing(const QStringList &words)
{
    if (!hasWords(words, u"BOX", u"DRAWINGS"))
        return {};
    if (hasWord(words, u"DIAGONAL")) {
        if (hasWord(words, u"CROSS"))
            return u"X"_s;
        return hasWords(words, u"UPPER", u"RIGHT") ? u"/"_s : u"\\"_s;
    }
    const auto any = [&words](std::initializer_list<QStringView> of) {
        return std::any_of(of.begin(), of.end(),
                           [&words](QStringView word) { return hasWord(words, word); });
    };
    const bool across = any({u"HORIZONTAL", u"LEFT", u"RIGHT"});
    const bool down = any({u"VERTICAL", u"UP", u"DOWN"});
    if (across && down)
        return u"+"_s;
    if (across)
        return hasWords(words, u"DOUBLE", u"HORIZONTAL") ? u"="_s : u"-"_s;
    if (down)
        return u"|"_s;
    return {};
}

// A bracket or quotation mark by its shape, opening or closing as it does.
QString bracket(const QStringList &words, bool opening)
{
    if (hasWord(words, u"QUOTATION") || hasWords(words, u"CORNER", u"BRACKET"))
        return hasWord(words, u"SINGLE") ? u"'"_s : u"\""_s;
    if (hasWord(words, u"ANGLE"))
        return opening ? u"<"_s : u">"_s;
    if (hasWord(words, u"CURLY"))
        return opening ? u"{"_s : u"}"_s;
    if (hasWord(words, u"BRACKET"))
        return opening ? u"["_s : u"]"_s;
    return opening ? u"("_s : u")"_s;
}

// A currency by its name, without the word "SIGN": "₩" is "won", "₽" "ruble".
std::optional<QString> currency(const QStringList &words)
{
    QStringList name = words;
    name.removeAll(u"SIGN"_s);
    if (name.isEmpty())
        return {};
    return name.join(u' ').toLower();
}

// An accent standing alone by the mark a keyboard has for it: "ˊ" is "'", "˜" "~", "¸" ",".
std::optional<QString> accent(const QStringList &words)
{
    static const std::pair<QStringView, QStringView> marks[] = {
        {u"ACUTE", u"'"},     {u"GRAVE", u"`"},  {u"DIAERESIS", u"\""}, {u"CIRCUMFLEX", u"^"},
        {u"TILDE", u"~"},     {u"CEDILLA", u","}, {u"OGONEK", u","},     {u"MACRON", u"-"},
        {u"CARON", u"^"},     {u"BREVE", u"^"},  {u"RING", u"o"},       {u"DOT", u"."},
        {u"APOSTROPHE", u"'"}, {u"PRIME", u"'"},
    };
    for (const auto &[mark, plain] : marks) {
        if (hasWord(words, mark))
            return plain.toString();
    }
    return {};
}

// A shape by its outline: a triangle pointing as an arrow does, a circle "o", a square "[]", a
// diamond "<>", a star "*"; a check mark "v" and a cross of a ballot "x".
std::optional<QString> shape(const QStringList &words)
{
    const auto named = [&words](QStringView part) {
        return std::any_of(words.begin(), words.end(),
                           [part](const QString &word) { return word.startsWith(part); });
    };
    if (named(u"TRIANGLE") || named(u"POINTER")) {
        if (named(u"UP"))
            return u"^"_s;
        if (named(u"DOWN"))
            return u"v"_s;
        if (named(u"LEFT"))
            return u"<"_s;
        return u">"_s;
    }
    if (named(u"STAR") || named(u"FLORETTE") || named(u"FLOWER") || named(u"SPARKLE"))
        return u"*"_s;
    if (named(u"CHECK"))
        return u"v"_s;
    if (hasWord(words, u"X") || named(u"SALTIRE"))
        return u"x"_s;
    if (named(u"CROSS"))
        return u"+"_s;
    if (named(u"CIRCLE"))
        return u"o"_s;
    if (named(u"SQUARE") || named(u"RECTANGLE"))
        return u"[]"_s;
    if (named(u"DIAMOND") || named(u"LOZENGE"))
        return u"<>"_s;
    return {};
}

} // namespace

std::optional<QString> plainForm(char32_t character)
{
    const auto sign = std::lower_bound(
        signs.begin(), signs.end(), character,
        [](const Sign &sign, char32_t character) { return sign.character < character; });
    if (sign != signs.end() && sign->character == character)
        return QString::fromUtf16(sign->plain);

    switch (u_charType(UChar32(character))) {
    case U_SPACE_SEPARATOR:
        return u" "_s;
    case U_LINE_SEPARATOR:
    case U_PARAGRAPH_SEPARATOR:
        return u"\r\n"_s;
    case U_FORMAT_CHAR: // joiners, direction marks, a zero-width space: nothing to see
        return QString();
    case U_DASH_PUNCTUATION:
        return u"-"_s;
    case U_START_PUNCTUATION:
    case U_INITIAL_PUNCTUATION:
        return bracket(nameWords(character), true);
    case U_END_PUNCTUATION:
    case U_FINAL_PUNCTUATION:
        return bracket(nameWords(character), false);
    case U_CURRENCY_SYMBOL:
        return currency(nameWords(character));
    case U_MODIFIER_SYMBOL:
        return accent(nameWords(character));
    case U_DECIMAL_DIGIT_NUMBER:
    case U_LETTER_NUMBER:
    case U_OTHER_NUMBER: {
        // Digits of other scripts, numbers in circles, numerals: their value in digits.
        const double value = u_getNumericValue(UChar32(character));
        if (value >= 0 && value == std::floor(value) && value < 1e9)
            return QString::number(qint64(value));
        return {};
    }
    default:
        break;
    }
    // Blocks and shades, and the black squares that stand for words struck out, are a "#".
    if (ublock_getCode(UChar32(character)) == UBLOCK_BLOCK_ELEMENTS)
        return u"#"_s;
    const QStringList words = nameWords(character);
    if (hasWord(words, u"BLACK") && hasWord(words, u"SQUARE"))
        return u"#"_s;
    if (hasWord(words, u"ASTERISK") || hasWord(words, u"ASTERISKS") || hasWord(words, u"BULLET"))
        return u"*"_s;
    if (std::optional<QString> drawn = boxDrawing(words))
        return drawn;
    if (std::optional<QString> compared = comparison(words))
        return compared;
    if (std::optional<QString> pointed = arrow(words))
        return pointed;
    // Shapes and dingbats drawn as ornaments or marks in lists and tables.
    const UBlockCode block = ublock_getCode(UChar32(character));
    if (block == UBLOCK_GEOMETRIC_SHAPES || block == UBLOCK_DINGBATS
        || block == UBLOCK_MISCELLANEOUS_SYMBOLS || block == UBLOCK_GEOMETRIC_SHAPES_EXTENDED)
        return shape(words);
    return {};
}
