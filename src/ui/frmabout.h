#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// "About": the program's name and icon. It holds nothing of the book; Close unloads it.
class FrmAbout : public QWidget
{
    Q_OBJECT

public:
    FrmAbout();

    QLabel *lblTitle;
    QLabel *objLogo;
    QPushButton *butClose;

private:
    void butClose_Click();
};
