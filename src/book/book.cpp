#include "book.h"

#include <algorithm>

bool isMissingTitle(QStringView title)
{
    return std::all_of(title.begin(), title.end(), [](QChar c) { return c == u' '; });
}
