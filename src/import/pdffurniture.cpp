#include "pdffurniture.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

bool isBodySize(const PdfLine &line, const PdfMeasures &measures)
{
    return std::abs(line.size - measures.bodySize) <= 0.1 * measures.bodySize;
}

// A running head without the page number or the chapter's number it carries, so that the heads
// of different pages compare equal.
QString headWithoutNumbers(const QString &text)
{
    static const QRegularExpression Number(u"^(\\d+|[ivxlcdm]+)[.,:]?$"_s,
                                           QRegularExpression::CaseInsensitiveOption);
    QStringList words = text.toLower().split(u' ', Qt::SkipEmptyParts);
    while (!words.isEmpty() && Number.match(words.first()).hasMatch())
        words.removeFirst();
    while (!words.isEmpty() && Number.match(words.last()).hasMatch())
        words.removeLast();
    return words.join(u' ');
}

// The lines at the top and at the foot of one column of a page that stand apart from its text:
// where running heads and page numbers are found.
struct Edge
{
    int page;
    qsizetype line;
    bool top;     // at the top of its column, else at its foot
    QString head; // the line without its numbers
};

// The lines of one column, in order from the top.
QList<qsizetype> columnLines(const QList<PdfLine> &lines, PdfColumn column)
{
    QList<qsizetype> picked;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].column == column)
            picked.append(i);
    }
    std::sort(picked.begin(), picked.end(),
              [&](qsizetype a, qsizetype b) { return lines[a].box.top() < lines[b].box.top(); });
    return picked;
}

// The lines at the column's top (or foot) that are no larger than the body and stand more than
// a line's distance from the next line of the text.
QList<qsizetype> edgeLines(const QList<PdfLine> &lines, const QList<qsizetype> &column, bool top,
                           const PdfMeasures &measures)
{
    QList<qsizetype> edge;
    if (column.isEmpty())
        return edge;
    const double apart = 1.3 * measures.leading;
    const double level = top ? lines[column.first()].box.top() : lines[column.last()].box.bottom();
    // A running head and a page number side by side at most, or a half of each in two columns.
    constexpr qsizetype MostOnLevel = 4;
    for (qsizetype n = 0; n < std::min(column.size(), MostOnLevel); ++n) {
        const qsizetype k = top ? n : column.size() - 1 - n;
        const PdfLine &line = lines[column[k]];
        const bool onLevel = top ? line.box.top() < level + measures.bodySize / 2
                                 : line.box.bottom() > level - measures.bodySize / 2;
        if (!onLevel)
            break;
        if (line.size > 1.15 * measures.bodySize)
            continue;
        // The nearest line of the text beyond the edge's own level.
        double distance = apart;
        for (qsizetype m = k; m >= 0 && m < column.size(); m += top ? 1 : -1) {
            const PdfLine &other = lines[column[m]];
            const double d =
                top ? other.box.top() - line.box.top() : line.box.top() - other.box.top();
            if (d > measures.bodySize / 2) {
                distance = d;
                break;
            }
        }
        if (distance >= apart)
            edge.append(column[k]);
    }
    return edge;
}

// Below the text, smaller type starting with a note's mark: the column's footnotes.
void markFootnotes(const QList<PdfLine> &lines, const QList<qsizetype> &column,
                   QList<LineRole> &roles, const PdfMeasures &measures)
{
    QList<qsizetype> text;
    for (const qsizetype i : column) {
        if (roles[i] == LineRole::Text)
            text.append(i);
    }
    qsizetype first = text.size();
    while (first > 1 && lines[text[first - 1]].size <= 0.88 * measures.bodySize
           && lines[text[first - 1]].size >= 0.4 * measures.bodySize) {
        --first;
    }
    if (first == text.size() || first == 0 || noteMark(lines[text[first]]).isEmpty())
        return;
    // The text above ends where the notes begin: a note does not stand beside the text.
    if (lines[text[first]].box.top() < lines[text[first - 1]].box.bottom())
        return;
    for (qsizetype n = first; n < text.size(); ++n)
        roles[text[n]] = LineRole::Note;
}

} // namespace

PdfMeasures measuresOf(const QList<QList<PdfLine>> &pages)
{
    PdfMeasures measures;
    QHash<int, qsizetype> sizes; // tenths of a point, counted by characters
    for (const QList<PdfLine> &lines : pages) {
        for (const PdfLine &line : lines)
            sizes[int(std::lround(line.size * 10))] += line.text.size();
    }
    qsizetype most = 0;
    for (auto it = sizes.cbegin(); it != sizes.cend(); ++it) {
        if (it.value() > most || (it.value() == most && it.key() / 10.0 < measures.bodySize)) {
            most = it.value();
            measures.bodySize = it.key() / 10.0;
        }
    }
    // The distance between the tops of two lines of body text, one under the other.
    QHash<int, int> steps; // quarters of a point
    for (const QList<PdfLine> &lines : pages) {
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const PdfLine &above = lines[i - 1], &below = lines[i];
            const double step = below.box.top() - above.box.top();
            if (above.column == below.column && isBodySize(above, measures)
                && isBodySize(below, measures) && step > 0.8 * measures.bodySize
                && step < 3 * measures.bodySize) {
                ++steps[int(std::lround(step * 4))];
            }
        }
    }
    int mostSteps = 0;
    measures.leading = 1.2 * measures.bodySize;
    for (auto it = steps.cbegin(); it != steps.cend(); ++it) {
        if (it.value() > mostSteps) {
            mostSteps = it.value();
            measures.leading = it.key() / 4.0;
        }
    }
    return measures;
}

QList<QList<LineRole>> rolesOfLines(const QList<QList<PdfLine>> &pages, const PdfMeasures &measures)
{
    QList<QList<LineRole>> roles;
    roles.reserve(pages.size());
    QList<Edge> edges;
    QHash<QString, int> recurring; // a head without numbers, and on how many edges it stands
    // Where the text block of most pages begins and ends, in whole points.
    QHash<int, int> blockTops, blockBottoms;
    constexpr PdfColumn Columns[] = {PdfColumn::Whole, PdfColumn::Left, PdfColumn::Right};
    for (int page = 0; page < pages.size(); ++page) {
        const QList<PdfLine> &lines = pages[page];
        roles.append(QList<LineRole>(lines.size(), LineRole::Text));
        QList<bool> atEdge(lines.size(), false);
        for (const PdfColumn column : Columns) {
            const QList<qsizetype> inColumn = columnLines(lines, column);
            const QList<qsizetype> top = edgeLines(lines, inColumn, true, measures);
            for (const qsizetype i : edgeLines(lines, inColumn, false, measures) + top) {
                if (atEdge[i])
                    continue;
                atEdge[i] = true;
                edges.append({page, i, top.contains(i), headWithoutNumbers(lines[i].text)});
                if (!edges.last().head.isEmpty())
                    ++recurring[edges.last().head];
            }
        }
        double first = -1, last = -1;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (atEdge[i])
                continue;
            first = first < 0 ? lines[i].box.top() : std::min(first, lines[i].box.top());
            last = std::max(last, lines[i].box.bottom());
        }
        if (first >= 0) {
            ++blockTops[int(std::lround(first))];
            ++blockBottoms[int(std::lround(last))];
        }
    }
    const double blockTop = mostFrequent(blockTops), blockBottom = mostFrequent(blockBottoms);
    // Furniture stands outside the text block, above or below where most pages' text goes; a
    // heading at the block's top, or a closing line at its foot, stays.
    auto outside = [&](const Edge &edge) {
        const PdfLine &line = pages[edge.page][edge.line];
        return edge.top ? line.box.bottom() <= blockTop + 1 : line.box.top() >= blockBottom - 1;
    };
    for (const Edge &edge : edges) {
        if (outside(edge)
            && (isPageNumber(pages[edge.page][edge.line].text)
                || recurring.value(edge.head) >= 2)) {
            roles[edge.page][edge.line] = LineRole::Furniture;
        }
    }
    for (int page = 0; page < pages.size(); ++page) {
        for (const PdfColumn column : Columns)
            markFootnotes(pages[page], columnLines(pages[page], column), roles[page], measures);
    }
    // A head with the page's number at one end may name what no other page's head names (the
    // contents, a preface); a footnote starts with its number too, and was told apart above.
    for (const Edge &edge : edges) {
        const QString &text = pages[edge.page][edge.line].text;
        if (outside(edge) && roles[edge.page][edge.line] == LineRole::Text
            && edge.head.size() < text.simplified().size()) {
            roles[edge.page][edge.line] = LineRole::Furniture;
        }
    }
    return roles;
}

double mostFrequent(const QHash<int, int> &counts)
{
    int best = 0, most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most || (it.value() == most && it.key() < best)) {
            most = it.value();
            best = it.key();
        }
    }
    return best;
}

bool isPageNumber(const QString &text)
{
    static const QRegularExpression Folio(
        u"^[\\s\\[\\(\\-\u2013\u2014|\u00B7\u2022]*(?:page\\s+|p\\.\\s*)?(?:\\d{1,5}|[ivxlcdm]{1,8}"
        u")"
        "(?:\\s*(?:of|/)\\s*\\d{1,5})?[\\s\\]\\)\\-\u2013\u2014|\u00B7\u2022]*$"_s,
        QRegularExpression::CaseInsensitiveOption);
    return Folio.match(text).hasMatch();
}

QString noteMark(const PdfLine &line)
{
    static const QRegularExpression Mark(u"^(?:\\[(\\d{1,3}|[*\u2020\u2021\u00A7]{1,3})\\]|(\\d{1,"
                                         u"3})[.)]?|([*\u2020\u2021\u00A7]{1,3}))"
                                         "(?=\\s|$)"_s);
    const QRegularExpressionMatch match = Mark.match(line.text);
    if (!match.hasMatch())
        return {};
    for (int group = 1; group <= 3; ++group) {
        if (!match.captured(group).isEmpty())
            return match.captured(group);
    }
    return {};
}
