#include "uitest.h"

#include "epubfiles.h"
#include "formatfiles.h"

#include "ui/bookeditor.h"
#include "ui/bookstate.h"
#include "ui/document.h"
#include "ui/frmchapters.h"
#include "ui/frminfo.h"
#include "ui/frmleafwright.h"
#include "ui/windows.h"

#include "import/epubimport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Asked = ScriptedPrompts::Asked;

class FileCommands : public UiTest
{
protected:
    QString path(const char *name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    QStringList filesInFolder() const { return QDir(m_dir.path()).entryList(QDir::Files); }
    static FrmLeafwright *window() { return frmLeafwright(); }

    // The batch tool's book of the same text, for comparison.
    QByteArray cliBook(const QString &text, const QString &title)
    {
        EXPECT_EQ(QProcess::execute(
                      QString::fromUtf8(LEAFWRIGHT_CLI),
                      {u"make"_s, path("cli.vlm"), u"--import"_s, text, u"--title"_s, title}),
                  0);
        return readBytes(path("cli.vlm"));
    }

    // A document that a failed command must leave exactly as it is.
    const Book m_kept{u"Kept title"_s, u"Kept author"_s, u"Kept\r\nsynopsis"_s,
                      rows(u"Kept chapter@ 7"_s), u"Kept\r\ntext"_s};
    QTemporaryDir m_dir;
};

TEST_F(FileCommands, OpenReplacesTheWholeDocumentWithTheStoredFields)
{
    writeBytes(path("b.vlm"), header(2, "Title", "Author", "Synopsis") + record(1234, "One")
                                  + record(-2, "Two") + "First\r\nSecond");
    frmChapters()->setChapterRows(rows(u"old@ 1|"_s.repeated(10)));
    m_prompts.files = {std::nullopt, QString(), path("b.vlm")};
    window()->mnuOpen->trigger();
    window()->mnuOpen->trigger();
    EXPECT_EQ(frmChapters()->chapterRows().size(), 10) << "Cancel and an empty name change nothing";
    window()->mnuOpen->trigger();

    // The changed table is let go (Discard) before each Open.
    EXPECT_EQ(m_prompts.asked[0].text, u"Save changes to the book?"_s);
    EXPECT_EQ(m_prompts.asked[1].text, u"Symbian Vellumite File|*.vlm"_s);
    // The boxes and titles hold the fields without their fill spaces.
    EXPECT_EQ(documentBook(), (Book{u"Title"_s, u"Author"_s, u"Synopsis"_s,
                                    rows(u"One@ 1234|Two@-2"_s), u"First\r\nSecond"_s}));
    EXPECT_TRUE(frmInfo()->isHidden());
    EXPECT_TRUE(frmChapters()->isHidden());
    EXPECT_TRUE(m_prompts.messages().isEmpty());
    EXPECT_EQ(window()->windowTitle(), u"b.vlm - Symbian Leafwright"_s);

    // What is typed at their end is saved, padded again as before.
    frmInfo()->objTitle->end(false);
    QTest::keyClicks(frmInfo()->objTitle, u" Two"_s);
    QTest::keyClicks(frmInfo()->objSynopsis, u"!"_s);
    m_prompts.files = {path("typed.vlm")};
    window()->mnuSaveAs->trigger();
    EXPECT_EQ(window()->statusBar()->currentMessage(), u"Saved typed.vlm."_s);
    EXPECT_EQ(readBytes(path("typed.vlm")),
              header(2, "Title Two", "Author", frmInfo()->objSynopsis->Text().toLatin1())
                  + record(1234, "One") + record(-2, "Two") + "First\r\nSecond");
    EXPECT_TRUE(frmInfo()->objSynopsis->Text().contains(u'!'));
}

TEST_F(FileCommands, OpenOrImportOfAFileThatCannotBeReadShowsOneMessageAndChangesNothing)
{
    writeBytes(path("broken.epub"), "PK not an archive");
    showBook(m_kept);
    // Books to open (the empty name is the folder itself), then files to import.
    const QStringList names = writeMalformedBooks(m_dir.path())
                              << u""_s << u"missing.txt"_s << u"broken.epub"_s;
    for (const QString &name : names) {
        const QString file = m_dir.filePath(name);
        QAction *command =
            name.endsWith(u".vlm"_s) || name.isEmpty() ? window()->mnuOpen : window()->mnuImport;
        SCOPED_TRACE(file.toStdString());
        m_prompts.asked.clear();
        m_prompts.files = {file};
        command->trigger();
        ASSERT_EQ(m_prompts.messages().size(), 1);
        const Asked message = m_prompts.messages().first();
        EXPECT_EQ(message.title, command->text().remove(u'&'));
        EXPECT_EQ(message.icon, MessageIcon::Critical);
        EXPECT_TRUE(message.text.contains(QDir::toNativeSeparators(file)))
            << message.text.toStdString();
        EXPECT_EQ(documentBook(), m_kept);
    }
    EXPECT_EQ(filesInFolder().size(), 6);
}

// Open offers to import a book in another format, read as what its bytes say it is.
TEST_F(FileCommands, OpenOffersToImportABookInAnotherFormat)
{
    writeBytes(path("story.vlm"), zipArchive(epubEntries({"<p>Story</p>"}, {})));
    showBook(m_kept);
    m_prompts.files = {path("story.vlm"), path("story.vlm")};
    m_prompts.saveChoices = {SaveChoice::Discard, SaveChoice::Discard};
    m_prompts.answers = {false, true};
    window()->mnuOpen->trigger();
    EXPECT_EQ(documentBook(), m_kept) << "No leaves the book as it was";
    window()->mnuOpen->trigger();
    EXPECT_EQ(m_prompts.asked.last().text,
              u"story.vlm is an EPUB book, not a book file. Import it instead?"_s);
    EXPECT_EQ(documentBook().text, u"Story"_s);

    // A Kindle book shows no text at its start, but its own kind.
    writeBytes(path("sea.vlm"), kindleBook(KindleHtml));
    m_prompts.files = {path("sea.vlm")};
    m_prompts.answers = {true};
    window()->mnuOpen->trigger();
    EXPECT_EQ(m_prompts.asked.last().text,
              u"sea.vlm is a Kindle book, not a book file. Import it instead?"_s);
    EXPECT_EQ(frmInfo()->objTitle->text(), u"The Sea"_s);

    // And the other way: Import of a book file, whatever it is called, offers to open it; an
    // image is named as one.
    writeBytes(path("real.txt"), header(0, "Real", "", "") + "Its text");
    writeBytes(path("cover.vlm"), "\x89PNG\r\n\x1A\n" + QByteArray(3000, '\0'));
    m_prompts.files = {path("real.txt"), path("real.txt"), path("cover.vlm")};
    m_prompts.answers = {false, true};
    window()->mnuImport->trigger();
    EXPECT_EQ(frmInfo()->objTitle->text(), u"The Sea"_s) << "No leaves the book as it was";
    window()->mnuImport->trigger();
    EXPECT_EQ(m_prompts.asked.last().text, u"real.txt is a book file. Open it instead?"_s);
    EXPECT_EQ(m_prompts.asked[m_prompts.asked.size() - 2].filterIndex, 5)
        << "Import starts on all the books it reads";
    EXPECT_EQ(documentBook().text, u"Its text"_s);
    EXPECT_EQ(bookFilePath(), path("real.txt"));
    window()->mnuOpen->trigger();
    EXPECT_TRUE(m_prompts.messages().last().text.endsWith(u"is an image, not a book file"_s));
}

// A file dropped on the window opens or imports as the menu commands would; anything else is
// refused with a message naming it.
TEST_F(FileCommands, ADroppedBookOpensOrImports)
{
    writeBytes(path("dropped.epub"), zipArchive(epubEntries({"<p>Dropped</p>"}, {})));
    writeBytes(path("notes.pdf"), "%PDF-1.4");
    window()->dropFile(path("dropped.epub"));
    EXPECT_EQ(documentBook().text, u"Dropped"_s);

    window()->dropFile(path("notes.pdf"));
    ASSERT_EQ(m_prompts.messages().size(), 1);
    EXPECT_TRUE(m_prompts.messages()[0].text.contains(QDir::toNativeSeparators(path("notes.pdf"))));
    EXPECT_EQ(documentBook().text, u"Dropped"_s);
}

// The last books opened or saved, and the name the dialogs chose last, are there in the next
// run: a book opened again moves to the top, at most eight are kept, a book that is gone leaves
// the list, and Clear Recent Books empties it; nonsense in the settings gives the defaults.
TEST_F(FileCommands, RecentBooksAndTheLastNameOutliveTheRun)
{
    const auto recent = [this] {
        QStringList names;
        for (const QAction *entry : window()->mnuRecent->actions()) {
            if (!entry->isSeparator() && entry->text() != u"&Clear Recent Books"_s)
                names << QFileInfo(entry->text()).fileName();
        }
        return names;
    };
    for (const char *name : {"one", "two", "three", "four", "five", "six", "seven", "eight"})
        writeBytes(path(QByteArray(name) + ".vlm"), header(0, name, "", "") + name);
    m_prompts.files = {path("one.vlm"), path("two.vlm"), path("one.vlm")};
    for (int i = 0; i < 3; ++i)
        window()->mnuOpen->trigger();
    m_prompts.files = {path("saved.vlm")};
    window()->mnuSaveAs->trigger();
    exitProgram();
    EXPECT_EQ(recent(), QStringList({u"saved.vlm"_s, u"one.vlm"_s, u"two.vlm"_s}));
    QList<QAction *> entries = window()->mnuRecent->actions();
    EXPECT_EQ(entries[1]->text(), u"&2 "_s + QDir::toNativeSeparators(path("one.vlm")));
    EXPECT_EQ(entries[1]->shortcut(), QKeySequence(Qt::ALT | Qt::Key_2));
    entries[2]->trigger();
    EXPECT_EQ(documentBook().text, u"two"_s);
    m_prompts.files = {std::nullopt};
    window()->mnuOpen->trigger();
    EXPECT_EQ(m_prompts.asked.last().startName, path("saved.vlm")) << "the name chosen last";

    for (const char *name : {"three", "four", "five", "six", "seven", "eight"}) {
        m_prompts.files = {path(QByteArray(name) + ".vlm")};
        window()->mnuOpen->trigger();
    }
    EXPECT_EQ(recent().size(), 8);
    EXPECT_EQ(recent().last(), u"saved.vlm"_s) << "the oldest of the eight";

    QFile::remove(path("seven.vlm"));
    window()->mnuRecent->actions()[1]->trigger();
    ASSERT_EQ(m_prompts.messages().size(), 1);
    EXPECT_TRUE(m_prompts.messages()[0].text.contains(QDir::toNativeSeparators(path("seven.vlm"))));
    EXPECT_FALSE(recent().contains(u"seven.vlm"_s));
    EXPECT_EQ(recent().first(), u"eight.vlm"_s);

    window()->mnuRecent->actions().last()->trigger();
    EXPECT_TRUE(recent().isEmpty());
    EXPECT_FALSE(window()->mnuRecent->actions().last()->isEnabled());

    QSettings settings(u"Leafwright"_s, u"Leafwright"_s);
    settings.setValue(u"recentBooks"_s, 42);
    settings.setValue(u"windows/frmInfo"_s, QByteArray("not a place"));
    exitProgram();
    EXPECT_EQ(window()->mnuRecent->actions().size(), 1) << "only the entry that clears the list";
    window()->mnuInfo->trigger();
    EXPECT_EQ(frmInfo()->minimumSize(), frmInfo()->size());
}

TEST_F(FileCommands, ImportEmptiesInformationAndChaptersAndTakesTextOrAWholeEpub)
{
    writeBytes(path("in.txt"), "line one\nline two\r\n\xE9");
    writeBytes(path("book.epub"),
               zipArchive(epubEntries({"<h1>One</h1><p>Text</p>", "<h1>Two</h1>"},
                                      "<li><a href='c1.xhtml'>One</a></li>"
                                      "<li><a href='c2.xhtml'>Two</a></li>")));
    showBook(m_kept);
    m_prompts.files = {path("in.txt"), path("book.epub")};
    window()->mnuImport->trigger();
    EXPECT_EQ(documentBook(), (Book{{}, {}, {}, {}, u"line one\r\nline two\r\n\u00E9"_s}));

    window()->mnuImport->trigger();
    EXPECT_EQ(
        documentBook(),
        (Book{u"T"_s, u"A"_s, {}, rows(u"One@ 0|Two@ 15"_s), u"One\r\n\r\nText\r\n\r\nTwo"_s}));
    EXPECT_TRUE(m_prompts.messages().isEmpty());
}

// Only a title that is empty or spaces is missing; No ends the command, Yes saves with empty
// information even before Book Info was ever opened.
TEST_F(FileCommands, SaveAsAsksAboutAMissingTitle)
{
    m_prompts.answers = {false, false};
    m_prompts.files = {std::nullopt, std::nullopt};
    QList<Asked::Kind> kinds;
    for (const QString &title : {u"\t"_s, u" T "_s, u""_s, u"   "_s}) {
        frmInfo()->objTitle->setText(title);
        window()->mnuSaveAs->trigger();
        kinds << m_prompts.asked.last().kind;
    }
    EXPECT_EQ(kinds,
              (QList{Asked::SaveDialog, Asked::SaveDialog, Asked::Question, Asked::Question}));
    EXPECT_EQ(m_prompts.asked[2].title, u"Missing Title"_s);
    EXPECT_EQ(m_prompts.asked[2].text,
              u"This book has no title. Are you sure you want to save it?"_s);
    exitProgram();

    window()->objBook->setText(u"text"_s);
    m_prompts.answers = {true};
    m_prompts.files = {path("untitled")};
    window()->mnuSaveAs->trigger();
    EXPECT_EQ(readBytes(path("untitled.vlm")), header(0, "", "", "") + "text");
}

TEST_F(FileCommands, SaveAsWritesExactlyTheNewBookOrSaysWhyNotAndKeepsTheOldOne)
{
    writeBytes(path("B.VLM"), QByteArray(50000, 'o'));
    showBook(m_kept);
    window()->objBook->setText(u"\u03B1\u03B2 and \u03B3"_s);
    m_prompts.files = {path("B.VLM")};
    window()->mnuSaveAs->trigger();
    EXPECT_EQ(readBytes(path("B.VLM")), header(1, "Kept title", "Kept author", "Kept\r\nsynopsis")
                                            + record(7, "Kept chapter") + "?? and ?");
    EXPECT_EQ(filesInFolder(), QStringList{u"B.VLM"_s});
    ASSERT_EQ(m_prompts.messages().size(), 1);
    const Asked message = m_prompts.messages()[0];
    EXPECT_EQ(message.icon, MessageIcon::Exclamation);
    EXPECT_TRUE(message.text.contains(u"3 characters"_s)) << message.text.toStdString();
    EXPECT_TRUE(message.text.contains(u"\u03B1"_s)) << message.text.toStdString();
    EXPECT_TRUE(message.text.contains(u"\"Replace characters a book file cannot hold\""_s));

    // A book that cannot be written is named in a message, and the old one stays.
    window()->objBook->setText(u"text"_s);
    writeBytes(path("old.vlm"), "old book");
    QDir(m_dir.path()).mkdir(u"taken.vlm"_s);
    for (const QString &target : {path("no such folder/book"), path("taken.vlm")}) {
        m_prompts.asked.clear();
        m_prompts.files = {target};
        window()->mnuSaveAs->trigger();
        ASSERT_EQ(m_prompts.messages().size(), 1);
        EXPECT_EQ(m_prompts.messages()[0].title, u"Save As"_s);
        EXPECT_EQ(m_prompts.messages()[0].icon, MessageIcon::Critical);
        EXPECT_TRUE(m_prompts.messages()[0].text.contains(QDir::toNativeSeparators(target)));
        EXPECT_TRUE(window()->objBook->isEnabled());
    }
    EXPECT_EQ(readBytes(path("old.vlm")), "old book");
    EXPECT_EQ(filesInFolder(), (QStringList{u"B.VLM"_s, u"old.vlm"_s}));
}

// Another tool may have written a lone LF or CR into the synopsis: it stays as it was. The name
// chosen gets the extension.
TEST_F(FileCommands, OpenThenSaveAsWritesTheSameBytes)
{
    writeBytes(path("first.vlm"), header(1, "T", "A", "Line\r\nline\nlone LF\rlone CR")
                                      + record(5, "C") + "\x93Quoted\x94\xA0text\r\n\r\nend");
    m_prompts.files = {path("first.vlm"), path("second")};
    window()->mnuOpen->trigger();
    window()->mnuSaveAs->trigger();
    EXPECT_EQ(m_prompts.asked[1].startName, path("first.vlm")) << "Save As starts at the last name";
    EXPECT_EQ(readBytes(path("second.vlm")), readBytes(path("first.vlm")));
}

// Export as EPUB writes the book in the windows, which reads back the same.
TEST_F(FileCommands, ExportAsEpubWritesTheBookInTheWindows)
{
    writeBytes(path("tale.vlm"), header(1, "Tale", "Ann", "") + record(0, "One") + "One\r\n\r\nx");
    m_prompts.files = {path("tale.vlm"), path("out")};
    window()->mnuOpen->trigger();
    window()->mnuExportEpub->trigger();
    EXPECT_EQ(m_prompts.asked[1].startName, path("tale.epub")) << "named after the book";
    const Result<ImportedBook> read = readEpub(readBytes(path("out.epub")), u"out.epub"_s);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value().book.text, u"One\r\n\r\nx"_s);
    EXPECT_EQ(read.value().book.title, u"Tale"_s);
}

// A real book, and characters the editor would otherwise take for line breaks of its own,
// imported, given a title in Book Info and saved: the file the batch tool makes.
TEST_F(FileCommands, BooksSavedFromTheWindowMatchTheBatchTool)
{
    writeBytes(path("separators.txt"), "a\xE2\x80\xA8"
                                       "b\xE2\x80\xA9"
                                       "c\xEF\xB7\x90"
                                       "d\r\ne");
    // Books in other languages too, each saved in its own code page.
    const QString languages = corpusDir() + u"/languages/"_s;
    QStringList books = corpusBooks();
    for (const QString &name : QDir(languages).entryList({u"*.txt"_s}, QDir::Files))
        books << languages + name;
    books << path("separators.txt");
    for (const QString &book : books) {
        SCOPED_TRACE(book.toStdString());
        m_prompts.asked.clear();
        m_prompts.files = {book, path("window")};
        window()->mnuImport->trigger();
        frmInfo()->objTitle->setText(u"A Title"_s);
        window()->mnuSaveAs->trigger();
        EXPECT_EQ(readBytes(path("window.vlm")), cliBook(book, u"A Title"_s));
    }
    EXPECT_EQ(readBytes(path("window.vlm")), header(0, "A Title", "", "") + "a?b?c?d\r\ne");
    EXPECT_EQ(window()->objBook->Text().size(), 10);
}

// File > Code Page names each code page for its reader and checks the book's own. A book file
// is read again in the code page chosen (after the save question when it changed); any other
// book is written in it, and the status bar says what it cannot hold.
TEST_F(FileCommands, CodePageReadsTheFileAgainOrChangesWhatSaveAsWrites)
{
    const auto checked = [] {
        QStringList names;
        for (const QAction *item : window()->mnuCodePage->actions()) {
            if (item->isChecked())
                names << item->text();
        }
        return names;
    };
    const auto choose = [](int codePage) {
        window()->findChild<QAction *>(u"mnuCodePage_%1"_s.arg(codePage))->trigger();
    };
    const auto status = [] { return window()->statusBar()->currentMessage(); };
    EXPECT_EQ(window()->mnuCodePage->actions().size(), 10);
    EXPECT_EQ(checked(), QStringList{u"Western (Windows-1252)"_s});

    const QString russian = u"Глава первая. "
                            "В начале июля, "
                            "в чрезвычайно "
                            "жаркое время"_s;
    const QByteArray bytes = CodePage::encode(CodePage::Id::Windows1251, russian);
    writeBytes(path("ru.vlm"), header(0, "T", "A", "") + bytes);
    m_prompts.files = {path("ru.vlm")};
    window()->mnuOpen->trigger();
    EXPECT_EQ(window()->objBook->Text(), russian);
    EXPECT_EQ(checked(), QStringList{u"Cyrillic (Windows-1251)"_s});
    EXPECT_TRUE(status()
                == u"Opened ru.vlm in the Cyrillic (Windows-1251) code page (File > Code Page "
                   "chooses another)."_s);

    choose(1252);
    EXPECT_EQ(window()->objBook->Text(), CodePage::decode(CodePage::Western, bytes));
    EXPECT_EQ(checked(), QStringList{u"Western (Windows-1252)"_s});
    EXPECT_EQ(window()->windowTitle(), u"ru.vlm - Symbian Leafwright"_s) << "the file, unchanged";

    // A changed book is offered to be saved first; Cancel keeps it and its code page.
    QTest::keyClicks(window()->objBook, u"x"_s);
    const QString changed = window()->objBook->Text();
    m_prompts.saveChoices = {SaveChoice::Cancel, SaveChoice::Discard};
    choose(1251);
    EXPECT_EQ(window()->objBook->Text(), changed);
    EXPECT_EQ(checked(), QStringList{u"Western (Windows-1252)"_s});
    choose(1251);
    EXPECT_EQ(window()->objBook->Text(), russian);

    // An imported book: the code page chosen is what Save As writes, told as it is chosen.
    writeBytes(path("ru.txt"), russian.toUtf8());
    m_prompts.files = {path("ru.txt"), path("western")};
    window()->mnuImport->trigger();
    EXPECT_EQ(checked(), QStringList{u"Cyrillic (Windows-1251)"_s});
    EXPECT_TRUE(status().contains(u"saved in the Cyrillic (Windows-1251) code page"_s));
    choose(1252);
    processEvents();
    EXPECT_EQ(status(), u"The book will be saved in the Western (Windows-1252) code page, which "
                        "cannot hold 45 of its characters."_s);
    EXPECT_TRUE(window()->windowTitle().startsWith(u"ru.txt*"_s));
    frmInfo()->objTitle->setText(u"T"_s);
    window()->mnuSaveAs->trigger();
    EXPECT_EQ(readBytes(path("western.vlm")).mid(2323),
              CodePage::encode(CodePage::Western, russian));
    EXPECT_TRUE(readBytes(path("western.vlm")).startsWith(header(0, "T", "", "") + "?????"));
    EXPECT_TRUE(m_prompts.messages().last().text.contains(
        u"cannot be stored in the Windows-1252 code page"_s));
}

} // namespace
