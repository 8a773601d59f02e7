#pragma once

#include <QList>
#include <QStringView>

// Where each line of a text lies. A line ends at CR LF, a lone LF or a lone CR; the book's own
// text always has CR LF.
struct TextLine
{
    qsizetype start; // offset of its first character
    qsizetype end;   // offset of its line break, or of the text's end

    QStringView in(QStringView text) const { return text.sliced(start, end - start); }
};

QList<TextLine> splitTextLines(QStringView text);

// The first place from from on where test(character, next character) holds, or -1. Each block
// of characters is tested whole, with no early way out, which lets the compiler test many at
// once; only the block where the test holds is looked through one by one. For tests that hold
// rarely, in long texts: a plain scan stops at each character.
template<typename Test>
qsizetype findPair(QStringView text, qsizetype from, Test test)
{
    constexpr qsizetype Block = 64;
    const char16_t *characters = text.utf16();
    const qsizetype pairs = text.size() - 1; // places where a pair can start
    qsizetype at = from;
    for (; at + Block <= pairs; at += Block) {
        unsigned found = 0; // a bool here keeps GCC from vectorising the loop
        for (qsizetype i = 0; i < Block; ++i)
            found |= unsigned(test(characters[at + i], characters[at + i + 1]));
        if (found)
            break;
    }
    for (; at < pairs; ++at) {
        if (test(characters[at], characters[at + 1]))
            return at;
    }
    return -1;
}
