#include "offsettext.h"

#include <algorithm>
#include <limits>

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

qint32 offsetTextToNumber(QStringView text)
{
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size && (text[i] == u' ' || text[i] == u'\t'))
        ++i;

    bool negative = false;
    if (i < size && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';

    // Saturates well above the 32-bit range; the clamp below brings it back.
    constexpr qint64 Saturated = qint64(1) << 40;
    qint64 magnitude = 0;
    for (; i < size && isDigit(text[i]); ++i)
        magnitude = std::min(Saturated, magnitude * 10 + (text[i].unicode() - u'0'));

    if (i < size && text[i] == u'.' && i + 1 < size && isDigit(text[i + 1])) {
        // Only the first fractional digit and whether anything non-zero follows it decide the
        // rounding.
        const int firstDigit = text[++i].unicode() - u'0';
        bool moreThanFirst = false;
        for (++i; i < size && isDigit(text[i]); ++i)
            moreThanFirst = moreThanFirst || text[i] != u'0';
        const bool roundUp =
            firstDigit > 5 || (firstDigit == 5 && (moreThanFirst || magnitude % 2));
        if (roundUp)
            magnitude = std::min(Saturated, magnitude + 1);
    }

    const qint64 value = negative ? -magnitude : magnitude;
    return qint32(std::clamp<qint64>(value, std::numeric_limits<qint32>::min(),
                                     std::numeric_limits<qint32>::max()));
}

QString offsetWithSignPosition(qint32 offset)
{
    QString text = QString::number(offset);
    if (offset >= 0)
        text.prepend(u' ');
    return text;
}
