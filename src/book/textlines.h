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
