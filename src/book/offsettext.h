#pragma once

#include <QString>
#include <QStringView>

// A chapter's offset lives in the chapter table as text and is read back as a number wherever
// one is needed.

// The number the text starts with: blanks before it skipped, then an optional sign, digits and
// a fraction after a point; whatever follows is ignored, and text that does not start with a
// number reads as 0. A fraction rounds to the nearest whole number, an exact half to the even
// neighbour; values beyond the 32-bit range are held at its ends.
qint32 offsetTextToNumber(QStringView text);

// The form of rows loaded from a book file and added by hand: one blank before a zero or
// positive number (its sign position), a minus sign before a negative one.
QString offsetWithSignPosition(qint32 offset);
