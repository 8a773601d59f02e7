#pragma once

#include "chapters/headingdetector.h"

#include <QList>
#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;

// "Found Chapters": what the heading detector found, for the user to review before it enters the
// chapter table. Every row starts ticked; a title can be edited; a double-click shows the heading
// in the book. The keyboard reaches all of it: the table is one Tab stop, Return adds, Escape
// cancels. It holds nothing of the book: Add Chapters and Cancel unload it.
class FrmFoundChapters : public QWidget
{
    Q_OBJECT

public:
    FrmFoundChapters();

    // Fills the list with the headings, one row each, in text order: ticked, or unticked and
    // marked where inTable says the chapter table already points at the heading's line.
    void showHeadings(const QList<FoundHeading> &headings, const QList<bool> &inTable);

    QLabel *lblFoundChapters;
    QTableWidget *lstFoundChapters; // columns: level (with the tick), title, offset, line
    QPushButton *butAddChapters;
    QPushButton *butCancel;
    QPushButton *butTickAll;
    QPushButton *butUntickAll;
    QLabel *lblFoundCount;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void tickAll(Qt::CheckState state);
    void showCount();
    void lstFoundChapters_DblClick(int row);
    void butAddChapters_Click();
    void butCancel_Click();
};
