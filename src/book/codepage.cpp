#include "codepage.h"

#include <array>
#include <cstring>

using namespace Qt::StringLiterals;

namespace CodePage {
namespace {

// The characters of bytes 0x80 to 0x9F; every other byte is the character of the same value.
constexpr std::array<char16_t, 32> HighControlBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

constexpr std::array<char16_t, 256> makeDecodeTable()
{
    std::array<char16_t, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte)
        table[byte] = char16_t(byte);
    for (unsigned i = 0; i < HighControlBlock.size(); ++i)
        table[0x80 + i] = HighControlBlock[i];
    return table;
}

constexpr std::array<char16_t, 256> DecodeTable = makeDecodeTable();

constexpr char Unrepresentable = '?';

// The byte of each unit that is not its own byte, or 0: the characters of bytes 0x80 to 0x9F,
// which all lie below U+2200. A table, because a book in another script asks for every one of
// its characters.
constexpr std::size_t SpecialUnits = 0x2200;
constexpr std::array<unsigned char, SpecialUnits> SpecialBytes = [] {
    std::array<unsigned char, SpecialUnits> bytes{};
    for (unsigned i = 0; i < HighControlBlock.size(); ++i)
        bytes[HighControlBlock[i]] = static_cast<unsigned char>(0x80 + i);
    return bytes;
}();

// The byte for a unit outside the identity ranges, or -1.
int encodeSpecial(char16_t unit)
{
    return unit < SpecialUnits && SpecialBytes[unit] != 0 ? SpecialBytes[unit] : -1;
}

bool isIdentity(char16_t unit)
{
    return unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF);
}

} // namespace

bool holds(char16_t unit)
{
    return isIdentity(unit) || encodeSpecial(unit) >= 0;
}

void Unstorable::note(char32_t character)
{
    if (count++ == 0)
        first = character;
}

QString decode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (const char byte : bytes)
        *out++ = DecodeTable[static_cast<unsigned char>(byte)];
    return text;
}

char *encodeInto(QStringView text, char *out, Unstorable *unstorable)
{
    const char16_t *units = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        // Most of a book is ASCII: blocks of it are tested and copied whole, in loops of a
        // fixed length that the compiler vectorises.
        constexpr qsizetype Block = 64;
        for (; i + Block <= size; i += Block, out += Block) {
            unsigned all = 0;
            for (qsizetype k = 0; k < Block; ++k)
                all |= units[i + k];
            if (all >= 0x80)
                break;
            char narrowed[Block]; // out may alias units as far as the compiler knows
            for (qsizetype k = 0; k < Block; ++k)
                narrowed[k] = char(units[i + k]);
            std::memcpy(out, narrowed, Block);
        }
        for (; i < size && units[i] < 0x80; ++i)
            *out++ = char(units[i]);
        if (i == size)
            break;
        const char16_t unit = units[i];
        if (isIdentity(unit)) {
            *out++ = char(unit);
            continue;
        }
        if (const int byte = encodeSpecial(unit); byte >= 0) {
            *out++ = char(byte);
            continue;
        }
        *out++ = Unrepresentable;
        const bool pair =
            QChar::isHighSurrogate(unit) && i + 1 < size && QChar::isLowSurrogate(units[i + 1]);
        if (pair) {
            *out++ = Unrepresentable;
            ++i;
        }
        if (unstorable) {
            unstorable->note(pair ? QChar::surrogateToUcs4(unit, units[i]) : char32_t(unit));
        }
    }
    return out;
}

QByteArray encode(QStringView text, Unstorable *unstorable)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    encodeInto(text, bytes.data(), unstorable);
    return bytes;
}

QString describe(const Unstorable &unstorable)
{
    const char32_t first = unstorable.first;
    QString character = u"U+%1"_s.arg(uint(first), 4, 16, QChar(u'0')).toUpper();
    if (QChar::isPrint(first))
        character = u"\"%1\" (%2)"_s.arg(QString::fromUcs4(&first, 1), character);
    return u"%1 %2 cannot be stored in the Windows-1252 code page and %3 saved as \"?\"; the "
           "first is %4"_s.arg(unstorable.count)
               .arg(unstorable.count == 1 ? u"character"_s : u"characters"_s,
                    unstorable.count == 1 ? u"was"_s : u"were"_s, character);
}

} // namespace CodePage
