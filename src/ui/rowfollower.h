#pragma once

#include "chapters/chaptertable.h"

#include <QObject>

#include <vector>

class QTextDocument;

// Keeps the chapter rows on their headings while the user types, pastes, deletes, undoes and
// redoes in the main editor. Every change of the document moves the rows after it by what it
// added and removed, counted as the book file counts (a line break is CR LF). A row whose
// heading the user deleted stays where the deletion was; undoing that deletion puts it back on
// its heading. Blank lines put in right at a row (Enter at the start of a heading line) move the
// row down with its heading.
class RowFollower : public QObject
{
    Q_OBJECT

public:
    explicit RowFollower(QTextDocument *document);

    // While one lives, the document's changes move no row: the caller puts the whole text in and
    // sets the rows itself.
    class Pause
    {
    public:
        explicit Pause(RowFollower &follower);
        ~Pause();
        Pause(const Pause &) = delete;
        Pause &operator=(const Pause &) = delete;

    private:
        RowFollower &m_follower;
    };

    // The next change of the document is an undo or redo of a whole step whose rows were set
    // already; it moves no row.
    void skipNextChange() { m_skipNext = true; }

private:
    // Rows a deletion gathered at its start, with where each stood inside the deleted text.
    struct Gathered
    {
        qsizetype at = 0;
        qsizetype removed = 0;
        qsizetype inserted = 0;
        std::vector<std::pair<qsizetype, ChapterEntry>> rows; // row index and row as gathered
        std::vector<qsizetype> into;                          // offset - at before the deletion
    };

    void contentsChange(int position, int charsRemoved, int charsAdded);
    void startOver();

    QTextDocument *m_document;
    int m_blockCount = 1;
    int m_paused = 0;
    bool m_skipNext = false;
    std::vector<Gathered> m_gathered; // the latest deletion last
};
