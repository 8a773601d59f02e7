#include "uppercase.h"

QString upperCasedPerUnit(QStringView text)
{
    QString upper(text.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(upper.data());
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit < 0x80)
            *out++ = (unit >= u'a' && unit <= u'z') ? char16_t(unit - (u'a' - u'A')) : unit;
        else
            *out++ = c.toUpper().unicode();
    }
    return upper;
}
