#pragma once

#include <QString>

// Boxes 0, 1 and 3 of the Text Cleaner written the plain way, as users have always known them:
// each step a replacement repeated until the text stops changing. The fuzz target holds the
// program's one-pass boxes against them.
QString referenceCleanBox(int box, const QString &text);
