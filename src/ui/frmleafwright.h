#pragma once

#include "commondialog.h"

#include "book/codepage.h"

#include <QMainWindow>

#include <optional>

class BookEditor;
class BookRecovery;

// The editor's size for the main window's outer size (caption, menu bar and borders included),
// both in twips: the outer size less 100 twips of width and 800 of height. A dimension at or
// below that keeps the editor's current size.
QSize editorSizeFor(QSize outerTwips, QSize editorTwips);

class QAction;
class QMenu;

// The main window: the book's text in objBook, and the menus that reach every command and every
// other window.
class FrmLeafwright : public QMainWindow
{
    Q_OBJECT

public:
    FrmLeafwright();

    // Start-up with the program's arguments: joined with single spaces and every double quote
    // removed, they name a book to open; none leaves the document empty.
    void Form_Load(const QStringList &arguments);

    BookEditor *objBook;
    CommonDialog objDialog;

    QMenu *mnuFile;
    QAction *mnuOpen;
    QAction *mnuImport;
    QAction *mnuSaveAs;
    QAction *mnuExportEpub; // the book written as an EPUB book
    QAction *mnuConvert;    // many books made into book files at once
    QMenu *mnuCodePage;     // the code page of the reader's phone, one item checked
    QMenu *mnuRecent; // the last books opened or saved, Alt+1 to Alt+8, and a way to clear them
    QAction *mnuSep01;
    QAction *mnuExit;
    QMenu *mnuEdit;
    QAction *mnuUndo;
    QAction *mnuRedo;
    QMenu *mnuTools;
    QAction *mnuInfo;
    QAction *mnuChapters;
    QAction *mnuCleaner;
    QAction *mnuSep02;
    QAction *mnuFind;
    QAction *mnuFindNext; // F3: the text last searched for, on from the selection
    QAction *mnuReplace;
    QMenu *mnuHelp;
    QAction *mnuAbout;

    // The text Find and Find Next looked for last.
    QString lastSearch() const { return m_lastSearch; }
    void setLastSearch(const QString &text) { m_lastSearch = text; }

    // What a command did, in the status bar below the editor.
    void showStatus(const QString &text);

    // A file dropped on the window: a book file opens, a text file, an EPUB book or a web page
    // imports, as the menu commands do (asking first about unsaved changes); anything else is
    // refused with a message naming it.
    void dropFile(const QString &path);

    // The copy of the changed book that a crash leaves behind.
    BookRecovery &recovery() const { return *m_recovery; }

    // The code page the book is written in, checked in File > Code Page.
    CodePage::Id codePage() const { return m_codePage; }
    void setCodePage(CodePage::Id codePage);

protected:
    bool event(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void mnuOpen_Click();
    void mnuImport_Click();
    void mnuSaveAs_Click();
    void mnuExit_Click();
    void mnuUndo_Click();
    void mnuRedo_Click();
    void mnuInfo_Click();
    void mnuChapters_Click();
    void mnuCleaner_Click();
    void mnuFind_Click();
    void mnuFindNext_Click();
    void mnuReplace_Click();
    void mnuAbout_Click();
    void mnuExportEpub_Click();
    void mnuConvert_Click();
    void mnuCodePage_Click(CodePage::Id codePage);

    // Open of a book file, read in codePage or else in the one its bytes read best in.
    void openBook(const QString &path, std::optional<CodePage::Id> codePage = std::nullopt);
    // Import of a file, read as what its content (or else its name) says it is.
    void importFile(const QString &path);
    // Save As; true once the book is saved.
    bool saveAs();
    // Before the book is closed or replaced: asks whether to save it when it changed. False
    // when the user cancelled, or saving did not succeed.
    bool maySetBookAside();
    void Form_Resize();
    void showRecentBooks();
    void openRecentBook(const QString &path);

    BookRecovery *m_recovery;
    QString m_lastSaveFolder;
    QString m_lastSearch;
    CodePage::Id m_codePage = CodePage::Western;
    void OffsetTracking();
};
