#include "pdflines.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Points across the largest page a PDF may describe (200 inches), and some.
constexpr double MaxPageSize = 16000;

// The value most of the weight lies around: the weighted median of (value, weight) pairs.
double weightedMedian(QList<std::pair<double, qsizetype>> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    qsizetype total = 0;
    for (const auto &[value, weight] : values)
        total += weight;
    qsizetype seen = 0;
    for (const auto &[value, weight] : values) {
        seen += weight;
        if (2 * seen >= total)
            return value;
    }
    return values.last().first;
}

// The height most of the words' characters stand in.
double typeHeight(const QList<PdfWord> &words, const QList<int> &which)
{
    QList<std::pair<double, qsizetype>> heights;
    heights.reserve(which.size());
    for (const int i : which)
        heights.append({words[i].box.height(), std::max<qsizetype>(1, words[i].text.size())});
    return weightedMedian(heights);
}

// A note's mark as it stands raised after a word: a number or a printer's sign.
bool isNoteMark(QStringView text)
{
    if (text.isEmpty() || text.size() > 3)
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.isDigit() || c == u'*' || c == u'\u2020' || c == u'\u2021' || c == u'\u00A7';
    });
}

// A letter set large at a paragraph's start, an opening quote with it at most.
bool looksLikeCapital(const QString &text)
{
    if (text.isEmpty() || text.size() > 2)
        return false;
    return text.back().isLetter() && (text.size() == 1 || !text.front().isLetterOrNumber());
}

// Drop capitals: a letter two lines or more high standing beside the first of the lines it
// sinks into, with no other word of its size on a level with it (which would make it a word of
// a heading). Each is joined to the word it starts; the returned flags mark the capitals.
QList<bool> joinDropCapitals(QList<PdfWord> &words, double height)
{
    QList<bool> joined(words.size(), false);
    QList<qsizetype> capitals;
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (words[i].box.height() >= 1.8 * height && looksLikeCapital(words[i].text))
            capitals.append(i);
    }
    // A page starts a paragraph or two with a capital; more large letters are a drawing's.
    constexpr qsizetype MostCapitals = 4;
    if (capitals.size() > MostCapitals)
        return joined;
    for (const qsizetype i : capitals) {
        const QRectF cap = words[i].box;
        const bool inHeading = std::any_of(words.begin(), words.end(), [&](const PdfWord &other) {
            return &other != &words[i] && other.box.height() >= 0.7 * cap.height()
                   && std::abs(other.box.center().y() - cap.center().y()) < cap.height() / 2;
        });
        if (inHeading)
            continue;
        qsizetype next = -1;
        for (qsizetype j = 0; j < words.size(); ++j) {
            const QRectF box = words[j].box;
            if (box.height() < 1.3 * height && box.left() >= cap.right() - 1
                && box.left() <= cap.right() + 3 * height
                && std::abs(box.top() - cap.top()) < height
                && (next < 0 || box.left() < words[next].box.left())) {
                next = j;
            }
        }
        if (next < 0)
            continue;
        // "A" and "I" are words of their own when set apart from what follows.
        const bool wordOfItsOwn = (words[i].text == u"A"_s || words[i].text == u"I"_s)
                                  && words[next].box.left() - cap.right() > height / 2;
        words[next].text.prepend(words[i].text + (wordOfItsOwn ? u" "_s : QString()));
        joined[i] = true;
        // The lines beside the capital begin where the paragraph's other lines do, so that they
        // read as lines of the paragraph, not as lines indented.
        const double beside = words[next].box.left();
        for (PdfWord &word : words) {
            const double middle = word.box.center().y();
            if (middle > cap.top() && middle < cap.bottom()
                && std::abs(word.box.left() - beside) < height / 2) {
                word.box.setLeft(cap.left());
            }
        }
    }
    return joined;
}

struct Row
{
    double center = 0, height = 0; // of its tallest word
    QList<int> words;
};

// Words on a level form a row: sorted by their middles, a word joins the row before it when its
// middle lies within half the taller one's height, which takes in raised and lowered marks
// without taking in the next line.
QList<Row> rowsOf(const QList<PdfWord> &words, const QList<int> &which)
{
    QList<int> order = which;
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return words[a].box.center().y() < words[b].box.center().y(); });
    QList<Row> rows;
    for (const int i : order) {
        const QRectF box = words[i].box;
        if (!rows.isEmpty()
            && std::abs(box.center().y() - rows.last().center)
                   <= 0.5 * std::max(box.height(), rows.last().height)) {
            Row &row = rows.last();
            row.words.append(i);
            if (box.height() > row.height) {
                row.height = box.height();
                row.center = box.center().y();
            }
            continue;
        }
        rows.append({box.center().y(), box.height(), {i}});
    }
    return rows;
}

// Where a page divides into two columns (or two pages side by side): an upright strip in the
// middle of the text that the words of nearly every row leave empty, with a good share of the
// text on either side. Nothing when the page is one column.
std::optional<double> columnGap(const QList<PdfWord> &words, const QList<int> &which,
                                qsizetype rowCount, double height)
{
    if (which.isEmpty() || rowCount < 6)
        return std::nullopt;
    double left = words[which.first()].box.left(), right = words[which.first()].box.right();
    for (const int i : which) {
        left = std::min(left, words[i].box.left());
        right = std::max(right, words[i].box.right());
    }
    const double width = right - left;
    // No page is wider than a few metres; a column is many letters wide.
    if (width < 12 * height || width > MaxPageSize)
        return std::nullopt;
    // How many words cover each point across the text, counted by a difference array.
    const qsizetype bins = qsizetype(std::ceil(width)) + 2;
    QList<int> cover(bins + 1, 0);
    for (const int i : which) {
        const qsizetype from = qsizetype(words[i].box.left() - left);
        const qsizetype to = qsizetype(std::ceil(words[i].box.right() - left));
        cover[std::clamp<qsizetype>(from, 0, bins)] += 1;
        cover[std::clamp<qsizetype>(to + 1, 0, bins)] -= 1;
    }
    for (qsizetype x = 1; x <= bins; ++x)
        cover[x] += cover[x - 1];
    // A title or a caption across both columns may cross the strip.
    const int crossings = int(rowCount / 20);
    qsizetype bestStart = -1, bestLength = 0, runStart = -1;
    const qsizetype from = qsizetype(0.3 * width), to = qsizetype(0.7 * width);
    for (qsizetype x = from; x <= to + 1; ++x) {
        const bool open = x <= to && cover[x] <= crossings;
        if (open && runStart < 0)
            runStart = x;
        if (!open && runStart >= 0) {
            if (x - runStart > bestLength) {
                bestLength = x - runStart;
                bestStart = runStart;
            }
            runStart = -1;
        }
    }
    if (bestStart < 0 || bestLength < std::max(6.0, 0.8 * height))
        return std::nullopt;
    const double gap = left + double(bestStart) + double(bestLength) / 2;
    qsizetype leftCharacters = 0, rightCharacters = 0;
    for (const int i : which) {
        if (words[i].box.right() <= gap)
            leftCharacters += words[i].text.size();
        else if (words[i].box.left() >= gap)
            rightCharacters += words[i].text.size();
    }
    const qsizetype all = leftCharacters + rightCharacters;
    if (5 * leftCharacters < all || 5 * rightCharacters < all)
        return std::nullopt;
    return gap;
}

// One line from words in left-to-right order: a space where the words stand apart, a raised
// note number written "[1]" against the word before it, as notes read in the other formats.
PdfLine lineOf(const QList<PdfWord> &words, const QList<int> &which, int page, PdfColumn column)
{
    PdfLine line;
    line.page = page;
    line.column = column;
    line.size = typeHeight(words, which);
    double baseline = words[which.first()].box.bottom();
    for (const int i : which) {
        if (words[i].box.height() >= 0.9 * line.size)
            baseline = std::max(baseline, words[i].box.bottom());
    }
    line.box = words[which.first()].box;
    double previousRight = line.box.left();
    for (const int i : which) {
        const PdfWord &word = words[i];
        const bool raised =
            word.box.height() < 0.85 * line.size && word.box.bottom() < baseline - 0.15 * line.size;
        const bool mark = raised && isNoteMark(word.text);
        if (!line.text.isEmpty() && !mark && word.box.left() - previousRight > 0.12 * line.size)
            line.text += u' ';
        line.text += mark ? u'[' + word.text + u']' : word.text;
        line.box = line.box.united(word.box);
        previousRight = std::max(previousRight, word.box.right());
    }
    return line;
}

} // namespace

QList<PdfLine> linesOfPage(const PdfPage &page, int index)
{
    QList<PdfWord> words = page.words;
    QList<int> all(words.size());
    std::iota(all.begin(), all.end(), 0);
    const double height = typeHeight(words, all);
    const QList<bool> capitals = joinDropCapitals(words, height);
    QList<int> placed;
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (!capitals[i] && !words[i].text.trimmed().isEmpty())
            placed.append(int(i));
    }
    QList<Row> rows = rowsOf(words, placed);
    const std::optional<double> gap = columnGap(words, placed, rows.size(), height);

    // The rows top to bottom; between two rows that cross the gap, the left column's lines come
    // before the right one's.
    QList<PdfLine> lines, leftLines, rightLines;
    auto flushColumns = [&] {
        lines += leftLines;
        lines += rightLines;
        leftLines.clear();
        rightLines.clear();
    };
    for (Row &row : rows) {
        std::sort(row.words.begin(), row.words.end(),
                  [&](int a, int b) { return words[a].box.left() < words[b].box.left(); });
        if (!gap) {
            lines.append(lineOf(words, row.words, index, PdfColumn::Whole));
            continue;
        }
        QList<int> left, right;
        bool crossing = false;
        for (const int i : row.words) {
            if (words[i].box.right() <= *gap)
                left.append(i);
            else if (words[i].box.left() >= *gap)
                right.append(i);
            else
                crossing = true;
        }
        // A row whose words on either side of the gap stand no further apart than words do is
        // one line across both columns.
        if (!crossing && !left.isEmpty() && !right.isEmpty()
            && words[right.first()].box.left() - words[left.last()].box.right() < height) {
            crossing = true;
        }
        if (crossing) {
            flushColumns();
            lines.append(lineOf(words, row.words, index, PdfColumn::Whole));
            continue;
        }
        if (!left.isEmpty())
            leftLines.append(lineOf(words, left, index, PdfColumn::Left));
        if (!right.isEmpty())
            rightLines.append(lineOf(words, right, index, PdfColumn::Right));
    }
    flushColumns();
    return lines;
}
