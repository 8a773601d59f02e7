#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Book files hold one byte per character in Windows-1252, the code page of the Western systems
// the Vellumite reader was made for. Because each UTF-16 unit becomes exactly one byte, an offset
// in the text is also the byte offset inside the file's text block.
namespace CodePage {

// Characters that Windows-1252 cannot hold; each of their UTF-16 units is stored as "?".
struct Unstorable
{
    qsizetype count = 0; // characters, a surrogate pair counting as one
    char32_t first = 0;  // the first of them, valid when count > 0

    void note(char32_t character);
};

// Whether the code page has a byte for the unit; a surrogate never has one.
bool holds(char16_t unit);

// Every byte maps to one character; the five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the characters of the same value, so any byte string decodes and
// encodes back to itself.
QString decode(QByteArrayView bytes);

// Writes text.size() bytes from out on and returns the end. Units the code page cannot hold
// become "?" and are tallied in unstorable when it is given.
char *encodeInto(QStringView text, char *out, Unstorable *unstorable = nullptr);

QByteArray encode(QStringView text, Unstorable *unstorable = nullptr);

// What the tally means for a user: how many characters became "?" and which was the first.
QString describe(const Unstorable &unstorable);

} // namespace CodePage
