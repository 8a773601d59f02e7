#pragma once

#include <QString>

#include <array>
#include <optional>

// The chapter numbers 1 to 128 written out three ways, for the headings the chapter scan looks
// for. 128 is the highest chapter number the scan can find in any style.
struct NumberTables
{
    static constexpr int Highest = 128;

    // Slot N holds the number N; slot 0 is never used.
    using Table = std::array<QString, Highest + 1>;

    Table RomanNumerals;         // "I" ... "CXXVIII"
    Table NumberWords;           // "One" ... "One Hundren and twenty eight"
    Table HyphenatedNumberWords; // "One" ... "One-Hundren-and-twenty-eight"
};

// Fills RomanNumerals: upper-case, subtractive only for 4, 9, 40 and 90.
void BuildRomanNumerals(NumberTables &tables);

// Fills NumberWords, then HyphenatedNumberWords (the same with every space a hyphen). The
// numbers above 100 read "One Hundren and ...": that is how readers' books have always been
// scanned, so the spelling stays.
void BuildNumberWords(NumberTables &tables);

// Numbers read back from headings as books write them. Each reader takes upper-cased text
// (see book/uppercase.h), reads from its start and ends at a word boundary.
struct NumberRead
{
    int value = 0;
    qsizetype length = 0; // characters taken
};

// The value of a whole Roman numeral written as the tables write it ("XIV", not "XIIII"),
// 1 to 399; 0 for anything else.
int romanNumeralValue(QStringView upper);

// Cardinal words joined by spaces or hyphens: "SEVEN", "TWENTY-ONE", "FORTY SEVEN",
// "ONE HUNDRED AND TWO".
std::optional<NumberRead> readNumberWords(QStringView upper);

// Ordinal words: "FIRST", "FOURTEENTH", "TWENTIETH", "TWENTY-FIRST".
std::optional<NumberRead> readOrdinalWords(QStringView upper);
