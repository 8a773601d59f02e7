#pragma once

#include <QByteArrayView>
#include <QString>

// A book made of pieces that the clean-up boxes and replacements work on, with headings that
// none of them touch ("#12#", each once), and a chapter row on each heading: at the start of its
// line where only blanks stand before it, on the heading itself otherwise. Some headings may
// stand in a Gutenberg header or licence. Then the ticked boxes and the replacements run and the
// rows follow the text. Returns what went wrong, or nothing when every row that lost its heading
// was removed and every other row stands on its heading or at the start of the heading's line
// (where a replacement turned the blanks before a heading into text, anywhere between the two).
//
// The recipe's bytes choose everything: the first the boxes (bit i for box i, all eight), the
// second how many replacements, then two bytes per replacement (what and by what, from the
// same pieces), then one byte per piece of text.
QString checkRowsFollowTheirHeadings(QByteArrayView recipe);
