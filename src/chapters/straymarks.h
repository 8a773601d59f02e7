#pragma once

// What a heading's line may end in that belongs to no title: a note's mark ("*", "†", "¹",
// "[1]") or a bracket closing what an earlier line opened ("CHAPTER I.]", the end of an
// editor's insertion).

#include <QStringView>

// The line without such marks at its end, nor the spaces before them. A bracket that closes a
// pair opened on the line stays ("Part II (continued)"), and so does a line that would keep no
// letter or digit ("[12]", "* * *").
QStringView withoutStrayMarks(QStringView line);
