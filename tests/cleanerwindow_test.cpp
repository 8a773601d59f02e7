#include "uitest.h"

#include "app/bookeditor.h"
#include "app/frminfo.h"
#include "app/frmleafwright.h"
#include "app/twips.h"
#include "app/windows.h"
#include "cleaner/frmcleaner.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

using CleanerWindow = UiTest;

TEST_F(CleanerWindow, OpensWithAllEightBoxesUntickedAndTheirCaptions)
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
                                  u"Clean double spaces"_s,
                                  u"Remove Project Gutenberg header and licence"_s,
                                  u"Replace characters a book file cannot hold"_s};
    ASSERT_EQ(window->objClean.size(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(window->objClean[i]->text(), captions[i]);
        EXPECT_FALSE(window->objClean[i]->isChecked());
    }
    // The tab order runs down the boxes, then Toggle All, Cancel and Clean.
    EXPECT_EQ(window->objClean[5]->nextInFocusChain(), window->butToggle);
    EXPECT_EQ(window->butCancel->nextInFocusChain(), window->butClean);
    // The two boxes for real books sit below the described controls, which keep their places.
    EXPECT_EQ(window->butClean->geometry(), toPixels({3240, 2760, 1335, 375}));
    EXPECT_GT(window->objClean[6]->y(), window->butClean->geometry().bottom());
    EXPECT_GT(window->objClean[7]->y(), window->objClean[6]->geometry().bottom());
    EXPECT_GT(window->height(), window->objClean[7]->geometry().bottom());

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

TEST_F(CleanerWindow, RemovingTheGutenbergFrameFillsOnlyEmptyBookInfo)
{
    const QString book = u"Title: Emma\r\nAuthor: Jane Austen\r\n"
                         "*** START OF THE PROJECT GUTENBERG EBOOK EMMA ***\r\n\r\n"
                         "CHAPTER I\r\n\r\n*** END OF THE PROJECT GUTENBERG EBOOK EMMA ***\r\n"
                         "Section 1."_s;
    BookEditor *editor = frmLeafwright()->objBook;
    editor->setText(book);
    frmInfo()->objTitle->setText(u"My Emma"_s);
    frmInfo()->objAuthor->setText(u"   "_s); // a loaded book's fill spaces count as empty
    FrmCleaner *window = frmCleaner();
    window->objClean[6]->setChecked(true);
    window->objClean[7]->setChecked(true);
    window->butClean->click();
    processEvents();
    EXPECT_EQ(editor->Text(), u"CHAPTER I"_s);
    EXPECT_EQ(frmInfo()->objTitle->text(), u"My Emma"_s);
    EXPECT_EQ(frmInfo()->objAuthor->text(), u"Jane Austen"_s);
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
