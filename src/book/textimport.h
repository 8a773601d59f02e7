#pragma once

#include "offsetmap.h"
#include "result.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Every line break (CR LF, a lone LF, a lone CR) as CR LF, the form in which the editor hands
// out its text and every offset is counted. Returns the text itself when it needs no change.
// Where moves is given, it records each lone break that became two units.
QString normalizeLineBreaks(const QString &text, OffsetMap *moves = nullptr);

// True when bytes are well-formed UTF-8: shortest forms only, no surrogates, nothing above
// U+10FFFF.
bool isValidUtf8(QByteArrayView bytes);

// UTF-8 bytes as text, invalid sequences as U+FFFD, a leading U+FEFF kept as a character.
QString utf8ToText(QByteArrayView bytes);

// The book text held in the bytes of a .txt file: UTF-8 when the file starts with the UTF-8
// byte-order mark (which is dropped) or is valid UTF-8 throughout, Windows-1252 otherwise;
// line breaks made CR LF.
QString decodeTextFile(QByteArrayView bytes);

// Reads a whole .txt file as the new book text.
Result<QString> importTextFile(const QString &path);
