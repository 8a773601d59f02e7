#pragma once

// How the lines of a paragraph join into its text: with a space, or straight on after a word
// broken at a line's end, whose hyphen is kept or dropped as the book's own words decide.

#include <QHash>
#include <QString>

class LineJoiner
{
public:
    // Counts the words of the book's next line, in reading order: how often the book writes each
    // word is what decides. The halves of a word broken at a line's end are left out.
    void countWords(const QString &line);

    // Appends a paragraph's next line to its text.
    void append(QString &text, const QString &line) const;

private:
    bool keepsHyphen(QStringView before, QStringView after) const;

    QHash<QString, int> m_words;
    bool m_broken = false; // the line counted last ended in a broken word
};
