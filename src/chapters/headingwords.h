#pragma once

// The words headings are made of, in the languages books come in: the section words that open a
// numbered heading, the words of front and back matter, and the ordinals other languages number
// with ("Erstes Kapitel", "CHAPITRE PREMIER", "Capítulo primero"). Words are compared upper-cased
// and without accents (see foldedForHeadings), so "SCÈNE", "Scène" and "SCENE" are one word.

#include "headingdetector.h"
#include "numbertables.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <span>

struct HeadingWord
{
    QStringView word; // upper case, without accents
    HeadingLevel level;
};

// The words that open a numbered heading, longest first where one starts another.
std::span<const HeadingWord> sectionWords();

// Front and back matter, standing alone or with a title.
std::span<const HeadingWord> matterWords();

// The line upper-cased unit by unit and with the accents of Latin letters dropped, unit for
// unit, so that its positions are the line's own.
QString foldedForHeadings(QStringView line);

// An ordinal of German, French, Spanish, Italian, Portuguese or Dutch, first to at least
// twentieth, in folded text ("ERSTES", "PREMIERE", "VINGTIEME", "DECIMO TERCERO",
// "ZWEIUNDZWANZIGSTE"), ending at a word boundary.
std::optional<NumberRead> readForeignOrdinal(QStringView folded);
