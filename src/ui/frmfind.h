#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// "Find": selects in the main editor where a text first occurs, ignoring case. Every search
// starts again at the beginning of the book; the window stays open until Cancel. Find Next (and
// F3 anywhere in the program) searches on from the selection instead, and wraps to the start.
class FrmFind : public QWidget
{
    Q_OBJECT

public:
    FrmFind();

    QLineEdit *objFind;
    QPushButton *butCancel;
    QPushButton *butFind;
    QLabel *lblFind;
    QPushButton *butFindNext;

private:
    void objFind_KeyPress();
    void butFind_Click();
    void butCancel_Click();
    void butFindNext_Click();
};

// "String not found:", two line breaks and the text as typed: the message of Find and Replace.
QString notFoundMessage(const QString &what);
