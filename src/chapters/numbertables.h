#pragma once

#include <QString>

#include <array>

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
