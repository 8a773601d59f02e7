#pragma once

#include "book/book.h"

#include <QList>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;

// "Chapters": the chapter table, held in two parallel lists (row i of both is one chapter), and
// the offset box that the main window keeps at the caret's offset. The lists are the table
// itself, so the window is only ever hidden, never unloaded, while the program runs.
class FrmChapters : public QWidget
{
    Q_OBJECT

public:
    FrmChapters();

    QList<ChapterEntry> chapterRows() const;
    // Replaces both lists at once, the title list first.
    void setChapterRows(const QList<ChapterEntry> &rows);

    QLineEdit *objChapterOffset;
    QListWidget *lstChapterTitle;
    QListWidget *lstChapterOffset;
    QPushButton *butHide;

private:
    void butHide_Click();
};
