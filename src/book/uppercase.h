#pragma once

#include <QString>
#include <QStringView>

// Case-insensitive comparisons (the chapter scan, Find, Replace) compare upper-cased copies. Each
// UTF-16 unit is upper-cased on its own, so the copy has exactly the original's length and a
// position found in it is the same position in the original; QString::toUpper would turn "ß"
// into "SS" and move every later offset.
QString upperCasedPerUnit(QStringView text);
