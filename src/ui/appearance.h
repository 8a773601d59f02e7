#pragma once

#include <QFont>
#include <QIcon>

// Leafwright's own 32 x 32 icon, used by every window and shown in About.
QIcon programIcon();

// The windows were designed in MS Sans Serif; where it is missing, a sans serif of about its
// width stands in, so that captions fit their controls.
QFont designFont(qreal pointSize, bool bold = false);
