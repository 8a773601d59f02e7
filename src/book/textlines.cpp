#include "textlines.h"


namespace {

// Whether a CR stands anywhere but before a LF. The book's own text has none, and its lines are
// found by their LFs alone.
bool hasLoneCarriageReturn(QStringView text)
{
    return text.endsWith(u'\r')
           || findPair(text, 0, [](char16_t c, char16_t next) {
                  return (c == u'\r') & (next != u'\n');
              }) >= 0;
}

} // namespace

QList<TextLine> splitTextLines(QStringView text)
{
    QList<TextLine> lines;
    lines.reserve(text.size() / 40 + 1);
    qsizetype start = 0;
    if (!hasLoneCarriageReturn(text)) {
        // Qt's vectorised search finds the next LF; a CR right before it belongs to the break.
        for (;;) {
            const qsizetype at = text.indexOf(u'\n', start);
            if (at < 0) {
                lines.append({start, text.size()});
                return lines;
            }
            lines.append({start, at > start && text[at - 1] == u'\r' ? at - 1 : at});
            start = at + 1;
        }
    }
    for (;;) {
        // The next LF, or a CR before it, ends the line.
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
