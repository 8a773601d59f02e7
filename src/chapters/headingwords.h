#pragma once

// The words headings are made of, in the languages books come in: the section words that open a
// numbered heading and the words of front and back matter (the ordinals are in ordinalwords.h).
// Words are compared upper-cased and without accents (see foldedForHeadings), so "SCÈNE",
// "Scène" and "SCENE" are one word, as are "ΚΕΦΑΛΑΙΟ" and "Κεφάλαιο".

#include "headingdetector.h"

#include <QString>
#include <QStringView>

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

// The line upper-cased unit by unit and with the accents of its letters dropped (Latin, Greek
// and Cyrillic alike: "Ё" is "Е", "Й" is "И"), unit for unit, so that its positions are the
// line's own.
QString foldedForHeadings(QStringView line);

// Whether a line is a date and nothing more, as a diary heads its entries: "May 3.",
// "Monday, 3rd May 1858", "3 MAI 1858.", a month's and a weekday's names in any language
// the detector reads, full or shortened, with a day of the month.
bool readsAsDate(QStringView line);
