#pragma once

#include "book.h"
#include "codepage.h"

#include <QByteArrayView>
#include <QStringView>

#include <initializer_list>

// A book file does not record its code page, and an imported text has none; these guess it, and
// the user can always choose another.
namespace CodePage {

// For a text: the code page that holds the most of its letters (a letter a code page holds only
// decomposed counts). Windows-1252 unless another holds more than one letter in a thousand more,
// so a Western book that quotes a few words of another script stays Western.
Id guessFromText(std::initializer_list<QStringView> parts);

// The same for a whole book: its text, Book Info and chapter titles.
Id guessFromText(const Book &book);

// For the bytes of a book file: the code page under which they read as the letters of one
// language (ICU's sets of the letters each language writes). Windows-1252 unless another reads
// clearly more of them so: every byte below 0x80 reads alike everywhere, and a Western book's
// curly quotes and accents read as one Western language's.
Id guessFromBytes(std::initializer_list<QByteArrayView> parts);

} // namespace CodePage
