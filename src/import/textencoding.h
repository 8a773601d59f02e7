#pragma once

#include <QByteArrayView>
#include <QString>

// The text of a text file in whatever encoding it was written: a byte-order mark decides
// (UTF-8, UTF-16 and UTF-32 in either byte order); else text that is valid UTF-8 is UTF-8;
// else the encoding ICU's detector is confident of (ISO-8859-1 read as Windows-1252, which
// writes the same letters and more); else Windows-1252. Line breaks become CR LF.
struct DecodedText
{
    QString text;
    // The encoding's name when it was neither UTF-8 nor Windows-1252 ("UTF-16LE",
    // "windows-1251", "Shift_JIS"), for the user to be told; empty otherwise.
    QString encoding;
};

DecodedText decodeAnyText(QByteArrayView bytes);

// Whether bytes are plainly no text: control characters throughout (beyond what a text in an
// encoding of two or four bytes per character holds), as in an image or a program.
bool looksBinary(QByteArrayView bytes);
