#pragma once

#include <QList>
#include <QWidget>

#include <memory>
#include <thread>

class LibraryConversion;
struct ConversionResult;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;

// "Convert Books": many books made into book files at once, as the batch tool's convert makes
// them. The user lists books and folders (Add Files, Add Folder, or dropped on the window),
// chooses the output folder and what is done to each book, and starts; the books are made on
// several threads while the window shows the progress, and Cancel stops after the books in
// flight. A row per book tells how it went; a double-click opens a book made in the main window.
class FrmConvert : public QWidget
{
    Q_OBJECT

public:
    FrmConvert();
    ~FrmConvert() override;

    QLabel *lblBooks;
    QListWidget *lstBooks; // the files and folders to convert
    QPushButton *butAddFiles;
    QPushButton *butAddFolder;
    QPushButton *butRemove;
    QLabel *lblOutput;
    QLineEdit *txtOutput;
    QPushButton *butBrowse;
    QList<QCheckBox *> objClean; // the Text Cleaner's boxes, 0 to 7
    QCheckBox *chkFindChapters;
    QCheckBox *chkSort;
    QLabel *lblCodePage;
    QComboBox *cboCodePage; // each book's own code page, or the one chosen for all
    QPushButton *butStart;
    QPushButton *butCancel;
    QProgressBar *prgConvert;
    QLabel *lblCurrent;       // the book being read, then how the conversion went
    QTableWidget *grdResults; // book, status, chapters, message

    // Files and folders added to the list, as Add Files, Add Folder and a drop do; each once.
    void addBooks(const QStringList &paths);

    bool isConverting() const { return m_worker.joinable(); }

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void butAddFiles_Click();
    void butAddFolder_Click();
    void butRemove_Click();
    void butBrowse_Click();
    void butStart_Click();
    void butCancel_Click();
    void grdResults_DblClick(int row);

    // Called on the window's thread as the converting threads report.
    void bookStarted(qsizetype index);
    void bookFinished(qsizetype index, const ConversionResult &result);
    void conversionEnded();
    void showRunning(bool running);

    std::unique_ptr<LibraryConversion> m_conversion;
    std::thread m_worker;
    qsizetype m_done = 0;
};
