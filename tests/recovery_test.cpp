// Work the program did not save outlives it: a copy of the changed book waits in the recovery
// folder, and the next start offers it back.

#include "uitest.h"

#include "ui/bookeditor.h"
#include "ui/bookrecovery.h"
#include "ui/bookstate.h"
#include "ui/document.h"
#include "ui/frmleafwright.h"
#include "ui/windows.h"

#include "book/bookfile.h"
#include "chapters/chaptertable.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

class Recovery : public UiTest
{
protected:
    // Each test process has a data folder of its own: ctest runs the tests of this file side by
    // side, and one's copies left as a crash leaves them must not be the other's to find.
    void SetUp() override
    {
        UiTest::SetUp();
        QCoreApplication::setApplicationName(
            u"recovery_test-%1"_s.arg(QCoreApplication::applicationPid()));
        QDir(recoveryFolder()).removeRecursively();
    }

    void TearDown() override
    {
        UiTest::TearDown();
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    }

    static FrmLeafwright *window() { return frmLeafwright(); }

    // What a program killed at this moment leaves: its copy, under a name no running program
    // holds a lock on.
    static void leaveCopyAsACrashWould()
    {
        const QString book = window()->recovery().bookPath();
        const QString left = QDir(recoveryFolder()).filePath(u"crashed"_s);
        ASSERT_TRUE(QFile::copy(book, left + u".vlm"_s));
        ASSERT_TRUE(QFile::copy(book.chopped(4) + u".json"_s, left + u".json"_s));
    }

    // The book's copy left as a crash leaves it, and this program gone without saving: what the
    // next start finds.
    void crashAndQuit()
    {
        window()->recovery().copyNow();
        leaveCopyAsACrashWould();
        m_prompts.saveChoices = {SaveChoice::Discard};
        exitProgram();
    }

    QTemporaryDir m_dir;
};

// Waits, as the user does, until the file is there.
bool appears(const QString &path)
{
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(path) && waited.elapsed() < 12000) {
        processEvents();
        QThread::msleep(20);
    }
    return QFile::exists(path);
}

const QString Cyrillic =
    u"\u0413\u043B\u0430\u0432\u0430 \u043F\u0435\u0440\u0432\u0430\u044F. "
    "\u0412 \u043D\u0430\u0447\u0430\u043B\u0435 \u0438\u044E\u043B\u044F, "
    "\u0432 \u0447\u0440\u0435\u0437\u0432\u044B\u0447\u0430\u0439\u043D\u043E "
    "\u0436\u0430\u0440\u043A\u043E\u0435 \u0432\u0440\u0435\u043C\u044F."_s;

// Typing makes a copy a few seconds on, in the book's code page; the running program's copy is
// offered to no one; after a crash the next start asks, and Restore gives back the book as it
// was: unsaved, under its file's name, in its code page, with a fresh history. Save and a normal
// Exit leave no copy behind.
TEST_F(Recovery, TypedWorkIsOfferedBackAfterACrash)
{
    const QString tale = m_dir.filePath(u"tale.vlm"_s);
    writeBytes(tale, header(1, "Tale", "Ann", "") + record(0, "One")
                         + CodePage::encode(CodePage::Id::Windows1251, Cyrillic));
    m_prompts.files = {tale};
    window()->mnuOpen->trigger();
    EXPECT_FALSE(QFile::exists(window()->recovery().bookPath())) << "nothing changed yet";

    window()->objBook->setSelStart(0);
    QTest::keyClicks(window()->objBook, u"Typed. "_s);
    ASSERT_TRUE(appears(window()->recovery().bookPath()));
    const Result<Book> copy =
        LoadBook(window()->recovery().bookPath(), TextLineBreaks::MadeCrLf, std::nullopt);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy.value().text, u"Typed. "_s + Cyrillic);
    EXPECT_EQ(copy.value().codePage, CodePage::Id::Windows1251);
    EXPECT_TRUE(leftBooks().isEmpty()) << "a running program's copy is no one else's";
    EXPECT_FALSE(BookRecovery(nullptr).offerLeftBook());
    EXPECT_TRUE(m_prompts.asked.size() == 1) << "only the Open dialog was shown";

    crashAndQuit();
    EXPECT_EQ(QDir(recoveryFolder()).entryList({u"*.vlm"_s}), QStringList{u"crashed.vlm"_s})
        << "Exit removes its own copy";

    // The next start: Later keeps the copy, then Restore brings it back.
    m_prompts.restoreChoices = {RestoreChoice::Later, RestoreChoice::Restore};
    window()->Form_Load({});
    EXPECT_EQ(m_prompts.asked.last().text,
              u"Leafwright was closed without saving changes to tale.vlm. Restore them?"_s);
    EXPECT_EQ(documentBook().text, QString());
    window()->Form_Load({});
    processEvents();
    EXPECT_EQ(documentBook().text, u"Typed. "_s + Cyrillic);
    EXPECT_EQ(documentBook().title, u"Tale"_s);
    EXPECT_EQ(bookCodePage(), CodePage::Id::Windows1251);
    EXPECT_EQ(bookFilePath(), tale);
    EXPECT_EQ(window()->windowTitle(), u"tale.vlm* - Symbian Leafwright"_s);
    EXPECT_FALSE(window()->mnuUndo->isEnabled());
    EXPECT_EQ(QDir(recoveryFolder()).entryList({u"*.vlm"_s}),
              QStringList{QFileInfo(window()->recovery().bookPath()).fileName()})
        << "the restored book is this program's to keep now";

    // Saved, the book needs no copy.
    m_prompts.files = {tale};
    window()->mnuSaveAs->trigger();
    EXPECT_TRUE(QDir(recoveryFolder()).entryList({u"*.vlm"_s}).isEmpty());
    EXPECT_EQ(LoadBook(tale).value().text, u"Typed. "_s + Cyrillic);
}

// A copy comes back in the code page it was written in, whatever its bytes would suggest.
TEST_F(Recovery, ACopyComesBackInItsOwnCodePage)
{
    const QString plain = m_dir.filePath(u"plain.vlm"_s);
    writeBytes(plain, header(0, "Plain", "", "") + "Letters any code page holds.");
    m_prompts.files = {plain};
    window()->mnuOpen->trigger();
    window()->findChild<QAction *>(u"mnuCodePage_1253"_s)->trigger();
    QTest::keyClicks(window()->objBook, u"Typed. "_s);
    crashAndQuit();
    m_prompts.restoreChoices = {RestoreChoice::Restore};
    window()->Form_Load({});
    processEvents();
    EXPECT_EQ(documentBook().text, u"Typed. Letters any code page holds."_s);
    EXPECT_EQ(bookCodePage(), CodePage::Id::Windows1253);
}

// A copy the user does not want is discarded when asked, and a start without one asks nothing;
// a book whose changes are all undone leaves none, and a full chapter table has one.
TEST_F(Recovery, DiscardRemovesTheCopy)
{
    // With every change undone the book is as it was, and needs no copy.
    QTest::keyClicks(window()->objBook, u"Undone"_s);
    window()->recovery().copyNow();
    ASSERT_TRUE(QFile::exists(window()->recovery().bookPath()));
    while (window()->mnuUndo->isEnabled())
        window()->mnuUndo->trigger();
    window()->recovery().copyNow();
    EXPECT_FALSE(QFile::exists(window()->recovery().bookPath()));

    QTest::keyClicks(window()->objBook, u"Lost work"_s);
    crashAndQuit();

    m_prompts.restoreChoices = {RestoreChoice::Discard};
    window()->Form_Load({});
    EXPECT_EQ(m_prompts.asked.last().text,
              u"Leafwright was closed without saving changes to an untitled book. Restore "
              "them?"_s);
    EXPECT_TRUE(QDir(recoveryFolder()).entryList({u"*.vlm"_s}).isEmpty());
    EXPECT_EQ(documentBook().text, QString());
    const qsizetype asked = m_prompts.asked.size();
    window()->Form_Load({});
    EXPECT_EQ(m_prompts.asked.size(), asked);

    // A book with as many chapters as a book file holds has its copy like any other.
    const QString full = m_dir.filePath(u"full.vlm"_s);
    writeBytes(full, header(MaxChapterRows, "Full", "", "")
                         + record(0, "x").repeated(MaxChapterRows));
    m_prompts.files = {full};
    window()->mnuOpen->trigger();
    QTest::keyClicks(window()->objBook, u"More"_s);
    window()->recovery().copyNow();
    EXPECT_TRUE(QFile::exists(window()->recovery().bookPath()));
}

} // namespace
