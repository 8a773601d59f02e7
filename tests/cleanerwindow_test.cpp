#include "uitest.h"

#include "app/bookeditor.h"
#include "app/frmleafwright.h"
#include "app/windows.h"
#include "cleaner/frmcleaner.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

using CleanerWindow = UiTest;

TEST_F(CleanerWindow, OpensWithAllSixBoxesUntickedAndTheirCaptions)
{
    frmLeafwright()->mnuCleaner->trigger();
    FrmCleaner *window = frmCleaner();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), u"Cleaner"_s);
    const QStringList captions = {u"Clean preformatted text (Recommended but only once)"_s,
                                  u"Clean paragraph indents"_s,
                                  u"Clean smart quotes"_s,
                                  u"Clean double carraige returns"_s,
                                  u"Clean Tabs"_s,
                                  u"Clean double spaces"_s};
    ASSERT_EQ(window->objClean.size(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(window->objClean[i]->text(), captions[i]);
        EXPECT_FALSE(window->objClean[i]->isChecked());
    }
    // The tab order runs down the boxes, then Toggle All, Cancel and Clean.
    EXPECT_EQ(window->objClean[5]->nextInFocusChain(), window->butToggle);
    EXPECT_EQ(window->butCancel->nextInFocusChain(), window->butClean);

    // Ticks survive choosing the menu item again, but not closing the window.
    window->objClean[3]->setChecked(true);
    frmLeafwright()->mnuCleaner->trigger();
    EXPECT_EQ(frmCleaner(), window);
    EXPECT_TRUE(window->objClean[3]->isChecked());
    window->butCancel->click();
    processEvents();
    EXPECT_EQ(loadedWindows().cleaner, nullptr);
    EXPECT_FALSE(frmCleaner()->objClean[3]->isChecked());
}

TEST_F(CleanerWindow, ToggleAllIsDecidedByTheIndentsBoxAlone)
{
    FrmCleaner *window = frmCleaner();
    window->objClean[1]->setChecked(true);
    window->butToggle->click();
    for (QCheckBox *box : window->objClean)
        EXPECT_FALSE(box->isChecked());

    window->objClean[0]->setChecked(true);
    window->butToggle->click();
    for (QCheckBox *box : window->objClean)
        EXPECT_TRUE(box->isChecked());
}

TEST_F(CleanerWindow, CleanRunsTheTickedBoxesAndCloses)
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
}

TEST_F(CleanerWindow, CleanWithNothingTickedLeavesTheTextAndCloses)
{
    BookEditor *editor = frmLeafwright()->objBook;
    editor->setText(u"a\r\n  b"_s);
    editor->setSelStart(3);
    QPointer<FrmCleaner> window = frmCleaner();
    window->butClean->click();
    processEvents();
    EXPECT_EQ(editor->Text(), u"a\r\n  b"_s);
    EXPECT_EQ(editor->SelStart(), 3);
    EXPECT_TRUE(editor->isEnabled());
    EXPECT_TRUE(window.isNull());
}

} // namespace
