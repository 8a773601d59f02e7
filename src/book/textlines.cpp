#include "textlines.h"


QList<TextLine> splitTextLines(QStringView text)
{
    QList<TextLine> lines;
    lines.reserve(text.size() / 40 + 1);
    qsizetype start = 0;
    for (;;) {
        // Qt's vectorised search finds the next LF; a lone CR before it ends the line sooner.
        qsizetype at = text.indexOf(u'\n', start);
        const qsizetype end = at < 0 ? text.size() : at;
        const qsizetype cr = text.sliced(start, end - start).indexOf(u'\r');
        if (cr >= 0)
            at = start + cr;
        if (at < 0) {
            lines.append({start, text.size()});
            return lines;
        }
        lines.append({start, at});
        start = at + 1;
        if (text[at] == u'\r' && start < text.size() && text[start] == u'\n')
            ++start;
    }
}
