#pragma once

#include <QList>
#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

// "Cleaner": eight clean-up boxes run over the whole book text at once. It holds nothing of the
// book: Clean and Cancel unload it, and every opening starts with all boxes unticked.
class FrmCleaner : public QWidget
{
    Q_OBJECT

public:
    FrmCleaner();

    QLabel *lblCleanerMenu;
    QList<QCheckBox *> objClean; // index 0 to 7; boxes 0 to 5 run in index order, between 6 and 7
    QPushButton *butToggle;
    QPushButton *butCancel;
    QPushButton *butClean;

private:
    void butToggle_Click();
    void butCancel_Click();
    void butClean_Click();
};
