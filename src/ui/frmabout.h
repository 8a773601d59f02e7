#pragma once

#include <QWidget>

class QKeyEvent;
class QLabel;
class QPushButton;

// "About": the program's name, version and icon. It holds nothing of the book; Close, Escape
// and Return unload it.
class FrmAbout : public QWidget
{
    Q_OBJECT

public:
    FrmAbout();

    QLabel *lblTitle;
    QLabel *objLogo;
    QPushButton *butClose;
    QLabel *lblVersion;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void butClose_Click();
};
