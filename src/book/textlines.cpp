#include "textlines.h"

#include <algorithm>

QList<TextLine> splitTextLines(QStringView text)
{
    QList<TextLine> lines;
    lines.reserve(text.size() / 40 + 1);
    const QChar *const data = text.data();
    const QChar *const end = data + text.size();
    qsizetype start = 0;
    for (;;) {
        // A plain search keeps the scan over the characters tight.
        const QChar *const lineBreak =
            std::find_if(data + start, end, [](QChar c) { return c == u'\n' || c == u'\r'; });
        const qsizetype at = lineBreak - data;
        lines.append({start, at});
        if (lineBreak == end)
            return lines;
        start = at + 1;
        if (*lineBreak == u'\r' && start < text.size() && data[start] == u'\n')
            ++start;
    }
}
