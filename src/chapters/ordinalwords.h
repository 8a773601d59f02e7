#pragma once

// The ordinals other languages number their headings with: "Erstes Kapitel", "CHAPITRE
// PREMIER", "Capítulo primero", "ГЛАВА ПЕРВАЯ", "Rozdział dwudziesty pierwszy", "İKİNCİ
// BÖLÜM". Each is read in every gender its language gives it, compared as foldedForHeadings
// writes it, so that case and accents do not matter.

#include "numbertables.h"

#include <QStringView>

#include <optional>

// An ordinal of German, French, Spanish, Italian, Portuguese, Dutch, Russian, Ukrainian,
// Polish, Czech, Greek or Turkish, first to at least twentieth, in folded text ("ERSTES",
// "PREMIERE", "DECIMO TERCERO", "ZWEIUNDZWANZIGSTE", "ДВАДЦАТЬ ПЕРВАЯ", "TRZYDZIESTY DRUGI"),
// ending at a word boundary.
std::optional<NumberRead> readForeignOrdinal(QStringView folded);
