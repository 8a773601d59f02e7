#include "uitest.h"

#include "app/bookeditor.h"
#include "app/frmabout.h"
#include "app/frminfo.h"
#include "app/frmleafwright.h"
#include "app/multilinetextbox.h"
#include "app/twips.h"
#include "app/windows.h"
#include "chapters/frmchapters.h"
#include "cleaner/frmcleaner.h"
#include "search/frmfind.h"
#include "search/frmreplace.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Windows = UiTest;

TEST_F(Windows, BookInfoKeepsWhatWasTypedThroughOkAndTheCloseBox)
{
    frmLeafwright()->mnuInfo->trigger();
    FrmInfo *info = frmInfo();
    EXPECT_TRUE(info->isVisible());
    EXPECT_EQ(info->windowTitle(), u"Book Info"_s);

    const QString longTitle(300, u'T');
    QTest::keyClicks(info->objTitle, longTitle);
    info->objAuthor->setText(u"Author"_s);
    QTest::keyClicks(info->objSynopsis, u"One"_s);
    QTest::keyClick(info->objSynopsis, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(info->objSynopsis, u"two"_s);
    info->butOK->click();
    EXPECT_TRUE(info->isHidden());

    frmLeafwright()->mnuInfo->trigger();
    info->close();
    frmLeafwright()->mnuInfo->trigger();
    EXPECT_EQ(frmInfo(), info);
    EXPECT_EQ(info->objTitle->text(), longTitle) << "the box keeps text of any length";
    EXPECT_EQ(info->objAuthor->text(), u"Author"_s);
    EXPECT_EQ(info->objSynopsis->Text(), u"One\r\ntwo"_s);
}

TEST_F(Windows, BookInfoTabsThroughTitleAuthorSynopsisAndOk)
{
    FrmInfo *info = frmInfo();
    EXPECT_EQ(info->objTitle->nextInFocusChain(), info->objAuthor);
    EXPECT_EQ(info->objAuthor->nextInFocusChain(), info->objSynopsis);
    QWidget *afterSynopsis = info->objSynopsis->nextInFocusChain();
    while (afterSynopsis->focusPolicy() == Qt::NoFocus)
        afterSynopsis = afterSynopsis->nextInFocusChain();
    EXPECT_EQ(afterSynopsis, info->butOK);
}

TEST_F(Windows, ChaptersWindowKeepsTheTableWhenHiddenAndShownAgain)
{
    FrmChapters *chapters = frmChapters();
    chapters->setChapterRows({{u"One"_s, u" 0"_s}, {u"Two"_s, u"12"_s}});
    chapters->objChapterOffset->setText(u"77"_s);
    frmLeafwright()->mnuChapters->trigger();
    EXPECT_TRUE(chapters->isVisible());
    EXPECT_FALSE(chapters->objChapterOffset->isEnabled());

    chapters->butHide->click();
    EXPECT_TRUE(chapters->isHidden());
    frmLeafwright()->mnuChapters->trigger();
    EXPECT_EQ(frmChapters(), chapters);
    EXPECT_EQ(chapters->windowTitle(), u"Chapters"_s);
    EXPECT_EQ(chapters->chapterRows(),
              (QList<ChapterEntry>{{u"One"_s, u" 0"_s}, {u"Two"_s, u"12"_s}}));
    EXPECT_EQ(chapters->objChapterOffset->text(), u"77"_s);
}

TEST_F(Windows, AboutCloseUnloadsItAndTheNextAboutIsFresh)
{
    frmLeafwright()->mnuAbout->trigger();
    QPointer<FrmAbout> first = frmAbout();
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowTitle(), u"About"_s);
    EXPECT_EQ(first->lblTitle->text(), u"Symbian Vellumite Leafwright"_s);
    EXPECT_EQ(first->objLogo->pixmap().size(), QSize(32, 32));

    first->butClose->click();
    processEvents();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(loadedWindows().about, nullptr);

    frmLeafwright()->mnuAbout->trigger();
    EXPECT_TRUE(frmAbout()->isVisible());
}

TEST_F(Windows, EachWindowHasItsDesignedClientSize)
{
    const std::pair<QWidget *, QSize> windows[] = {
        {frmInfo(), toPixels(6720, 2910)},  {frmChapters(), toPixels(4245, 9705)},
        {frmAbout(), toPixels(4680, 3675)}, {frmCleaner(), toPixels(4680, 4095)},
        {frmFind(), toPixels(4815, 1125)},  {frmReplace(), toPixels(4815, 1665)},
    };
    for (const auto &[window, size] : windows) {
        EXPECT_EQ(window->size(), size) << window->objectName().toStdString();
        EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "fixed size";
    }
    EXPECT_EQ(frmLeafwright()->objBook->geometry(), toPixels({0, 0, 6255, 4095}));
    frmLeafwright()->show();
    processEvents();
    EXPECT_EQ(frmLeafwright()->centralWidget()->size(), toPixels(6270, 4140));
}

TEST_F(Windows, ShortcutsOpenTheirWindows)
{
    FrmLeafwright *window = frmLeafwright();
    window->show();
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key_B, Qt::ControlModifier);
    EXPECT_TRUE(frmInfo()->isVisible());
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(frmChapters()->isVisible());
    for (const Qt::Key key : {Qt::Key_T, Qt::Key_F, Qt::Key_H}) {
        QApplication::setActiveWindow(window);
        QTest::keyClick(window, key, Qt::ControlModifier);
    }
    const LoadedWindows loaded = loadedWindows();
    for (const QWidget *tool :
         std::initializer_list<const QWidget *>{loaded.cleaner, loaded.find, loaded.replace}) {
        ASSERT_NE(tool, nullptr);
        EXPECT_TRUE(tool->isVisible()) << tool->objectName().toStdString();
    }
}

TEST_F(Windows, ChoosingAnOpenWindowAgainKeepsItsContent)
{
    frmLeafwright()->mnuInfo->trigger();
    frmInfo()->objTitle->setText(u"Shown"_s);
    frmLeafwright()->mnuInfo->trigger();
    EXPECT_EQ(frmInfo()->objTitle->text(), u"Shown"_s);
    EXPECT_TRUE(frmInfo()->isVisible());
}

} // namespace
