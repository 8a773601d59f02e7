#include "uitest.h"

#include "ui/bookeditor.h"
#include "ui/frmchapters.h"
#include "ui/frmcleaner.h"
#include "ui/frmfind.h"
#include "ui/frmfoundchapters.h"
#include "ui/frminfo.h"
#include "ui/frmleafwright.h"
#include "ui/frmreplace.h"
#include "ui/multilinetextbox.h"
#include "ui/windows.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

using namespace Qt::StringLiterals;

namespace {

using Windows = UiTest;

TEST_F(Windows, BookInfoKeepsWhatWasTypedThroughOkAndTheCloseBox)
{
    frmLeafwright()->mnuInfo->trigger();
    FrmInfo *info = frmInfo();
    QTest::keyClicks(info->objTitle, QString(300, u'T'));
    QTest::keyClicks(info->objSynopsis, u"One"_s);
    QTest::keyClick(info->objSynopsis, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(info->objSynopsis, u"two"_s);
    info->butOK->click();
    EXPECT_TRUE(info->isHidden());
    frmLeafwright()->mnuInfo->trigger();
    info->close();
    frmLeafwright()->mnuInfo->trigger();
    EXPECT_EQ(frmInfo(), info);
    EXPECT_EQ(info->objTitle->text(), QString(300, u'T')) << "the box keeps text of any length";
    EXPECT_EQ(info->objSynopsis->Text(), u"One\r\ntwo"_s);
}

// The arguments are joined with single spaces and their quotes dropped: the name with one blank
// is the one opened. A file that cannot be read is named in a message and the program starts
// empty, without making any document window.
TEST_F(Windows, StartUpOpensTheBookNamedByTheJoinedArguments)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(u"missing.vlm"_s);
    frmLeafwright()->Form_Load({missing});
    ASSERT_EQ(m_prompts.messages().size(), 1);
    EXPECT_TRUE(m_prompts.messages()[0].text.contains(QDir::toNativeSeparators(missing)));
    EXPECT_EQ(loadedWindows().info, nullptr);

    ASSERT_TRUE(QDir(dir.path()).mkdir(u"My Books"_s));
    writeBytes(dir.filePath(u"My Books/A Book.vlm"_s), header(0, "Stored", "", "") + "body");
    frmLeafwright()->Form_Load({u"\""_s + dir.filePath(u"My"_s), u"Books/A"_s, u"Bo\"ok.vlm\""_s});
    EXPECT_EQ(m_prompts.messages().size(), 1);
    EXPECT_EQ(frmLeafwright()->objBook->Text(), u"body"_s);
    EXPECT_EQ(frmInfo()->objTitle->text().trimmed(), u"Stored"_s);
}

TEST_F(Windows, EditorGivesLineBreaksAsCrLfAndCountsThemAsTwoCharacters)
{
    BookEditor editor;
    editor.setText(u"a\nb\rc\r\r\nd\u00A0e\t"_s);
    EXPECT_EQ(editor.Text(), u"a\r\nb\r\nc\r\n\r\nd\u00A0e\t"_s);
    editor.setText(u"ab\r\ncd\r\n\r\nef"_s);
    // An offset, and where the caret lands read back as an offset: inside CR LF before the pair,
    // past the end at the end.
    const std::pair<qint64, int> offsets[] = {{2, 2}, {3, 2}, {4, 4}, {8, 8}, {13, 12}, {-5, 0}};
    for (const auto &[offset, landed] : offsets) {
        editor.setSelStart(offset);
        EXPECT_EQ(editor.SelStart(), landed) << "offset " << offset;
        EXPECT_FALSE(editor.textCursor().hasSelection());
    }
    editor.setSelStart(1);
    editor.setSelLength(5);
    EXPECT_EQ(editor.textCursor().selectedText(), u"b\u2029cd"_s);

    editor.setText(u"ab"_s);
    editor.setSelStart(1);
    QTest::keyClick(&editor, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(&editor, Qt::Key_Return);
    EXPECT_EQ(editor.Text(), u"a\r\n\r\nb"_s);
    EXPECT_EQ(editor.SelStart(), 5);
}

// The Chapters window's offset box follows the caret on typing (the key press before the
// character goes in, the change after it), clicks and focus changes, never on keys that only
// move the caret; typing before the window was ever opened creates it hidden.
TEST_F(Windows, CaretOffsetReachesTheChaptersOffsetBox)
{
    FrmLeafwright *window = frmLeafwright();
    BookEditor *editor = window->objBook;
    ASSERT_EQ(loadedWindows().chapters, nullptr);
    QTest::keyClicks(editor, u"ab"_s);
    ASSERT_NE(loadedWindows().chapters, nullptr);
    EXPECT_TRUE(frmChapters()->isHidden());
    QLineEdit *box = frmChapters()->objChapterOffset;
    EXPECT_EQ(box->text(), u"2"_s);

    editor->setText(u"one\r\ntwo\r\nthree"_s);
    editor->setSelStart(5);
    QStringList shown;
    QObject::connect(box, &QLineEdit::textChanged, box,
                     [&](const QString &text) { shown << text; });
    QTest::keyClicks(editor, u"x"_s);
    EXPECT_EQ(shown, (QStringList{u"5"_s, u"6"_s}));

    window->show();
    QApplication::setActiveWindow(window);
    processEvents();
    QTest::keyClick(editor, Qt::Key_Right);
    QTest::keyClick(editor, Qt::Key_Down);
    EXPECT_EQ(box->text(), u"6"_s) << "arrow keys alone do not update the box";

    // A click on the start of the third line: offset 3 + 2 + 4 + 2.
    const QRect line = editor->cursorRect(QTextCursor(editor->document()->findBlockByNumber(2)));
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, QPoint(1, line.center().y()));
    EXPECT_EQ(box->text(), u"11"_s);

    editor->clearFocus();
    editor->setSelStart(2);
    editor->setFocus();
    EXPECT_EQ(box->text(), u"2"_s) << "gaining the focus";
}

// The windows of lists and text start at their designed size and grow from there: the lists
// and boxes with them, what stands below them moving down.
TEST_F(Windows, ListAndTextWindowsGrowFromTheirDesignedSize)
{
    FrmChapters *chapters = frmChapters();
    chapters->show();
    const QSize designed = chapters->size();
    EXPECT_EQ(chapters->minimumSize(), designed);
    const QRect titles = chapters->lstChapterTitle->geometry();
    const QRect offsets = chapters->lstChapterOffset->geometry();
    const QRect hide = chapters->butHide->geometry();
    chapters->resize(designed + QSize(400, 300));
    EXPECT_EQ(chapters->lstChapterTitle->geometry(), titles.adjusted(0, 0, 300, 300));
    EXPECT_EQ(chapters->lstChapterOffset->geometry(), offsets.adjusted(300, 0, 400, 300));
    EXPECT_EQ(chapters->butHide->geometry(), hide.translated(0, 300));
    chapters->resize(designed);
    EXPECT_EQ(chapters->lstChapterTitle->geometry(), titles) << "back at the designed size";

    FrmInfo *info = frmInfo();
    info->show();
    const QRect synopsis = info->objSynopsis->geometry();
    info->resize(info->size() + QSize(100, 50));
    EXPECT_EQ(info->objSynopsis->geometry(), synopsis.adjusted(0, 0, 100, 50));
}

TEST_F(Windows, CleanRunsTheTickedBoxesAndCloses)
{
    BookEditor *editor = frmLeafwright()->objBook;
    editor->setText(u"one\r\ntwo\r\n\r\nthree\t"_s);
    QPointer<FrmCleaner> window = frmCleaner();
    window->objClean[0]->setChecked(true);
    window->objClean[4]->setChecked(true);
    window->butClean->click();
    processEvents();
    EXPECT_EQ(editor->Text(), u"one two\r\n\r\nthree"_s);
    EXPECT_TRUE(editor->isEnabled());
    EXPECT_TRUE(window.isNull());

    // Toggle All is decided by the indents box alone, and sets all eight.
    frmCleaner()->objClean[1]->setChecked(true);
    frmCleaner()->butToggle->click();
    EXPECT_EQ(frmCleaner()->objClean[7]->isChecked(), false);
    frmCleaner()->butToggle->click();
    for (QCheckBox *box : frmCleaner()->objClean)
        EXPECT_TRUE(box->isChecked());
    frmCleaner()->butCancel->click();
    processEvents();

    // Removing the Gutenberg frame fills only Book Info fields that are empty or fill spaces.
    editor->setText(u"Title: Emma\r\nAuthor: Jane Austen\r\n"
                    "*** START OF THE PROJECT GUTENBERG EBOOK EMMA ***\r\n\r\n"
                    "CHAPTER I\r\n\r\n*** END OF THE PROJECT GUTENBERG EBOOK EMMA ***\r\n"
                    "Section 1."_s);
    frmInfo()->objTitle->setText(u"My Emma"_s);
    frmInfo()->objAuthor->setText(u"   "_s);
    frmCleaner()->objClean[6]->setChecked(true);
    frmCleaner()->objClean[7]->setChecked(true);
    frmCleaner()->butClean->click();
    processEvents();
    EXPECT_EQ(editor->Text(), u"CHAPTER I"_s);
    EXPECT_EQ(frmInfo()->objTitle->text(), u"My Emma"_s);
    EXPECT_EQ(frmInfo()->objAuthor->text(), u"Jane Austen"_s);
}

// Enter in Find selects the first occurrence from the beginning, case ignored, and gives the
// editor the focus; the window stays open, and an empty search text occurs at the start.
TEST_F(Windows, FindSelectsTheFirstOccurrenceAndFocusesTheEditor)
{
    FrmLeafwright *main = frmLeafwright();
    BookEditor *editor = main->objBook;
    main->show();
    editor->setText(u"An apple.\r\nAn APPLE tree. An apple pie."_s);
    main->mnuFind->trigger();
    FrmFind *find = frmFind();
    QApplication::setActiveWindow(find);
    EXPECT_EQ(QApplication::focusWidget(), find->objFind);
    QTest::keyClicks(find->objFind, u"Apple"_s);
    editor->setSelStart(20);
    QTest::keyClick(find->objFind, Qt::Key_Return);
    EXPECT_EQ(editor->SelStart(), 3);
    EXPECT_EQ(editor->textCursor().selectedText(), u"apple"_s);
    processEvents();
    EXPECT_EQ(QApplication::activeWindow(), main);
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_TRUE(find->isVisible());

    // F3, from the editor or any window, and Find Next search on from the selection and wrap to
    // the start, saying so; Return in the editor stays a line break.
    const auto status = [&] { return main->statusBar()->currentMessage(); };
    QTest::keyClick(editor, Qt::Key_F3);
    EXPECT_EQ(editor->SelStart(), 14);
    EXPECT_EQ(status(), QString());
    find->butFindNext->click();
    EXPECT_EQ(editor->SelStart(), 29);
    QTest::keyClick(frmInfo()->objTitle, Qt::Key_F3);
    EXPECT_EQ(editor->SelStart(), 3);
    EXPECT_EQ(status(), u"Find Next went on from the start of the book."_s);
    find->objFind->setText(u"pear"_s);
    find->butFindNext->click();
    EXPECT_EQ(m_prompts.messages().last().text, u"String not found:\r\n\r\npear"_s);
    EXPECT_EQ(editor->SelStart(), 3) << "the selection stays";

    m_prompts.asked.clear();
    find->objFind->clear();
    find->butFind->click();
    EXPECT_EQ(editor->SelStart(), 0);
    EXPECT_TRUE(m_prompts.asked.isEmpty());

    // The menus' keys work from the tool windows too, a box's own editing keys first.
    QApplication::setActiveWindow(find);
    ASSERT_EQ(QApplication::activeWindow(), find);
    QTest::keyClick(find->objFind, Qt::Key_B, Qt::ControlModifier);
    EXPECT_TRUE(frmInfo()->isVisible());
}

// Enter in Replace's search box does nothing, in its replacement box replaces every occurrence,
// case ignored. A search that fails says so with the editor disabled while the message is up (in
// an empty book also an empty search), and a replacement that finds nothing changes nothing.
TEST_F(Windows, ReplaceReplacesEveryOccurrenceAndFailuresSaySo)
{
    FrmLeafwright *main = frmLeafwright();
    main->objBook->setText(u"Colour, COLOUR and colour"_s);
    main->mnuReplace->trigger();
    FrmReplace *replace = frmReplace();
    QApplication::setActiveWindow(replace);
    QTest::keyClicks(replace->objFind, u"colour"_s);
    QTest::keyClick(replace->objFind, Qt::Key_Return);
    EXPECT_EQ(main->objBook->Text(), u"Colour, COLOUR and colour"_s);
    QTest::keyClick(replace->objFind, Qt::Key_Tab);
    QTest::keyClicks(replace->objReplace, u"color"_s);
    QTest::keyClick(replace->objReplace, Qt::Key_Return);
    EXPECT_EQ(main->objBook->Text(), u"color, color and color"_s);
    EXPECT_TRUE(replace->isVisible());
    EXPECT_TRUE(m_prompts.asked.isEmpty());

    QList<bool> editorEnabled;
    m_prompts.whileAsking = [&] { editorEnabled << main->objBook->isEnabled(); };
    replace->objFind->setText(u"kiwi"_s);
    replace->butReplace->click();
    EXPECT_EQ(main->objBook->Text(), u"color, color and color"_s);
    FrmFind *find = frmFind();
    showWindow(find);
    main->objBook->setText(QString());
    find->objFind->clear();
    find->butFind->click();
    EXPECT_TRUE(main->objBook->isEnabled());
    QStringList messages;
    for (const ScriptedPrompts::Asked &message : m_prompts.messages())
        messages << message.title + u": "_s + message.text;
    EXPECT_EQ(m_prompts.messages()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(messages, (QStringList{u"Replace: String not found:\r\n\r\nkiwi"_s,
                                     u"Find: String not found:\r\n\r\n"_s}));
    EXPECT_EQ(editorEnabled, (QList<bool>{false, false}));

    QPointer<FrmFind> closing = find;
    find->butCancel->click();
    processEvents();
    EXPECT_TRUE(closing.isNull());
}

const ChapterRows ThreeRows = rows(u"One@ 10|Two@20|Three@ 5"_s);

// Selecting a row in one list selects it in the other; moves follow the chapter and stop at the
// ends; Sort keeps the selected index; Delete leaves nothing selected, so a second Delete does
// nothing; a double click goes to the chapter; Clear asks first.
TEST_F(Windows, ChaptersButtonsActOnTheRowSelectedInBothLists)
{
    FrmChapters *window = frmChapters();
    // Pressed at once, Add Chapter adds an empty title (the box only shows its hint) at offset 0;
    // then the typed title cut at 40 and the caret's offset, with the boxes and the selection as
    // they were. A row in the middle of a line is asked about first.
    EXPECT_EQ(window->objChapterTitle->placeholderText(), u"Enter Chapter Title Here..."_s);
    EXPECT_EQ(window->objChapterTitle->text(), QString());
    EXPECT_EQ(window->objChapterOffset->text(), u"Offset"_s);
    EXPECT_FALSE(window->objChapterOffset->isEnabled());
    window->butAddChapter->click();
    frmLeafwright()->objBook->setText(u"A line\r\n"_s.repeated(200));
    m_prompts.answers = {false, true};
    for (const QString &offset : {u"1235"_s, u"1235"_s, u"1240"_s}) {
        window->objChapterOffset->setText(offset);
        window->objChapterTitle->setText(QString(45, u't'));
        window->butAddChapter->click();
    }
    EXPECT_EQ(m_prompts.asked.size(), 2);
    EXPECT_EQ(m_prompts.asked[0].text, u"Offset 1235 is in the middle of a line, so the chapter "
                                       "would start there. Add it all the same?"_s);
    EXPECT_EQ(window->chapterRows(),
              rows(u"@ 0|"_s + QString(40, u't') + u"@ 1235|"_s + QString(40, u't') + u"@ 1240"_s));
    EXPECT_EQ(window->objChapterTitle->text(), QString(45, u't'));
    EXPECT_EQ(window->lstChapterTitle->currentRow(), -1);
    window->setChapterRows({});

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
    EXPECT_EQ(window->chapterRows(), rows(u"Three@ 5|One@10|Two@20"_s));
    EXPECT_EQ(window->lstChapterOffset->currentRow(), 1);

    window->butDeleteChapter->click();
    window->butDeleteChapter->click();
    EXPECT_EQ(window->chapterRows(), rows(u"Three@ 5|Two@20"_s));
    EXPECT_TRUE(window->lstChapterTitle->selectedItems().isEmpty());
    EXPECT_TRUE(window->lstChapterOffset->selectedItems().isEmpty());

    // A double click puts the caret at the chapter, one past the end at the end.
    BookEditor *editor = frmLeafwright()->objBook;
    editor->setText(u"line one\r\nline two"_s);
    for (const int row : {0, 1}) {
        window->lstChapterTitle->setCurrentRow(row);
        emit window->lstChapterTitle->itemDoubleClicked(window->lstChapterTitle->item(row));
        EXPECT_EQ(editor->SelStart(), row == 0 ? 5 : 18);
        EXPECT_EQ(window->objChapterOffset->text(), row == 0 ? u"5"_s : u"18"_s)
            << "the offset box follows at once";
    }

    // Clear asks first; No keeps the rows.
    m_prompts.answers = {false, true};
    window->objClearChapters->click();
    EXPECT_EQ(window->chapterRows().size(), 2);
    window->objClearChapters->click();
    EXPECT_TRUE(window->chapterRows().isEmpty());
}

TEST_F(Windows, ChaptersScanAppendsBehindTheRowsAndEndsWithAFullBar)
{
    FrmChapters *window = frmChapters();
    BookEditor *editor = frmLeafwright()->objBook;
    editor->setText(u"Prologue\r\nChapter One: Away\r\nChapter Two: Back\r\n"_s);
    window->setChapterRows(rows(u"Kept@ 0"_s));
    window->objAutoChapterType[3]->setChecked(true);
    window->objAutoLine->setChecked(true);
    window->objScanChapters->click();

    EXPECT_EQ(window->chapterRows(),
              rows(u"Kept@ 0|Prologue@0|Chapter One: Away@10|Chapter Two: Back@29"_s));
    EXPECT_TRUE(editor->isEnabled());
    EXPECT_EQ(window->objProgress->value(), window->objProgress->maximum());

    // Hidden and shown again, the window keeps its table.
    window->butHide->click();
    frmLeafwright()->mnuChapters->trigger();
    EXPECT_EQ(frmChapters()->chapterRows().size(), 4);
}

TEST_F(Windows, ChaptersFoundChaptersAreReviewedThenAddedInTextOrder)
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
    frmChapters()->setChapterRows(rows(u"Kept@ 3"_s));
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

    // A title edited from the keyboard (F2, typing, Return) is added as typed.
    list->item(1, 0)->setCheckState(Qt::Unchecked);
    list->setCurrentCell(2, 1);
    QTest::keyClick(list, Qt::Key_F2);
    auto *title = qobject_cast<QLineEdit *>(list->indexWidget(list->currentIndex()));
    ASSERT_NE(title, nullptr);
    title->selectAll();
    QTest::keyClicks(title, u"The last chapter, with a title far longer than forty"_s);
    QTest::keyClick(title, Qt::Key_Return);
    processEvents();
    EXPECT_TRUE(review.isNull());
    EXPECT_EQ(frmChapters()->chapterRows(),
              (ChapterRows{{u"Kept"_s, u" 3"_s},
                           {u"CHAPTER I"_s, QString::number(text.indexOf(u"CHAPTER I"_s))},
                           {u"The last chapter, with a title far longe"_s,
                            QString::number(text.indexOf(u"CHAPTER III"_s))}}));
}

} // namespace
