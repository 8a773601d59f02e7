#include "uitest.h"

#include "app/bookeditor.h"
#include "app/frmleafwright.h"
#include "app/windows.h"
#include "search/frmfind.h"
#include "search/frmreplace.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using SearchWindows = UiTest;

QString selection(BookEditor *editor)
{
    return editor->textCursor().selectedText();
}

TEST_F(SearchWindows, EnterInFindSelectsTheFirstOccurrenceAndFocusesTheEditor)
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
    EXPECT_EQ(selection(editor), u"apple"_s);
    processEvents();
    EXPECT_EQ(QApplication::activeWindow(), main);
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_TRUE(editor->isEnabled());

    // Every search starts again at the beginning, and the window stays open.
    find->butFind->click();
    EXPECT_EQ(editor->SelStart(), 3);
    EXPECT_TRUE(find->isVisible());
    EXPECT_TRUE(m_prompts.asked.isEmpty());

    find->objFind->setText(u"b"_s);
    editor->setText(u"abc"_s);
    find->butFind->click();
    EXPECT_EQ(editor->SelStart(), 1);
    EXPECT_EQ(selection(editor), u"b"_s);

    find->objFind->clear();
    find->butFind->click();
    EXPECT_EQ(editor->SelStart(), 0);
    EXPECT_TRUE(selection(editor).isEmpty());
    EXPECT_TRUE(m_prompts.asked.isEmpty()) << "an empty search text occurs at the start";
}

TEST_F(SearchWindows, FindThatFailsSaysSoWithTheEditorDisabled)
{
    FrmLeafwright *main = frmLeafwright();
    main->objBook->setText(u"abc"_s);
    FrmFind *find = frmFind();
    showWindow(find);
    QApplication::setActiveWindow(find);
    bool editorEnabledDuringMessage = true;
    m_prompts.whileAsking = [&] { editorEnabledDuringMessage = main->objBook->isEnabled(); };

    find->objFind->setText(u" Zz"_s);
    QTest::keyClick(find->objFind, Qt::Key_Return);
    ASSERT_EQ(m_prompts.messages().size(), 1);
    const ScriptedPrompts::Asked message = m_prompts.messages()[0];
    EXPECT_EQ(message.title, u"Find"_s);
    EXPECT_EQ(message.text, u"String not found:\r\n\r\n Zz"_s);
    EXPECT_EQ(message.icon, MessageIcon::Exclamation);
    EXPECT_FALSE(editorEnabledDuringMessage);
    EXPECT_TRUE(main->objBook->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), find->butFind);

    // In an empty book every search fails, also an empty one.
    main->objBook->setText(QString());
    find->objFind->clear();
    find->butFind->click();
    ASSERT_EQ(m_prompts.messages().size(), 2);
    EXPECT_EQ(m_prompts.messages()[1].text, u"String not found:\r\n\r\n"_s);

    QPointer<FrmFind> closing = find;
    find->butCancel->click();
    processEvents();
    EXPECT_TRUE(closing.isNull());
}

TEST_F(SearchWindows, EnterInTheReplacementBoxReplacesAndEnterInTheSearchBoxDoesNot)
{
    FrmLeafwright *main = frmLeafwright();
    main->objBook->setText(u"Colour, COLOUR and colour"_s);
    main->mnuReplace->trigger();
    FrmReplace *replace = frmReplace();
    QApplication::setActiveWindow(replace);
    EXPECT_EQ(QApplication::focusWidget(), replace->objFind);
    EXPECT_EQ(replace->objReplace->nextInFocusChain(), replace->butCancel);
    EXPECT_EQ(replace->butCancel->nextInFocusChain(), replace->butReplace);

    QTest::keyClicks(replace->objFind, u"colour"_s);
    QTest::keyClick(replace->objFind, Qt::Key_Return);
    EXPECT_EQ(main->objBook->Text(), u"Colour, COLOUR and colour"_s);

    QTest::keyClick(replace->objFind, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), replace->objReplace);
    QTest::keyClicks(replace->objReplace, u"color"_s);
    QTest::keyClick(replace->objReplace, Qt::Key_Return);
    EXPECT_EQ(main->objBook->Text(), u"color, color and color"_s);
    EXPECT_TRUE(main->objBook->isEnabled());
    EXPECT_TRUE(replace->isVisible());
    EXPECT_TRUE(m_prompts.asked.isEmpty());
}

TEST_F(SearchWindows, ReplaceThatFindsNothingSaysSoAndChangesNothing)
{
    FrmLeafwright *main = frmLeafwright();
    main->objBook->setText(u"banana"_s);
    FrmReplace *replace = frmReplace();
    bool editorEnabledDuringMessage = true;
    m_prompts.whileAsking = [&] { editorEnabledDuringMessage = main->objBook->isEnabled(); };

    replace->objFind->setText(u"kiwi"_s);
    replace->objReplace->setText(u"x"_s);
    replace->butReplace->click();
    ASSERT_EQ(m_prompts.messages().size(), 1);
    EXPECT_EQ(m_prompts.messages()[0].title, u"Replace"_s);
    EXPECT_EQ(m_prompts.messages()[0].text, u"String not found:\r\n\r\nkiwi"_s);
    EXPECT_FALSE(editorEnabledDuringMessage);
    EXPECT_EQ(main->objBook->Text(), u"banana"_s);

    replace->objFind->setText(u"a"_s);
    replace->objReplace->setText(u"aa"_s);
    replace->butReplace->click();
    EXPECT_EQ(main->objBook->Text(), u"baanaanaa"_s);
    EXPECT_EQ(m_prompts.messages().size(), 1);
}

} // namespace
