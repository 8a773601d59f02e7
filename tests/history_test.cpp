#include "uitest.h"

#include "book/bookfile.h"
#include "cleaner/textcleaner.h"

#include "ui/bookeditor.h"
#include "ui/document.h"
#include "ui/frmchapters.h"
#include "ui/frmcleaner.h"
#include "ui/frmfoundchapters.h"
#include "ui/frminfo.h"
#include "ui/frmleafwright.h"
#include "ui/frmreplace.h"
#include "ui/windows.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Chapter rows follow the text, Clean, Replace and Add Chapters are undone whole, and no
// changed book is let go without a question.
class History : public UiTest
{
protected:
    FrmLeafwright *window() { return frmLeafwright(); }
    BookEditor *editor() { return frmLeafwright()->objBook; }
    QString status() { return frmLeafwright()->statusBar()->currentMessage(); }

    void clean(std::initializer_list<int> boxes)
    {
        for (const int box : boxes)
            frmCleaner()->objClean[box]->setChecked(true);
        frmCleaner()->butClean->click();
    }
    void replace(const QString &what, const QString &by)
    {
        frmReplace()->objFind->setText(what);
        frmReplace()->objReplace->setText(by);
        frmReplace()->butReplace->click();
        frmReplace()->close();
    }
    // The chapter rows' offsets, joined by "|".
    QString offsets()
    {
        QStringList result;
        for (const ChapterEntry &row : frmChapters()->chapterRows())
            result << row.offset;
        return result.join(u'|');
    }

    // A Gutenberg book with two chapters and a contents entry that points into its header.
    const Book m_book{
        u"    "_s,
        {},
        {},
        {{u"Contents"_s, u" 0"_s}, {u"CHAPTER I"_s, u" 72"_s}, {u"CHAPTER II"_s, u"97"_s}},
        u"Title: Whale Tales\r\n*** START OF THE PROJECT GUTENBERG EBOOK X "
        "***\r\n\r\n\r\nCHAPTER I\r\n\r\nA whale.\r\n\r\nCHAPTER II\r\n\r\nThe "
        "whale.\r\n*** END OF THE PROJECT GUTENBERG EBOOK X ***\r\nLicence"_s};
    QTemporaryDir m_dir;
};

TEST_F(History, CleanAndReplaceMoveTheRowsAndAreUndoneWhole)
{
    showBook(m_book);
    ASSERT_EQ(m_book.text.mid(72, 9), u"CHAPTER I"_s);
    ASSERT_EQ(m_book.text.mid(97, 10), u"CHAPTER II"_s);
    EXPECT_FALSE(window()->mnuUndo->isEnabled()) << "a book shown starts a fresh history";

    window()->mnuCleaner->trigger();
    clean({GutenbergFrameBox, 5});
    EXPECT_EQ(editor()->Text(), u"CHAPTER I\r\n\r\nA whale.\r\n\r\nCHAPTER II\r\n\r\nThe whale."_s);
    EXPECT_EQ(offsets(), u" 0|25"_s);
    EXPECT_EQ(frmInfo()->objTitle->text(), u"Whale Tales"_s);
    EXPECT_EQ(status(), u"Removed the Project Gutenberg header (4 lines) and licence (2 lines); "
                        "moved 2 chapter rows with the text; removed 1 chapter row whose heading "
                        "was removed"_s);

    window()->mnuReplace->trigger();
    replace(u"WHALE"_s, u"sperm whale"_s);
    EXPECT_EQ(status(), u"2 replaced; moved 1 chapter row with the text"_s);
    EXPECT_EQ(offsets(), u" 0|31"_s);

    const Book cleaned = documentBook();
    editor()->setSelStart(0);
    window()->mnuUndo->trigger();
    EXPECT_EQ(offsets(), u" 0|25"_s);
    // The caret goes back to where the change began, and the bar's word on it goes.
    EXPECT_EQ(editor()->SelStart(), editor()->Text().indexOf(u"whale"_s));
    EXPECT_EQ(status(), QString());
    window()->mnuUndo->trigger();
    Book shown = m_book;
    shown.title.clear(); // the box holds the title without its fill spaces
    EXPECT_EQ(documentBook(), shown) << "text, rows and title exactly as they were";
    EXPECT_FALSE(window()->mnuUndo->isEnabled());
    window()->mnuRedo->trigger();
    window()->mnuRedo->trigger();
    EXPECT_EQ(documentBook(), cleaned);
    // Each row lands on its heading.
    frmChapters()->lstChapterTitle->setCurrentRow(1);
    emit frmChapters()->lstChapterTitle->itemDoubleClicked(frmChapters()->lstChapterTitle->item(1));
    EXPECT_EQ(editor()->Text().mid(editor()->SelStart(), 10), u"CHAPTER II"_s);
}

TEST_F(History, RowsFollowTypingAndComeBackWithAnUndoneDeletion)
{
    showBook({{},
              {},
              {},
              {{u"I"_s, u" 7"_s}, {u"II"_s, u"20"_s}},
              u"Start\r\nONE\r\ntext\r\n\r\nTWO\r\nend"_s});
    editor()->setSelStart(0);
    QTest::keyClicks(editor(), u"ab"_s);
    EXPECT_EQ(offsets(), u" 9|22"_s) << "typing before the headings moves them";
    EXPECT_EQ(frmChapters()->objChapterOffset->text(), u"2"_s);

    // Enter at the start of a heading line moves the row down with its heading; text typed
    // there becomes part of the heading line.
    editor()->setSelStart(22);
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_EQ(offsets(), u" 9|24"_s);
    QTest::keyClicks(editor(), u"x"_s);
    EXPECT_EQ(offsets(), u" 9|24"_s);

    // Deleting the first heading's line gathers its row; Undo puts it back on the heading.
    const QString before = editor()->Text();
    editor()->setSelStart(7);
    editor()->setSelLength(9);
    QTest::keyClick(editor(), Qt::Key_Delete);
    EXPECT_EQ(offsets(), u" 7|15"_s);
    QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor()->Text(), before);
    EXPECT_EQ(offsets(), u" 9|24"_s);
}

TEST_F(History, FindChaptersMarksWhatTheTableHoldsAndAddChaptersIsOneStep)
{
    const QString prose =
        u"It was a long day, and the road ran on past the river and the mill.\r\n"_s.repeated(6);
    const QString text = u"CHAPTER I\r\n\r\n"_s + prose + u"\r\n\r\nCHAPTER II\r\n\r\n"_s + prose;
    const QString second = QString::number(text.indexOf(u"CHAPTER II"_s));
    showBook({{}, {}, {}, {{u"Mine"_s, u" 0"_s}}, text});
    frmChapters()->butFindChapters->click();
    QTableWidget *found = frmFoundChapters()->lstFoundChapters;
    ASSERT_EQ(found->rowCount(), 2);
    EXPECT_EQ(found->item(0, 0)->checkState(), Qt::Unchecked);
    EXPECT_TRUE(found->item(0, 0)->text().endsWith(u"in the table"_s));
    EXPECT_GE(found->columnWidth(0),
              found->fontMetrics().horizontalAdvance(found->item(0, 0)->text()))
        << "the level shows whole";
    EXPECT_FALSE(found->item(0, 0)->flags() & Qt::ItemIsUserCheckable);
    EXPECT_EQ(found->item(1, 0)->checkState(), Qt::Checked);
    // A double-click shows the heading, and the offset box follows the caret there.
    emit found->cellDoubleClicked(1, 2);
    EXPECT_EQ(frmChapters()->objChapterOffset->text(), second);
    // From the keyboard: the count follows the ticks, Space ticks, Return adds.
    EXPECT_EQ(frmFoundChapters()->lblFoundCount->text(), u"2 headings found, 1 ticked"_s);
    frmFoundChapters()->butUntickAll->click();
    EXPECT_EQ(frmFoundChapters()->lblFoundCount->text(), u"2 headings found, 0 ticked"_s);
    found->setCurrentCell(1, 0);
    QTest::keyClick(found, Qt::Key_Space);
    EXPECT_EQ(found->item(1, 0)->checkState(), Qt::Checked);
    EXPECT_EQ(found->item(0, 0)->checkState(), Qt::Unchecked) << "a row in the table stays so";
    QTest::keyClick(found, Qt::Key_Return);
    EXPECT_EQ(offsets(), u" 0|"_s + second);
    window()->mnuUndo->trigger();
    EXPECT_EQ(offsets(), u" 0"_s);
    window()->mnuRedo->trigger();
    EXPECT_EQ(offsets(), u" 0|"_s + second);
}

TEST_F(History, AChangedBookIsNotLetGoWithoutAQuestion)
{
    const QString saved = m_dir.filePath(u"pg1342.vlm"_s);
    EXPECT_EQ(window()->windowTitle(), u"Symbian Leafwright"_s);
    Book book = m_book;
    book.title = u"Whale Tales"_s;
    showBook(book);
    QTest::keyClicks(window()->objBook, u"x"_s);
    processEvents();
    EXPECT_EQ(window()->windowTitle(), u"Untitled* - Symbian Leafwright"_s);
    m_prompts.files = {saved};
    window()->mnuSaveAs->trigger();
    EXPECT_EQ(window()->windowTitle(), u"pg1342.vlm - Symbian Leafwright"_s);

    // Typing, a title and a chapter row are each a change. Cancel keeps the book and the
    // program; Save runs Save As, then Open goes on.
    const std::function<void()> changes[] = {
        [] { QTest::keyClicks(frmLeafwright()->objBook, u"x"_s); },
        [] { frmInfo()->objTitle->setText(u"Other"_s); },
        [] {
            frmChapters()->objChapterOffset->setText(u"0"_s);
            frmChapters()->butAddChapter->click();
        },
    };
    for (const auto &change : changes) {
        change();
        processEvents();
        EXPECT_EQ(window()->windowTitle(), u"pg1342.vlm* - Symbian Leafwright"_s);
        const Book before = documentBook();
        const qsizetype asked = m_prompts.asked.size();
        m_prompts.saveChoices = {SaveChoice::Cancel, SaveChoice::Cancel};
        window()->mnuOpen->trigger();
        window()->mnuExit->trigger();
        processEvents();
        EXPECT_EQ(documentBook(), before);
        ASSERT_EQ(m_prompts.asked.size(), asked + 2) << "no dialog after Cancel";
        EXPECT_EQ(m_prompts.asked.last().text, u"Save changes to the book?"_s);

        m_prompts.saveChoices = {SaveChoice::Save};
        m_prompts.files = {saved, std::nullopt};
        window()->mnuOpen->trigger();
        EXPECT_EQ(LoadBook(saved).value().text, before.text);
        EXPECT_EQ(LoadBook(saved).value().chapters.size(), before.chapters.size());
        EXPECT_EQ(window()->windowTitle(), u"pg1342.vlm - Symbian Leafwright"_s);
    }
}

} // namespace
