#include "uitest.h"

#include "epubfiles.h"
#include "testfiles.h"

#include "app/bookeditor.h"
#include "app/document.h"
#include "app/frminfo.h"
#include "app/frmleafwright.h"
#include "app/multilinetextbox.h"
#include "app/windows.h"
#include "book/bookfile.h"
#include "chapters/frmchapters.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

using Asked = ScriptedPrompts::Asked;

class FileCommands : public UiTest
{
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QStringList filesInFolder() const
    {
        return QDir(m_dir.path())
            .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    static FrmLeafwright *window() { return frmLeafwright(); }

    // A document that a failed command must leave exactly as it is.
    static Book someDocument()
    {
        return Book{u"Kept title"_s,
                    u"Kept author"_s,
                    u"Kept\r\nsynopsis"_s,
                    {{u"Kept chapter"_s, u" 7"_s}},
                    u"Kept\r\ntext"_s};
    }

    QTemporaryDir m_dir;
};

TEST_F(FileCommands, OpenReplacesTheWholeDocumentWithTheStoredFields)
{
    Book stored{u"Title"_s,
                u"Author"_s,
                u"Synopsis"_s,
                {{u"One"_s, u"0"_s}, {u"Two"_s, u"1234"_s}, {u"Three"_s, u"-2"_s}},
                u"First\r\nSecond"_s};
    ASSERT_TRUE(SaveBook(stored, path(u"b.vlm"_s)).ok());

    QList<ChapterEntry> tenRows;
    tenRows.fill({u"old"_s, u" 1"_s}, 10);
    frmChapters()->setChapterRows(tenRows);

    m_prompts.files = {path(u"b.vlm"_s)};
    window()->mnuOpen->trigger();

    ASSERT_EQ(m_prompts.asked.size(), 1);
    EXPECT_EQ(m_prompts.asked[0].kind, Asked::OpenDialog);
    EXPECT_EQ(m_prompts.asked[0].title, u"Open"_s);
    EXPECT_EQ(m_prompts.asked[0].text, u"Symbian Vellumite File|*.vlm"_s);

    EXPECT_EQ(frmInfo()->objTitle->text(), u"Title"_s.leftJustified(128));
    EXPECT_EQ(frmInfo()->objAuthor->text(), u"Author"_s.leftJustified(128));
    EXPECT_EQ(frmInfo()->objSynopsis->Text(), u"Synopsis"_s.leftJustified(1024));
    const QList<ChapterEntry> rows = {{u"One"_s.leftJustified(40), u" 0"_s},
                                      {u"Two"_s.leftJustified(40), u" 1234"_s},
                                      {u"Three"_s.leftJustified(40), u"-2"_s}};
    EXPECT_EQ(frmChapters()->chapterRows(), rows);
    EXPECT_EQ(window()->objBook->Text(), u"First\r\nSecond"_s);
    EXPECT_TRUE(frmInfo()->isHidden());
    EXPECT_TRUE(frmChapters()->isHidden());
}

TEST_F(FileCommands, CancelOrAnEmptyNameEndsEachCommandWithoutChange)
{
    showBook(someDocument());
    for (QAction *command : {window()->mnuOpen, window()->mnuImport, window()->mnuSaveAs}) {
        m_prompts.files = {std::nullopt, QString()};
        command->trigger();
        command->trigger();
    }
    EXPECT_EQ(documentBook(), someDocument());
    EXPECT_TRUE(m_prompts.messages().isEmpty());
    EXPECT_TRUE(filesInFolder().isEmpty());
}

TEST_F(FileCommands, OpenOfAFileThatIsNoBookShowsOneMessageAndChangesNothing)
{
    QStringList names = writeMalformedBooks(m_dir.path());
    names.append(u""_s); // the folder itself
    showBook(someDocument());
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        m_prompts.asked.clear();
        m_prompts.files = {path(name)};
        window()->mnuOpen->trigger();

        ASSERT_EQ(m_prompts.messages().size(), 1);
        const Asked message = m_prompts.messages().first();
        EXPECT_EQ(message.title, u"Open"_s);
        EXPECT_EQ(message.icon, MessageIcon::Critical);
        EXPECT_TRUE(message.text.contains(QDir::toNativeSeparators(path(name))))
            << message.text.toStdString();
        EXPECT_EQ(documentBook(), someDocument());
    }
    EXPECT_FALSE(QFile::exists(path(u"missing.vlm"_s)));
}

TEST_F(FileCommands, ImportEmptiesInformationAndChaptersAndTakesTheText)
{
    for (const QByteArray &bytes : {QByteArray("line one\nline two\r\n\xE9"), QByteArray()}) {
        showBook(someDocument());
        writeBytes(path(u"in.txt"_s), bytes);
        m_prompts.files = {path(u"in.txt"_s)};
        window()->mnuImport->trigger();

        EXPECT_EQ(m_prompts.asked.last().title, u"Import"_s);
        EXPECT_EQ(qtNameFilter(m_prompts.asked.last().text),
                  u"Text Files (*.txt);;E-books (*.epub);;Web pages (*.html *.htm *.xhtml);;"
                  "All books (*.txt *.epub *.html *.htm *.xhtml)"_s);
        Book expected;
        expected.text = bytes.isEmpty() ? QString() : u"line one\r\nline two\r\n\u00E9"_s;
        EXPECT_EQ(documentBook(), expected);
    }

    showBook(someDocument());
    m_prompts.files = {path(u"missing.txt"_s)};
    window()->mnuImport->trigger();
    ASSERT_EQ(m_prompts.messages().size(), 1);
    EXPECT_EQ(m_prompts.messages()[0].title, u"Import"_s);
    EXPECT_TRUE(m_prompts.messages()[0].text.contains(path(u"missing.txt"_s)));
    EXPECT_EQ(documentBook(), someDocument());
}

TEST_F(FileCommands, ImportOfAnEpubFillsEditorInfoAndChaptersOrChangesNothing)
{
    writeBytes(path(u"book.epub"_s),
               zipArchive(epubEntries({"<h1>One</h1><p>Text</p>", "<h1>Two</h1>"},
                                      "<li><a href='c1.xhtml'>One</a></li>"
                                      "<li><a href='c2.xhtml'>Two</a></li>")));
    writeBytes(path(u"broken.epub"_s), "PK not an archive");
    showBook(someDocument());
    m_prompts.files = {path(u"broken.epub"_s), path(u"book.epub"_s)};

    window()->mnuImport->trigger();
    ASSERT_EQ(m_prompts.messages().size(), 1);
    EXPECT_TRUE(m_prompts.messages()[0].text.contains(path(u"broken.epub"_s)));
    EXPECT_EQ(documentBook(), someDocument());

    window()->mnuImport->trigger();
    EXPECT_EQ(m_prompts.messages().size(), 1);
    EXPECT_EQ(documentBook(), (Book{u"T"_s,
                                    u"A"_s,
                                    {},
                                    {{u"One"_s, u" 0"_s}, {u"Two"_s, u" 15"_s}},
                                    u"One\r\n\r\nText\r\n\r\nTwo"_s}));
    EXPECT_EQ(filesInFolder(), (QStringList{u"book.epub"_s, u"broken.epub"_s}));
}

TEST_F(FileCommands, SaveAsAsksAboutAMissingTitleOnlyForEmptyOrSpaces)
{
    struct Case
    {
        QString title;
        bool asks;
    };
    const Case cases[] = {{u""_s, true}, {u"   "_s, true}, {u"\t"_s, false}, {u" T "_s, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        m_prompts.asked.clear();
        frmInfo()->objTitle->setText(c.title);
        if (c.asks)
            m_prompts.answers = {false};
        else
            m_prompts.files = {std::nullopt};
        window()->mnuSaveAs->trigger();

        ASSERT_EQ(m_prompts.asked.size(), 1);
        if (c.asks) {
            EXPECT_EQ(m_prompts.asked[0].kind, Asked::Question);
            EXPECT_EQ(m_prompts.asked[0].title, u"Missing Title"_s);
            EXPECT_EQ(m_prompts.asked[0].text,
                      u"This book has no title. Are you sure you want to save it?"_s);
        } else {
            EXPECT_EQ(m_prompts.asked[0].kind, Asked::SaveDialog);
        }
    }
    EXPECT_TRUE(filesInFolder().isEmpty());
}

TEST_F(FileCommands, SaveAsBeforeBookInfoWasOpenedWritesEmptyInformation)
{
    window()->objBook->setText(u"text"_s);
    m_prompts.answers = {true};
    m_prompts.files = {path(u"untitled"_s)};
    window()->mnuSaveAs->trigger();

    EXPECT_EQ(readBytes(path(u"untitled.vlm"_s)), header(0, "", "", "") + "text");
    EXPECT_EQ(m_prompts.asked.first().title, u"Missing Title"_s);
}

TEST_F(FileCommands, SaveAsAddsTheExtensionAndEveryDialogStartsWithTheLastName)
{
    showBook(someDocument());
    m_prompts.files = {path(u"notes"_s), path(u"NOTES.VLM"_s), std::nullopt, std::nullopt,
                       std::nullopt};
    window()->mnuSaveAs->trigger();
    window()->mnuSaveAs->trigger();
    window()->mnuOpen->trigger();
    window()->mnuImport->trigger();
    window()->mnuSaveAs->trigger();

    const QStringList startNames = {u""_s, path(u"notes.vlm"_s), path(u"NOTES.VLM"_s),
                                    path(u"NOTES.VLM"_s), path(u"NOTES.VLM"_s)};
    ASSERT_EQ(m_prompts.asked.size(), startNames.size());
    for (qsizetype i = 0; i < startNames.size(); ++i)
        EXPECT_EQ(m_prompts.asked[i].startName, startNames[i]) << "dialog " << i;
    EXPECT_EQ(m_prompts.asked[0].title, u"Save As"_s);
    EXPECT_EQ(m_prompts.asked[0].text, u"Symbian Vellumite File|*.vlm"_s);
    EXPECT_EQ(filesInFolder(), (QStringList{u"NOTES.VLM"_s, u"notes.vlm"_s}));
    EXPECT_EQ(window()->objDialog.FileName, path(u"NOTES.VLM"_s));
}

TEST_F(FileCommands, SaveAsOverALongerBookLeavesExactlyTheNewOne)
{
    writeBytes(path(u"b.vlm"_s), QByteArray(50000, 'o'));
    showBook(someDocument());
    m_prompts.files = {path(u"b.vlm"_s)};
    window()->mnuSaveAs->trigger();
    EXPECT_EQ(readBytes(path(u"b.vlm"_s)),
              header(1, "Kept title", "Kept author", "Kept\r\nsynopsis") + record(7, "Kept chapter")
                  + "Kept\r\ntext");
    EXPECT_TRUE(window()->objBook->isEnabled());
    EXPECT_TRUE(m_prompts.messages().isEmpty());
}

TEST_F(FileCommands, SaveAsThatCannotWriteSaysSoAndKeepsTheOldBook)
{
    writeBytes(path(u"old.vlm"_s), "old book");
    QDir(m_dir.path()).mkdir(u"taken.vlm"_s);
    showBook(someDocument());
    const QString targets[] = {path(u"no such folder/book"_s), path(u"taken.vlm"_s)};
    for (const QString &target : targets) {
        m_prompts.asked.clear();
        m_prompts.files = {target};
        window()->mnuSaveAs->trigger();
        ASSERT_EQ(m_prompts.messages().size(), 1);
        EXPECT_EQ(m_prompts.messages()[0].title, u"Save As"_s);
        EXPECT_EQ(m_prompts.messages()[0].icon, MessageIcon::Critical);
        EXPECT_TRUE(m_prompts.messages()[0].text.contains(QDir::toNativeSeparators(target)))
            << m_prompts.messages()[0].text.toStdString();
        EXPECT_TRUE(window()->objBook->isEnabled());
    }
    EXPECT_EQ(readBytes(path(u"old.vlm"_s)), "old book");
    EXPECT_EQ(filesInFolder(), QStringList{u"old.vlm"_s});
}

TEST_F(FileCommands, SaveAsTellsHowManyCharactersBecameQuestionMarks)
{
    frmInfo()->objTitle->setText(u"Greek"_s);
    window()->objBook->setText(u"\u03B1\u03B2 and \u03B3"_s);
    m_prompts.files = {path(u"greek.vlm"_s)};
    window()->mnuSaveAs->trigger();

    ASSERT_EQ(m_prompts.messages().size(), 1);
    const Asked message = m_prompts.messages()[0];
    EXPECT_EQ(message.icon, MessageIcon::Exclamation);
    EXPECT_TRUE(message.text.contains(u"3 characters"_s)) << message.text.toStdString();
    EXPECT_TRUE(message.text.contains(u"\u03B1"_s)) << message.text.toStdString();
    EXPECT_EQ(readBytes(path(u"greek.vlm"_s)).mid(2323), "?? and ?");
}

TEST_F(FileCommands, OpenThenSaveAsWritesTheSameBytes)
{
    Book stored{u"T"_s,
                u"A"_s,
                u"Line\r\nline"_s,
                {{u"C"_s, u"5"_s}},
                u"\u201CQuoted\u201D\u00A0text\r\n\r\nend"_s};
    ASSERT_TRUE(SaveBook(stored, path(u"first.vlm"_s)).ok());
    m_prompts.files = {path(u"first.vlm"_s), path(u"second.vlm"_s)};
    window()->mnuOpen->trigger();
    window()->mnuSaveAs->trigger();
    EXPECT_EQ(readBytes(path(u"second.vlm"_s)), readBytes(path(u"first.vlm"_s)));
}

// Characters the editor would otherwise take for line breaks of its own count, and are stored,
// as one character each, as the batch tool stores them.
TEST_F(FileCommands, ImportedSeparatorsAreSavedAsTheBatchToolSavesThem)
{
    writeBytes(path(u"in.txt"_s), "a\xE2\x80\xA8"
                                  "b\xE2\x80\xA9"
                                  "c\xEF\xB7\x90"
                                  "d\r\ne");
    m_prompts.files = {path(u"in.txt"_s), path(u"window"_s)};
    window()->mnuImport->trigger();
    frmInfo()->objTitle->setText(u"T"_s);
    window()->mnuSaveAs->trigger();
    EXPECT_EQ(readBytes(path(u"window.vlm"_s)), header(0, "T", "", "") + "a?b?c?d\r\ne");
    EXPECT_EQ(window()->objBook->Text().size(), 10);

    QProcess cli;
    cli.start(QString::fromUtf8(LEAFWRIGHT_CLI),
              {u"make"_s, path(u"cli"_s), u"--import"_s, path(u"in.txt"_s), u"--title"_s, u"T"_s});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(readBytes(path(u"cli.vlm"_s)), readBytes(path(u"window.vlm"_s)));
}

// A real book imported, given a title in Book Info and saved is the file the batch tool makes.
TEST_F(FileCommands, CorpusBooksSavedFromTheWindowMatchTheBatchTool)
{
    const QStringList books = corpusBooks();
    if (books.isEmpty())
        GTEST_SKIP() << "no corpus books in " << corpusDir().toStdString();

    for (const QString &book : books) {
        SCOPED_TRACE(book.toStdString());
        m_prompts.asked.clear();
        m_prompts.files = {book, path(u"window"_s)};
        window()->mnuImport->trigger();
        frmInfo()->objTitle->setText(u"A Title"_s);
        window()->mnuSaveAs->trigger();

        QProcess cli;
        cli.start(QString::fromUtf8(LEAFWRIGHT_CLI),
                  {u"make"_s, path(u"cli"_s), u"--import"_s, book, u"--title"_s, u"A Title"_s});
        ASSERT_TRUE(cli.waitForFinished(60000));
        ASSERT_EQ(cli.exitCode(), 0);
        EXPECT_EQ(readBytes(path(u"window.vlm"_s)), readBytes(path(u"cli.vlm"_s)));
    }
}

} // namespace
