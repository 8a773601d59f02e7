#pragma once

#include "headingdetector.h"

#include <QString>
#include <QStringView>

// What one line says when read as a heading, before its place in the book is weighed: a
// section word with a number, a front or back matter word, a number alone, or a number with a
// title.
struct HeadingLine
{
    enum class Form {
        None,
        ListEntry,     // ends in a page number or dotted leaders: an entry of a list of contents
        Numbered,      // "CHAPTER XII.", "Book the Second--Title", "FIRST EPILOGUE", "Stave One"
        Named,         // "PREFACE", "Translator's Preface", "Epilogue."
        Bare,          // a number alone: "7", "XII."
        NumberedTitle, // a number and a title: "I. THE PERIOD"
        Listed,        // a title alone that the book's contents list names: "Economy"
    };

    Form form = Form::None;
    // The section or matter word in capitals ("CHAPTER", "PREFACE"); for a number without a word
    // "#" (digits) or "#R" (a Roman numeral), with "." added when a title follows.
    QString word;
    int number = 0; // 0 when it carries none
    // Part for the words that divide a book into chapters (Volume, Book, Part, Act), FrontMatter
    // or BackMatter for the matter words, Chapter for the rest.
    HeadingLevel level = HeadingLevel::Chapter;
    bool titled = false; // a title follows on the same line
    // The section word of a part's first section on the same line: "SCENE" in "ACT I. SCENE I."
    QString opens;
    // The word is the book's own, after an ordinal ("Zweites Welttheater"): a heading only where
    // others of the word number on in sequence.
    bool coined = false;

    bool isHeading() const { return form != Form::None && form != Form::ListEntry; }
};

// Reads one line (without its line break).
HeadingLine readHeadingLine(QStringView line);

// Where a page reference after a colon starts in a contents entry ("Preface: vii-xv",
// "Winckelmann: 177-232", "Conclusion: 233-end"): the colon's index, or -1 for a line without.
qsizetype colonPageReference(QStringView line);
