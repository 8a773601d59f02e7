#include "frmleafwright.h"

#include "appearance.h"
#include "bookeditor.h"
#include "bookhistory.h"
#include "bookrecovery.h"
#include "bookstate.h"
#include "document.h"
#include "frmabout.h"
#include "frmchapters.h"
#include "frmcleaner.h"
#include "frmconvert.h"
#include "frmfind.h"
#include "frminfo.h"
#include "frmreplace.h"
#include "prompts.h"
#include "settings.h"
#include "twips.h"
#include "windows.h"

#include "book/bookfile.h"
#include "book/fileio.h"
#include "chapters/bookedits.h"
#include "chapters/chaptertable.h"
#include "cleaner/textcleaner.h"
#include "convert/epubexport.h"
#include "import/bookformat.h"
#include "import/bookimport.h"
#include "search/textreplace.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

const QString BookFilter = u"Symbian Vellumite File|*.vlm"_s;
// Text files first, as Import has always offered them; then the other formats it reads.
const QString ImportFilter =
    u"Text Files|*.txt|E-books|*.epub;*.fb2;*.fbz;*.fb2.zip;*.mobi;*.azw;*.azw3;*.prc"
    "|Web pages|*.html;*.htm;*.xhtml|Documents|*.docx;*.odt;*.md;*.markdown;*.pdf"
    "|All books|*.txt;*.epub;*.fb2;*.fbz;*.fb2.zip;*.mobi;*.azw;*.azw3;*.prc;*.html;*.htm;"
    "*.xhtml;*.docx;*.odt;*.md;*.markdown;*.pdf"_s;
// Import starts on every format it reads, so no book in the folder is hidden at first.
constexpr int ImportFilterAllBooks = 5;

// What the status bar adds about a book's code page: nothing for a Western book nobody chose.
QString inCodePage(CodePage::Id codePage, bool chosen)
{
    if (codePage == CodePage::Western && !chosen)
        return {};
    return u" in the %1 code page (File > Code Page chooses another)"_s.arg(
        CodePage::title(codePage));
}

} // namespace

FrmLeafwright::FrmLeafwright()
{
    setObjectName(u"frmLeafwright"_s);
    setWindowTitle(u"Symbian Leafwright"_s);

    auto *client = new QWidget(this);
    setCentralWidget(client);
    objBook = new BookEditor(client);
    objBook->setGeometry(toPixels({0, 0, 6255, 4095}));
    objBook->setFont(designFont(8.25));

    struct Item
    {
        QAction *&action;
        const char *name;
        QString caption;
        QKeyCombination shortcut;
        void (FrmLeafwright::*handler)(); // none: present, but its window is not built yet
    };
    struct Menu
    {
        QMenu *&menu;
        const char *name;
        QString caption;
        std::initializer_list<Item> items;
    };
    const Menu menus[] = {
        {mnuFile,
         "mnuFile",
         u"&File"_s,
         {
             {mnuOpen, "mnuOpen", u"&Open"_s, Qt::CTRL | Qt::Key_O, &FrmLeafwright::mnuOpen_Click},
             {mnuImport, "mnuImport", u"&Import"_s, Qt::CTRL | Qt::Key_I,
              &FrmLeafwright::mnuImport_Click},
             {mnuSaveAs, "mnuSaveAs", u"&Save As"_s, Qt::CTRL | Qt::Key_S,
              &FrmLeafwright::mnuSaveAs_Click},
             {mnuExportEpub,
              "mnuExportEpub",
              u"&Export as EPUB..."_s,
              {},
              &FrmLeafwright::mnuExportEpub_Click},
             {mnuConvert,
              "mnuConvert",
              u"&Convert Books..."_s,
              {},
              &FrmLeafwright::mnuConvert_Click},
             {mnuSep01, "mnuSep01", u"-"_s, {}, nullptr},
             {mnuExit, "mnuExit", u"E&xit"_s, {}, &FrmLeafwright::mnuExit_Click},
         }},
        {mnuEdit,
         "mnuEdit",
         u"&Edit"_s,
         {
             {mnuUndo, "mnuUndo", u"&Undo"_s, Qt::CTRL | Qt::Key_Z, &FrmLeafwright::mnuUndo_Click},
             {mnuRedo, "mnuRedo", u"&Redo"_s, Qt::CTRL | Qt::Key_Y, &FrmLeafwright::mnuRedo_Click},
         }},
        {mnuTools,
         "mnuTools",
         u"&Tools"_s,
         {
             {mnuInfo, "mnuInfo", u"&Book Info"_s, Qt::CTRL | Qt::Key_B,
              &FrmLeafwright::mnuInfo_Click},
             {mnuChapters, "mnuChapters", u"Chapter &Editor"_s, Qt::CTRL | Qt::Key_E,
              &FrmLeafwright::mnuChapters_Click},
             {mnuCleaner, "mnuCleaner", u"&Text Cleaner"_s, Qt::CTRL | Qt::Key_T,
              &FrmLeafwright::mnuCleaner_Click},
             {mnuSep02, "mnuSep02", u"-"_s, {}, nullptr},
             {mnuFind, "mnuFind", u"&Find"_s, Qt::CTRL | Qt::Key_F, &FrmLeafwright::mnuFind_Click},
             {mnuFindNext, "mnuFindNext", u"Find &Next"_s, QKeyCombination(Qt::Key_F3),
              &FrmLeafwright::mnuFindNext_Click},
             {mnuReplace, "mnuReplace", u"&Replace"_s, Qt::CTRL | Qt::Key_H,
              &FrmLeafwright::mnuReplace_Click},
         }},
        {mnuHelp,
         "mnuHelp",
         u"Help"_s,
         {
             {mnuAbout, "mnuAbout", u"&About Leafwright"_s, {}, &FrmLeafwright::mnuAbout_Click},
         }},
    };
    for (const Menu &entry : menus) {
        entry.menu = menuBar()->addMenu(entry.caption);
        entry.menu->setObjectName(QString::fromLatin1(entry.name));
        for (const Item &item : entry.items) {
            item.action = item.caption == u"-"_s ? entry.menu->addSeparator()
                                                 : entry.menu->addAction(item.caption);
            item.action->setObjectName(QString::fromLatin1(item.name));
            // The commands work from every window of the program, as its menus are reached
            // from them; a box's own editing keys (Ctrl+Z in a text box) come first.
            if (item.shortcut != QKeyCombination()) {
                item.action->setShortcut(item.shortcut);
                item.action->setShortcutContext(Qt::ApplicationShortcut);
            }
            if (item.handler)
                connect(item.action, &QAction::triggered, this, item.handler);
            else if (!item.action->isSeparator())
                item.action->setEnabled(false);
        }
    }

    // The code page of the reader's phone, named for the reader, then the recent books, between
    // Save As and Exit.
    mnuCodePage = new QMenu(u"Code &Page"_s, mnuFile);
    mnuCodePage->setObjectName(u"mnuCodePage"_s);
    auto *codePages = new QActionGroup(mnuCodePage);
    for (const CodePage::Id codePage : CodePage::all()) {
        QAction *item = mnuCodePage->addAction(CodePage::title(codePage));
        item->setObjectName(u"mnuCodePage_%1"_s.arg(int(codePage)));
        item->setCheckable(true);
        item->setData(int(codePage));
        codePages->addAction(item);
        connect(item, &QAction::triggered, this, [this, codePage] { mnuCodePage_Click(codePage); });
    }
    mnuFile->insertMenu(mnuSep01, mnuCodePage);
    setCodePage(m_codePage);

    mnuRecent = new QMenu(u"Recent &Books"_s, mnuFile);
    mnuRecent->setObjectName(u"mnuRecent"_s);
    mnuFile->insertMenu(mnuSep01, mnuRecent);
    showRecentBooks();
    objDialog.FileName = lastChosenFile();

    mnuUndo->setEnabled(false);
    mnuRedo->setEnabled(false);
    connect(objBook, &BookEditor::undoAvailable, mnuUndo, &QAction::setEnabled);
    connect(objBook, &BookEditor::redoAvailable, mnuRedo, &QAction::setEnabled);
    connect(objBook->document(), &QTextDocument::modificationChanged, this, &bookMayHaveChanged);
    m_recovery = new BookRecovery(this);
    connect(objBook->document(), &QTextDocument::contentsChanged, m_recovery,
            &BookRecovery::scheduleCopy);

    // Files dropped anywhere on the window are books to open or import, not text to insert.
    setAcceptDrops(true);
    objBook->setAcceptDrops(false);

    // The design's client area, below the menu bar and above the status bar.
    statusBar()->setObjectName(u"staStatus"_s);
    resize(toPixels(6270, 4140)
           + QSize(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height()));

    // All six caret notifications run the same update; leaving the focus stands for both the
    // editor losing it and being validated as it goes.
    connect(objBook, &BookEditor::textChanged, this, &FrmLeafwright::OffsetTracking);
    connect(objBook, &BookEditor::clicked, this, &FrmLeafwright::OffsetTracking);
    connect(objBook, &BookEditor::characterKeyPressed, this, &FrmLeafwright::OffsetTracking);
    connect(objBook, &BookEditor::focusGained, this, &FrmLeafwright::OffsetTracking);
    connect(objBook, &BookEditor::focusLost, this, &FrmLeafwright::OffsetTracking);
}

void FrmLeafwright::Form_Load(const QStringList &arguments)
{
    // Work a crash took away comes first; restored, it is the book the window holds.
    if (m_recovery->offerLeftBook())
        return;
    QString path = arguments.join(u' ');
    if (path.isEmpty())
        return;
    path.remove(u'"');
    openBook(path);
}

void FrmLeafwright::openBook(const QString &path, std::optional<CodePage::Id> codePage)
{
    const Result<Book> loaded = LoadBook(path, TextLineBreaks::MadeCrLf, codePage);
    // A book in another format is offered to Import, as what its bytes say it is.
    if (!loaded) {
        // A file that is surely no book file (otherFormatOf names it, or a format of its own
        // shows) and that Import reads.
        const Result<QByteArray> bytes = readWholeFile(path);
        const QString other = bytes ? otherFormatOf(bytes.value()) : QString();
        const BookFormat format =
            bytes ? kindOfBook(path, bytes.value()).format : BookFormat::Refused;
        if (format != BookFormat::Refused && (!other.isEmpty() || format != BookFormat::Text)) {
            if (prompts().askYesNo(u"Open"_s,
                                   u"%1 is %2, not a book file. Import it instead?"_s.arg(
                                       QFileInfo(path).fileName(), formatName(format)))) {
                importFile(path);
            }
            return;
        }
        prompts().showMessage(u"Open"_s,
                              u"The book could not be opened; nothing was changed.\n\n%1"_s.arg(
                                  loaded.error().message()),
                              MessageIcon::Critical);
        return;
    }
    showBook(loaded.value());
    startBookState(path, BookOrigin::BookFile);
    rememberRecentBook(path);
    showRecentBooks();
    showStatus(u"Opened %1%2."_s.arg(QFileInfo(path).fileName(),
                                     inCodePage(loaded.value().codePage, codePage.has_value())));
}

void FrmLeafwright::mnuOpen_Click()
{
    if (!maySetBookAside())
        return;
    objDialog.DialogTitle = u"Open"_s;
    objDialog.Filter = BookFilter;
    objDialog.FilterIndex = 1;
    if (!objDialog.ShowOpen())
        return;
    openBook(objDialog.FileName);
}

void FrmLeafwright::mnuImport_Click()
{
    if (!maySetBookAside())
        return;
    objDialog.DialogTitle = u"Import"_s;
    objDialog.Filter = ImportFilter;
    objDialog.FilterIndex = ImportFilterAllBooks;
    if (!objDialog.ShowOpen())
        return;
    importFile(objDialog.FileName);
}

void FrmLeafwright::importFile(const QString &path)
{
    // The file is read whole before anything of the document changes. A text file brings the
    // text alone; an EPUB book or a web page its information and chapter table as well.
    const Result<ImportedBook> imported = importBook(path);
    // A book file (the one just saved, which the dialog starts with) is offered to Open, as Open
    // offers an EPUB book to Import.
    if (!imported) {
        const Result<QByteArray> bytes = readWholeFile(path);
        if (bytes && kindOfBook(path, bytes.value()).format == BookFormat::BookFile) {
            if (prompts().askYesNo(u"Import"_s, u"%1 is a book file. Open it instead?"_s.arg(
                                                    QFileInfo(path).fileName()))) {
                openBook(path);
            }
            return;
        }
    }
    if (!imported) {
        prompts().showMessage(u"Import"_s,
                              u"The text could not be imported; nothing was changed.\n\n%1"_s.arg(
                                  imported.error().message()),
                              MessageIcon::Critical);
        return;
    }
    showBook(imported.value().book);
    startBookState(path, BookOrigin::Imported);
    QStringList told;
    if (const QString &encoding = imported.value().encoding; !encoding.isEmpty())
        told.append(u"%1 was read as %2 text."_s.arg(QFileInfo(path).fileName(), encoding));
    if (const CodePage::Id codePage = imported.value().book.codePage;
        codePage != CodePage::Western) {
        told.append(u"The book will be saved in the %1 code page (File > Code Page chooses "
                    "another)."_s.arg(CodePage::title(codePage)));
    }
    if (!told.isEmpty())
        showStatus(told.join(u' '));
    if (const QString &problem = imported.value().tableProblem; !problem.isEmpty()) {
        prompts().showMessage(u"Import"_s,
                              u"The book was imported without chapters: %1."_s.arg(problem),
                              MessageIcon::Exclamation);
    }
    if (const QString &warning = imported.value().warning; !warning.isEmpty()) {
        prompts().showMessage(u"Import"_s, u"The book was imported, but %1."_s.arg(warning),
                              MessageIcon::Exclamation);
    }
    if (const qsizetype leftOut = imported.value().chaptersLeftOut; leftOut > 0) {
        prompts().showMessage(u"Import"_s,
                              u"The chapter table holds at most %1 chapters; the last %2 entries "
                              "of the book's table of contents were left out."_s.arg(MaxChapterRows)
                                  .arg(leftOut),
                              MessageIcon::Exclamation);
    }
}

void FrmLeafwright::mnuSaveAs_Click()
{
    saveAs();
}

bool FrmLeafwright::saveAs()
{
    if (isMissingTitle(frmInfo()->objTitle->text())
        && !prompts().askYesNo(u"Missing Title"_s,
                               u"This book has no title. Are you sure you want to save it?"_s)) {
        return false;
    }

    objDialog.DialogTitle = u"Save As"_s;
    objDialog.Filter = BookFilter;
    objDialog.FilterIndex = 1;
    // A name for the book rather than the name of the file it came from.
    const QString proposed = proposedBookName(bookFilePath(), frmInfo()->objTitle->text(),
                                              importedPath(), m_lastSaveFolder);
    if (!proposed.isEmpty())
        objDialog.FileName = proposed;
    if (!objDialog.ShowSave())
        return false;
    objDialog.FileName = withBookExtension(objDialog.FileName);

    // The new book goes to a temporary file that replaces any old one only once it is complete,
    // so the old book is not deleted first.
    objBook->setEnabled(false);
    objBook->Refresh();
    const Result<CodePage::Unstorable> saved = SaveBook(documentBook(), objDialog.FileName);
    objBook->setEnabled(true);
    objBook->Refresh();

    if (!saved) {
        prompts().showMessage(u"Save As"_s,
                              u"The book could not be saved; any earlier file of that name is "
                              "unchanged.\n\n%1"_s.arg(saved.error().message()),
                              MessageIcon::Critical);
        return false;
    }
    startBookState(objDialog.FileName, BookOrigin::BookFile);
    rememberRecentBook(objDialog.FileName);
    showRecentBooks();
    m_lastSaveFolder = QFileInfo(objDialog.FileName).absolutePath();
    showStatus(u"Saved %1%2."_s.arg(QFileInfo(objDialog.FileName).fileName(),
                                    inCodePage(bookCodePage(), false)));
    if (saved.value().count > 0) {
        prompts().showMessage(
            u"Save As"_s,
            u"The book was saved, but %1.\n\n%2"_s.arg(
                CodePage::describe(bookCodePage(), saved.value()), unstorableAdvice()),
            MessageIcon::Exclamation);
    }
    return true;
}

bool FrmLeafwright::maySetBookAside()
{
    if (!bookChanged())
        return true;
    switch (prompts().askSaveChanges(u"Symbian Leafwright"_s, u"Save changes to the book?"_s)) {
    case SaveChoice::Save:
        return saveAs();
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        break;
    }
    return false;
}

void FrmLeafwright::mnuExit_Click()
{
    close();
}

// Typing, Clean, Replace and Add Chapters share the editor's one history.
void FrmLeafwright::mnuUndo_Click()
{
    objBook->undo();
    placeCaretAfterStep();
}

void FrmLeafwright::mnuRedo_Click()
{
    objBook->redo();
    placeCaretAfterStep();
}

void FrmLeafwright::showRecentBooks()
{
    for (QAction *old : mnuRecent->actions()) {
        removeAction(old);
        delete old;
    }
    const QStringList books = recentBooks();
    for (qsizetype i = 0; i < books.size(); ++i) {
        const QString path = books[i];
        QAction *entry =
            mnuRecent->addAction(u"&%1 %2"_s.arg(i + 1).arg(QDir::toNativeSeparators(path)));
        entry->setShortcut(QKeyCombination(Qt::ALT, Qt::Key(Qt::Key_1 + i)));
        // The shortcut works while the menu is closed too.
        addAction(entry);
        connect(entry, &QAction::triggered, this, [this, path] { openRecentBook(path); });
    }
    if (!books.isEmpty())
        mnuRecent->addSeparator();
    QAction *clear = mnuRecent->addAction(u"&Clear Recent Books"_s);
    clear->setEnabled(!books.isEmpty());
    connect(clear, &QAction::triggered, this, [this] {
        clearRecentBooks();
        showRecentBooks();
    });
}

// A book that is gone is named and leaves the list.
void FrmLeafwright::openRecentBook(const QString &path)
{
    if (!QFileInfo(path).isFile()) {
        prompts().showMessage(u"Open"_s,
                              u"%1 no longer exists; it leaves the recent books."_s.arg(
                                  QDir::toNativeSeparators(path)),
                              MessageIcon::Exclamation);
        forgetRecentBook(path);
        showRecentBooks();
        return;
    }
    if (maySetBookAside())
        openBook(path);
}

void FrmLeafwright::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void FrmLeafwright::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    dropFile(urls.first().toLocalFile());
}

void FrmLeafwright::dropFile(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"vlm"_s) {
        if (maySetBookAside())
            openBook(path);
    } else if (isImportedByName(path)) {
        if (maySetBookAside())
            importFile(path);
    } else {
        prompts().showMessage(u"Open"_s,
                              u"%1 is neither a book file nor a book Leafwright can import (a text "
                              "file, an EPUB book or a web page); nothing was changed."_s.arg(
                                  QDir::toNativeSeparators(path)),
                              MessageIcon::Exclamation);
    }
}

void FrmLeafwright::setCodePage(CodePage::Id codePage)
{
    m_codePage = codePage;
    for (QAction *item : mnuCodePage->actions())
        item->setChecked(item->data().toInt() == int(codePage));
}

void FrmLeafwright::mnuCodePage_Click(CodePage::Id codePage)
{
    if (codePage == bookCodePage())
        return;
    // A book opened from a file is that file's bytes, read again in the code page chosen.
    if (!bookFilePath().isEmpty()) {
        if (maySetBookAside())
            openBook(bookFilePath(), codePage);
        setCodePage(m_codePage); // the item clicked is checked again when nothing was read
        return;
    }

    // Any other book is written in the code page chosen; a letter it holds only decomposed is
    // decomposed now, as one step Undo takes back.
    const Book before = currentBook();
    const RecodedBook recoded = BookInCodePage(before, codePage);
    if (recoded.book.text != before.text || fieldsOf(recoded.book) != fieldsOf(before)) {
        commitBookStep(recoded.book.text != before.text ? &recoded.book.text : nullptr,
                       fieldsOf(recoded.book), recoded.moves.map(objBook->SelStart()));
    }
    setBookCodePage(codePage);
    const Book after = currentBook();
    QString fields = after.title + after.author + after.synopsis;
    for (const ChapterEntry &chapter : after.chapters)
        fields += chapter.title;
    const qsizetype unstorable = CodePage::unstorableIn(codePage, fields).count
                                 + CodePage::unstorableIn(codePage, after.text).count;
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    showStatus(u"The book will be saved in the %1 code page, which cannot hold %2 of its "
               "characters."_s.arg(CodePage::title(codePage), english.toString(unstorable)));
}

void FrmLeafwright::showStatus(const QString &text)
{
    statusBar()->showMessage(text.left(1).toUpper() + text.mid(1));
}

void FrmLeafwright::mnuInfo_Click()
{
    showWindow(frmInfo());
}

void FrmLeafwright::mnuChapters_Click()
{
    showWindow(frmChapters());
}

void FrmLeafwright::mnuCleaner_Click()
{
    showWindow(frmCleaner());
}

void FrmLeafwright::mnuFind_Click()
{
    showWindow(frmFind());
}

void FrmLeafwright::mnuFindNext_Click()
{
    const QString what = loadedWindows().find ? frmFind()->objFind->text() : m_lastSearch;
    if (what.isEmpty()) {
        showWindow(frmFind());
        return;
    }
    m_lastSearch = what;
    const NextFound found = findNext(objBook->Text(), what, objBook->SelEnd());
    if (found.at < 0) {
        prompts().showMessage(u"Find"_s, notFoundMessage(what), MessageIcon::Exclamation);
        return;
    }
    objBook->setSelStart(found.at);
    objBook->setSelLength(what.size());
    showStatus(found.wrapped ? u"Find Next went on from the start of the book."_s : QString());
}

void FrmLeafwright::mnuReplace_Click()
{
    showWindow(frmReplace());
}

void FrmLeafwright::mnuAbout_Click()
{
    showWindow(frmAbout());
}

// The book as it stands in the windows, written as an EPUB book for other readers.
void FrmLeafwright::mnuExportEpub_Click()
{
    const QString proposed = proposedBookName(bookFilePath(), frmInfo()->objTitle->text(),
                                              importedPath(), m_lastSaveFolder);
    const std::optional<QString> chosen =
        prompts().chooseFile({FileDialogKind::Save, u"Export as EPUB"_s, u"EPUB books|*.epub"_s,
                              proposed.isEmpty() ? QString() : proposed.chopped(4) + u".epub"_s});
    if (!chosen)
        return;
    QString path = *chosen;
    if (!path.endsWith(u".epub"_s, Qt::CaseInsensitive))
        path += u".epub"_s;
    if (const std::optional<FileError> error = ExportEpub(documentBook(), path)) {
        prompts().showMessage(u"Export as EPUB"_s,
                              u"The EPUB book could not be written; any earlier file of that name "
                              "is unchanged.\n\n%1"_s.arg(error->message()),
                              MessageIcon::Critical);
        return;
    }
    showStatus(u"Exported as %1."_s.arg(QDir::toNativeSeparators(path)));
}

void FrmLeafwright::mnuConvert_Click()
{
    showWindow(frmConvert());
}

// Exit and closing the window end the program the same way: once a changed book is saved or
// the user let it go, the tool windows are unloaded in their order, then this window, and the
// program ends.
void FrmLeafwright::closeEvent(QCloseEvent *event)
{
    if (!maySetBookAside()) {
        event->ignore();
        return;
    }
    rememberWindowPlace(this);
    m_recovery->remove();
    // Unloading moves the focus; the editor must not bring the Chapters window back to life.
    objBook->disconnect(this);
    unloadToolWindows();
    event->accept();
    deleteLater();
    QCoreApplication::quit();
}

bool FrmLeafwright::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Resize();
    return QMainWindow::event(event);
}

void FrmLeafwright::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

QSize editorSizeFor(QSize outerTwips, QSize editorTwips)
{
    constexpr int Borders = 100;
    constexpr int CaptionMenuAndBorders = 800;
    if (outerTwips.width() > Borders)
        editorTwips.setWidth(outerTwips.width() - Borders);
    if (outerTwips.height() > CaptionMenuAndBorders)
        editorTwips.setHeight(outerTwips.height() - CaptionMenuAndBorders);
    return editorTwips;
}

// The editor keeps its top left corner and follows the window's outer size.
void FrmLeafwright::Form_Resize()
{
    // The status bar below the editor is no part of the design's window.
    const QSize outer = frameGeometry().size() - QSize(0, statusBar()->sizeHint().height());
    const QSize editor = objBook->size();
    const QSize fitted =
        editorSizeFor({pixelsToTwips(outer.width()), pixelsToTwips(outer.height())},
                      {pixelsToTwips(editor.width()), pixelsToTwips(editor.height())});
    objBook->setWidth(fitted.width());
    objBook->setHeight(fitted.height());
    update();
}

void FrmLeafwright::OffsetTracking()
{
    frmChapters()->objChapterOffset->setText(QString::number(objBook->SelStart()));
}
