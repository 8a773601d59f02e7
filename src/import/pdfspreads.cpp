#include "pdfspreads.h"

#include "chapters/numbertables.h"

#include <QRegularExpression>

#include <algorithm>
#include <numeric>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// A page's number as its furniture carries it: Roman numerals count before Arabic ones.
struct PageNumber
{
    bool arabic = false;
    int value = 0;
    auto operator<=>(const PageNumber &) const = default;
};

std::optional<PageNumber> numberIn(const QString &line)
{
    static const QRegularExpression Arabic(u"^\\d{1,5}$"_s);
    static const QRegularExpression Roman(u"^[ivxlc]{1,8}$"_s);
    const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
    for (const QString &word : {words.value(0), words.value(words.size() - 1)}) {
        if (Arabic.match(word).hasMatch())
            return PageNumber{true, word.toInt()};
        if (Roman.match(word).hasMatch()) {
            if (const int value = romanNumeralValue(word.toUpper()))
                return PageNumber{false, value};
        }
    }
    return std::nullopt;
}

} // namespace

QList<PdfPage> bookPagesOf(const PdfPage &sheet)
{
    const double middle = sheet.size.width() / 2;
    const bool crossed =
        std::any_of(sheet.words.begin(), sheet.words.end(), [&](const PdfWord &word) {
            return word.box.left() < middle + 2 && word.box.right() > middle - 2;
        });
    if (sheet.size.width() <= sheet.size.height() || sheet.words.isEmpty() || crossed)
        return {sheet};
    PdfPage left, right;
    left.size = right.size = QSizeF(middle, sheet.size.height());
    for (const PdfWord &word : sheet.words) {
        if (word.box.right() <= middle)
            left.words.append(word);
        else
            right.words.append({word.text, word.box.translated(-middle, 0)});
    }
    return {left, right};
}

QList<int> orderByPageNumbers(const QList<QList<PdfLine>> &pages,
                              const QList<QList<bool>> &isFurniture)
{
    QList<std::optional<PageNumber>> numbers;
    qsizetype withText = 0, numbered = 0;
    for (qsizetype page = 0; page < pages.size(); ++page) {
        std::optional<PageNumber> number;
        for (qsizetype i = 0; i < pages[page].size() && !number; ++i) {
            if (isFurniture[page][i])
                number = numberIn(pages[page][i].text);
        }
        numbers.append(number);
        withText += pages[page].isEmpty() ? 0 : 1;
        numbered += number ? 1 : 0;
    }
    if (4 * numbered < 3 * withText)
        return {};
    QList<int> order(pages.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (numbers[a].has_value() != numbers[b].has_value())
            return !numbers[a].has_value();
        return numbers[a] && *numbers[a] < *numbers[b];
    });
    for (qsizetype i = 1; i < order.size(); ++i) {
        if (numbers[order[i]] && numbers[order[i]] == numbers[order[i - 1]])
            return {};
    }
    return order;
}
