#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// "Replace": replaces every occurrence of a text in the book, ignoring case, by another as
// typed. The window stays open until Cancel.
class FrmReplace : public QWidget
{
    Q_OBJECT

public:
    FrmReplace();

    QLineEdit *objReplace;
    QPushButton *butCancel;
    QPushButton *butReplace;
    QLineEdit *objFind;
    QLabel *lblFind;
    QLabel *lblReplace;

private:
    void objReplace_KeyPress();
    void butReplace_Click();
    void butCancel_Click();
};
