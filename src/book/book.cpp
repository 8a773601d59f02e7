#include "book.h"

#include <algorithm>

QString withoutFill(QStringView field)
{
    qsizetype end = field.size();
    while (end > 0 && field[end - 1] == u' ')
        --end;
    return field.first(end).toString();
}

bool isMissingTitle(QStringView title)
{
    return std::all_of(title.begin(), title.end(), [](QChar c) { return c == u' '; });
}
