#include "uitest.h"

#include "app/bookeditor.h"
#include "app/frmleafwright.h"
#include "app/windows.h"
#include "chapters/frmchapters.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTextBlock>

using namespace Qt::StringLiterals;

namespace {

using Editor = UiTest;

TEST_F(Editor, TextGivesEveryLineBreakAsCrLfAndNothingElseChanged)
{
    BookEditor editor;
    const std::pair<QString, QString> cases[] = {
        {u"a\r\nb"_s, u"a\r\nb"_s},
        {u"a\nb\rc"_s, u"a\r\nb\r\nc"_s},
        {u"a\r\r\nb"_s, u"a\r\n\r\nb"_s},
        {u"ends\r\n"_s, u"ends\r\n"_s},
        {u"no\u00A0break space, tab\there"_s, u"no\u00A0break space, tab\there"_s},
        {u""_s, u""_s},
    };
    for (const auto &[in, out] : cases) {
        editor.setText(in);
        EXPECT_EQ(editor.Text(), out) << in.toStdString();
    }
}

TEST_F(Editor, OffsetsCountALineBreakAsTwoCharacters)
{
    BookEditor editor;
    editor.setText(u"ab\r\ncd\r\n\r\nef"_s);
    // offset -> where the caret lands, read back as an offset
    const std::pair<qint64, int> cases[] = {
        {0, 0},   {1, 1},       {2, 2}, // "ab", then the caret before the line break
        {3, 2},                         // inside CR LF: before the pair
        {4, 4},   {5, 5},       {6, 6}, // "cd" starts after the two characters of the break
        {8, 8},                         // the empty line
        {10, 10}, {12, 12},             // "ef" and the end of the text
        {13, 12}, {100000, 12},         // past the end: at the end
        {-5, 0},
    };
    for (const auto &[offset, landed] : cases) {
        editor.setSelStart(offset);
        EXPECT_EQ(editor.SelStart(), landed) << "offset " << offset;
        EXPECT_FALSE(editor.textCursor().hasSelection());
    }

    editor.setSelStart(1);
    editor.setSelLength(5);
    EXPECT_EQ(editor.textCursor().selectedText(), u"b\u2029cd"_s);
    EXPECT_EQ(editor.SelStart(), 1);
}

TEST_F(Editor, ShiftEnterMakesAnOrdinaryLineBreak)
{
    BookEditor editor;
    editor.setText(u"ab"_s);
    editor.setSelStart(1);
    QTest::keyClick(&editor, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(&editor, Qt::Key_Return);
    EXPECT_EQ(editor.Text(), u"a\r\n\r\nb"_s);
    EXPECT_EQ(editor.SelStart(), 5);
}

// The Chapters window's offset box follows the caret on typing, clicks, text changes and focus
// changes, never on keys that only move the caret.
TEST_F(Editor, CaretOffsetReachesTheChaptersOffsetBox)
{
    FrmLeafwright *window = frmLeafwright();
    BookEditor *editor = window->objBook;
    window->show();
    editor->setText(u"one\r\ntwo\r\nthree"_s);
    processEvents();
    QLineEdit *box = frmChapters()->objChapterOffset;
    EXPECT_TRUE(frmChapters()->isHidden());
    EXPECT_EQ(box->text(), u"0"_s);

    editor->setSelStart(10);
    QTest::keyClick(editor, Qt::Key_Right);
    QTest::keyClick(editor, Qt::Key_Down);
    EXPECT_EQ(box->text(), u"0"_s) << "arrow keys alone do not update the box";

    editor->setSelStart(5);
    QTest::keyClicks(editor, u"x"_s);
    EXPECT_EQ(editor->Text(), u"one\r\nxtwo\r\nthree"_s);
    EXPECT_EQ(box->text(), u"6"_s);

    // A click on the start of the third line: offset 3 + 2 + 4 + 2.
    const QTextBlock third = editor->document()->findBlockByNumber(2);
    const QRect line = editor->cursorRect(QTextCursor(third));
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, QPoint(1, line.center().y()));
    EXPECT_EQ(box->text(), u"11"_s);
}

TEST_F(Editor, TypedCharactersAndFocusChangesEachUpdateTheOffsetBox)
{
    FrmLeafwright *window = frmLeafwright();
    BookEditor *editor = window->objBook;
    editor->setText(u"abcdefgh"_s);
    QLineEdit *box = frmChapters()->objChapterOffset;
    QStringList shown;
    QObject::connect(box, &QLineEdit::textChanged, box,
                     [&](const QString &text) { shown << text; });

    // The key press is told before the character goes in, the change after it.
    editor->setSelStart(5);
    QTest::keyClicks(editor, u"x"_s);
    EXPECT_EQ(shown, (QStringList{u"5"_s, u"6"_s}));

    window->show();
    QApplication::setActiveWindow(window);
    editor->clearFocus();
    editor->setSelStart(2);
    shown.clear();
    editor->setFocus();
    EXPECT_EQ(shown, QStringList{u"2"_s}) << "gaining the focus";

    editor->setSelStart(4);
    editor->clearFocus();
    EXPECT_EQ(shown, (QStringList{u"2"_s, u"4"_s})) << "losing the focus";
}

TEST_F(Editor, TypingWhileTheChaptersWindowWasNeverOpenedCreatesItHidden)
{
    FrmLeafwright *window = frmLeafwright();
    ASSERT_EQ(loadedWindows().chapters, nullptr);
    QTest::keyClicks(window->objBook, u"ab"_s);
    ASSERT_NE(loadedWindows().chapters, nullptr);
    EXPECT_TRUE(frmChapters()->isHidden());
    EXPECT_EQ(frmChapters()->objChapterOffset->text(), u"2"_s);
}

} // namespace
