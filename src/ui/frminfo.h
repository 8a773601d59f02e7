#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class MultiLineTextBox;
class QPushButton;

// "Book Info": the book's title, author and synopsis. Its three boxes are the book's information
// itself, so the window is only ever hidden, never unloaded, while the program runs.
class FrmInfo : public QWidget
{
    Q_OBJECT

public:
    FrmInfo();

    QLineEdit *objTitle;
    QLineEdit *objAuthor;
    MultiLineTextBox *objSynopsis;
    QPushButton *butOK;
    QLabel *lblTitle;
    QLabel *lblAuthor;
    QLabel *lblSynopsis;

private:
    void butOK_Click();
};
