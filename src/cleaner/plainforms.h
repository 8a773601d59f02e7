#pragma once

#include <QString>

#include <optional>

// How a character that ICU's transforms leave as it is can still be written in plain letters,
// digits and punctuation, as a reader would type it on a keyboard without it: "≤" as "<=", "→"
// as "->", "【" as "[", a box-drawing corner as "+", "⓬" as "12". Most forms come from the
// character's Unicode properties (every space a space, every dash "-", every number its digits,
// invisible format characters nothing) or its name (arrows by their direction, box drawing by
// its strokes, brackets by their shape); a short table gives the signs neither reaches.
//
// No form (nullopt) for a character that has none: an emoji, a private-use character, a letter
// of a script ICU cannot write in Latin.
std::optional<QString> plainForm(char32_t character);
