#include "uitest.h"

#include "app/bookeditor.h"
#include "app/frmleafwright.h"
#include "app/windows.h"
#include "chapters/chapterscan.h"
#include "chapters/frmchapters.h"
#include "chapters/frmfoundchapters.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using ChaptersWindow = UiTest;

const ChapterRows ThreeRows = {{u"One"_s, u" 10"_s}, {u"Two"_s, u"20"_s}, {u"Three"_s, u" 5"_s}};

// Pressed at once, Add Chapter adds the initial texts: the title, and offset 0; then the typed
// title cut at 40 and the caret's offset, with the boxes and the selection as they were.
TEST_F(ChaptersWindow, AddTakesTheTitleBoxAndTheCaretOffset)
{
    FrmChapters *window = frmChapters();
    EXPECT_EQ(window->objChapterOffset->text(), u"Offset"_s);
    EXPECT_FALSE(window->objChapterOffset->isEnabled());
    window->butAddChapter->click();
    window->objChapterOffset->setText(u"1234"_s);
    window->objChapterTitle->setText(QString(45, u't'));
    window->butAddChapter->click();
    EXPECT_EQ(window->chapterRows(), (ChapterRows{{u"Enter Chapter Title Here..."_s, u" 0"_s},
                                                  {QString(40, u't'), u" 1234"_s}}));
    EXPECT_EQ(window->objChapterTitle->text(), QString(45, u't'));
    EXPECT_EQ(window->lstChapterTitle->currentRow(), -1);
}

// Selecting a row in one list selects it in the other; moves follow the chapter and stop at the
// ends; Sort keeps the selected index; Delete leaves nothing selected, so a second Delete does
// nothing.
TEST_F(ChaptersWindow, RowButtonsActOnTheRowSelectedInBothLists)
{
    FrmChapters *window = frmChapters();
    window->setChapterRows(ThreeRows);
    window->lstChapterOffset->setCurrentRow(0);
    EXPECT_EQ(window->lstChapterTitle->currentRow(), 0);
    window->objDown->click();
    EXPECT_EQ(window->chapterRows(), (ChapterRows{ThreeRows[1], ThreeRows[0], ThreeRows[2]}));
    EXPECT_EQ(window->lstChapterOffset->currentRow(), 1);
    window->objMoveUp->click();
    window->objMoveUp->click();
    EXPECT_EQ(window->chapterRows(), ThreeRows);
    EXPECT_EQ(window->lstChapterTitle->currentRow(), 0);

    QTest::keyClick(window->lstChapterTitle, Qt::Key_Down);
    EXPECT_EQ(window->lstChapterOffset->currentRow(), 1) << "keyboard selection is mirrored too";
    window->objSortChapters->click();
    EXPECT_EQ(window->chapterRows(),
              (ChapterRows{{u"Three"_s, u" 5"_s}, {u"One"_s, u"10"_s}, {u"Two"_s, u"20"_s}}));
    EXPECT_EQ(window->lstChapterOffset->currentRow(), 1);

    window->butDeleteChapter->click();
    window->butDeleteChapter->click();
    EXPECT_EQ(window->chapterRows(), (ChapterRows{{u"Three"_s, u" 5"_s}, {u"Two"_s, u"20"_s}}));
    EXPECT_TRUE(window->lstChapterTitle->selectedItems().isEmpty());
    EXPECT_TRUE(window->lstChapterOffset->selectedItems().isEmpty());
}

TEST_F(ChaptersWindow, DoubleClickPutsTheCaretAtTheChapter)
{
    FrmChapters *window = frmChapters();
    BookEditor *editor = frmLeafwright()->objBook;
    editor->setText(u"line one\r\nline two\r\nend"_s);
    window->setChapterRows({{u"Two"_s, u" 10"_s}, {u"Far"_s, u"99999"_s}});
    window->show();
    processEvents();
    const QRect row = window->lstChapterOffset->visualItemRect(window->lstChapterOffset->item(0));
    QTest::mouseClick(window->lstChapterOffset->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(window->lstChapterOffset->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(editor->SelStart(), 10);
    EXPECT_FALSE(editor->textCursor().hasSelection());

    window->lstChapterTitle->setCurrentRow(1);
    emit window->lstChapterTitle->itemDoubleClicked(window->lstChapterTitle->item(1));
    EXPECT_EQ(editor->SelStart(), editor->Text().size()) << "past the end: at the end";
}

TEST_F(ChaptersWindow, ClearAsksAndEmptiesBothListsOnlyOnYes)
{
    FrmChapters *window = frmChapters();
    window->setChapterRows(ThreeRows);
    m_prompts.answers = {false, true};
    window->objClearChapters->click();
    EXPECT_EQ(window->chapterRows(), ThreeRows);
    window->objClearChapters->click();
    EXPECT_TRUE(window->chapterRows().isEmpty());
    EXPECT_EQ(m_prompts.asked[0].title, u"Clear Chapters?"_s);
    EXPECT_EQ(m_prompts.asked[0].text,
              u"Are you sure you want to clear all Chapter information?"_s);
}

TEST_F(ChaptersWindow, ScanAppendsBehindTheRowsAndEndsWithAnEmptyStatusAndAFullBar)
{
    FrmChapters *window = frmChapters();
    BookEditor *editor = frmLeafwright()->objBook;
    editor->setText(u"Prologue\r\nChapter One: Away\r\nChapter Two: Back\r\n"_s);
    window->setChapterRows({{u"Kept"_s, u" 0"_s}});
    window->objAutoChapterType[3]->setChecked(true);
    window->objAutoLine->setChecked(true);
    bool editorDisabledDuringScan = true;
    QObject::connect(window->objProgress, &QProgressBar::valueChanged, window, [&] {
        editorDisabledDuringScan = editorDisabledDuringScan && !editor->isEnabled();
    });
    window->objScanChapters->click();

    EXPECT_EQ(window->chapterRows(), (ChapterRows{{u"Kept"_s, u" 0"_s},
                                                  {u"Prologue"_s, u"0"_s},
                                                  {u"Chapter One: Away"_s, u"10"_s},
                                                  {u"Chapter Two: Back"_s, u"29"_s}}));
    EXPECT_TRUE(editorDisabledDuringScan);
    EXPECT_TRUE(editor->isEnabled());
    EXPECT_TRUE(window->lblStatus->text().isEmpty());
    EXPECT_EQ(window->objProgress->value(), window->objProgress->maximum());

    // Hidden and shown again, the window keeps its table and choices.
    window->butHide->click();
    frmLeafwright()->mnuChapters->trigger();
    EXPECT_EQ(frmChapters(), window);
    EXPECT_EQ(window->chapterRows().size(), 4);
    EXPECT_TRUE(window->objAutoChapterType[3]->isChecked());
    EXPECT_TRUE(window->objAutoLine->isChecked());
}

TEST_F(ChaptersWindow, FoundChaptersAreReviewedThenAddedInTextOrder)
{
    BookEditor *editor = frmLeafwright()->objBook;
    editor->setText(u"Just a paragraph of prose."_s);
    frmChapters()->butFindChapters->click();
    ASSERT_EQ(m_prompts.messages().size(), 1);
    EXPECT_EQ(m_prompts.messages()[0].text, u"No chapter headings were found in the book."_s);
    EXPECT_EQ(loadedWindows().foundChapters, nullptr);

    const QString prose =
        u"It was a long day, and the road ran on past the river and the mill.\r\n"_s.repeated(6);
    editor->setText(u"Preface note.\r\n\r\n\r\nCHAPTER I\r\n\r\n"_s + prose
                    + u"\r\n\r\nCHAPTER II\r\n\r\n"_s + prose + u"\r\n\r\nCHAPTER III\r\n\r\n"_s
                    + prose);
    const QString text = editor->Text();
    frmChapters()->setChapterRows({{u"Kept"_s, u" 3"_s}});
    frmChapters()->butFindChapters->click();
    QPointer<FrmFoundChapters> review = frmFoundChapters();
    ASSERT_TRUE(review->isVisible());
    QTableWidget *list = review->lstFoundChapters;
    ASSERT_EQ(list->rowCount(), 3);
    EXPECT_EQ(list->item(1, 0)->text(), u"chapter"_s);
    EXPECT_EQ(list->item(1, 0)->checkState(), Qt::Checked);
    EXPECT_EQ(list->item(1, 1)->text(), u"CHAPTER II"_s);
    EXPECT_EQ(list->item(1, 2)->text(), QString::number(text.indexOf(u"CHAPTER II"_s)));
    list->cellDoubleClicked(2, 3);
    EXPECT_EQ(editor->SelStart(), text.indexOf(u"CHAPTER III"_s));

    list->item(1, 0)->setCheckState(Qt::Unchecked);
    list->item(2, 1)->setText(u"The last chapter, with a title far longer than forty"_s);
    review->butAddChapters->click();
    processEvents();
    EXPECT_TRUE(review.isNull());
    EXPECT_EQ(frmChapters()->chapterRows(),
              (ChapterRows{{u"Kept"_s, u" 3"_s},
                           {u"CHAPTER I"_s, QString::number(text.indexOf(u"CHAPTER I"_s))},
                           {u"The last chapter, with a title far longe"_s,
                            QString::number(text.indexOf(u"CHAPTER III"_s))}}));
}

} // namespace
