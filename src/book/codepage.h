#pragma once

#include "offsetmap.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>
#include <span>

// Book files hold one byte per character in a single-byte Windows code page: the one the
// reader's phone is set to, which shows the bytes in its own language. Windows-1252, the code
// page of Western systems, unless the book is in another language. Because each UTF-16 unit
// becomes exactly one byte, an offset in the text is also the byte offset inside the file's text
// block, in every code page.
namespace CodePage {

enum class Id : quint16 {
    Windows874 = 874,   // Thai
    Windows1250 = 1250, // Central European
    Windows1251 = 1251, // Cyrillic
    Windows1252 = 1252, // Western
    Windows1253 = 1253, // Greek
    Windows1254 = 1254, // Turkish
    Windows1255 = 1255, // Hebrew
    Windows1256 = 1256, // Arabic
    Windows1257 = 1257, // Baltic
    Windows1258 = 1258, // Vietnamese
};

inline constexpr Id Western = Id::Windows1252;

// Every code page, in the order a reader looks for their language: by its name.
std::span<const Id> all();

// "windows-1251", as tools and web pages name it.
QString name(Id codePage);
// "Cyrillic (Windows-1251)", as a reader looks for it.
QString title(Id codePage);
// A code page as a user types it: "1251", "windows-1251" or "cp1251", in any case; nothing for
// anything else.
std::optional<Id> parse(QStringView text);

// Characters that the code page cannot hold; each of their UTF-16 units is stored as "?".
struct Unstorable
{
    qsizetype count = 0; // characters, a surrogate pair counting as one
    char32_t first = 0;  // the first of them, valid when count > 0

    void note(char32_t character);
};

// Whether the code page has a byte for the unit; a surrogate never has one.
bool holds(Id codePage, char16_t unit);

// Every byte maps to one character; a byte the code page leaves undefined (in Windows-1252 0x81,
// 0x8D, 0x8F, 0x90 and 0x9D) maps to the character of the same value, so any byte string
// decodes and encodes back to itself.
QString decode(Id codePage, QByteArrayView bytes);

// Writes text.size() bytes from out on and returns the end. Units the code page cannot hold
// become "?" and are tallied in unstorable when it is given.
char *encodeInto(Id codePage, QStringView text, char *out, Unstorable *unstorable = nullptr);

QByteArray encode(Id codePage, QStringView text, Unstorable *unstorable = nullptr);

// How many characters of the text the code page cannot hold, as a save would tally them.
Unstorable unstorableIn(Id codePage, QStringView text);

// What the tally means for a user: how many characters became "?" in which code page, and which
// was the first.
QString describe(Id codePage, const Unstorable &unstorable);

// Some letters a code page holds only as a base letter followed by a combining mark (Windows-1258
// keeps Vietnamese tones apart: "ế" is "ê" and U+0301), so a book in it holds them that way in
// the editor too, one unit a byte. The text with every character the code page lacks but holds
// decomposed so decomposed; moves records where the text grew. Code pages without combining
// marks leave every text as it is.
QString heldForm(Id codePage, const QString &text, OffsetMap *moves = nullptr);

// Whether the code page holds the character, as it is or decomposed as heldForm writes it.
bool holdsLetter(Id codePage, char32_t character);

} // namespace CodePage
