#pragma once

#include "chapters/chaptertable.h"
#include "chapters/numbertables.h"

#include <QList>
#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;

// "Chapters": the chapter table, held in two parallel lists (row i of both is one chapter), the
// offset box that the main window keeps at the caret's offset, and the automatic scan. The lists
// are the table itself, so the window is only ever hidden, never unloaded, while the program runs.
class FrmChapters : public QWidget
{
    Q_OBJECT

public:
    FrmChapters();

    ChapterRows chapterRows() const;
    // Replaces both lists at once, the title list first.
    void setChapterRows(const ChapterRows &rows);
    void appendChapterRows(const ChapterRows &rows);
    // Rewrites the offsets that differ from the list's, row for row (the rows following their
    // text as it is edited).
    void setChapterOffsets(const QStringList &offsets);
    // Appends rows that a review found, as many as the table has room for, as one step that
    // Undo takes back, and says so when some had to be left out.
    void addFoundChapters(ChapterRows rows);

    QLineEdit *objChapterTitle;
    QLineEdit *objChapterOffset;
    QPushButton *butAddChapter;
    QPushButton *butDeleteChapter;
    QListWidget *lstChapterTitle;
    QListWidget *lstChapterOffset;
    QPushButton *objMoveUp;
    QPushButton *objDown;
    QPushButton *objClearChapters;
    QPushButton *objSortChapters;
    QPushButton *objScanChapters;
    QLabel *lblAutoChapterType;
    QList<QRadioButton *> objAutoChapterType; // index 0 to 6, one per heading style
    QCheckBox *objAutoLine;
    QGroupBox *fraStatus;
    QLabel *lblStatus;
    QProgressBar *objProgress;
    QPushButton *butHide;
    QPushButton *butFindChapters;

    // Filled at the start of every scan.
    NumberTables numberTables;

private:
    void butAddChapter_Click();
    void butDeleteChapter_Click();
    void lstChapterTitle_Click();
    void lstChapterOffset_Click();
    void lstChapter_DblClick();
    void objMoveUp_Click();
    void objDown_Click();
    void objSortChapters_Click();
    void objClearChapters_Click();
    void objScanChapters_Click();
    void butHide_Click();
    void butFindChapters_Click();

    int selectedRow() const;
    void selectRow(int row);
    void exchangeRows(int first, int second, const ChapterRows &rows);
    void showTableFull(qsizetype leftOut);

    QButtonGroup *m_styles;
};
