#include "uitest.h"

#include "testfiles.h"

#include "app/bookeditor.h"
#include "app/frmabout.h"
#include "app/frminfo.h"
#include "app/frmleafwright.h"
#include "app/twips.h"
#include "app/windows.h"
#include "book/bookfile.h"
#include "chapters/frmchapters.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

using MainWindow = UiTest;

struct MenuItemRow
{
    const char *menu;
    const char16_t *menuCaption;
    const char *item;
    const char16_t *caption;
    const char16_t *shortcut;
    bool enabled;
};

// Every item, separators included, in menu order.
constexpr MenuItemRow MenuRows[] = {
    {"mnuFile", u"&File", "mnuOpen", u"&Open", u"Ctrl+O", true},
    {"mnuFile", u"&File", "mnuImport", u"&Import", u"Ctrl+I", true},
    {"mnuFile", u"&File", "mnuSaveAs", u"&Save As", u"Ctrl+S", true},
    {"mnuFile", u"&File", "mnuSep01", u"", u"", true},
    {"mnuFile", u"&File", "mnuExit", u"E&xit", u"", true},
    {"mnuTools", u"&Tools", "mnuInfo", u"&Book Info", u"Ctrl+B", true},
    {"mnuTools", u"&Tools", "mnuChapters", u"Chapter &Editor", u"Ctrl+E", true},
    {"mnuTools", u"&Tools", "mnuCleaner", u"&Text Cleaner", u"Ctrl+T", true},
    {"mnuTools", u"&Tools", "mnuSep02", u"", u"", true},
    {"mnuTools", u"&Tools", "mnuFind", u"&Find", u"Ctrl+F", true},
    {"mnuTools", u"&Tools", "mnuReplace", u"&Replace", u"Ctrl+H", true},
    {"mnuHelp", u"Help", "mnuAbout", u"&About Leafwright", u"", true},
};

TEST_F(MainWindow, MenuBarHoldsEveryItemInOrder)
{
    FrmLeafwright *window = frmLeafwright();
    EXPECT_EQ(window->windowTitle(), u"Symbian Leafwright"_s);

    const QList<QAction *> menus = window->menuBar()->actions();
    ASSERT_EQ(menus.size(), 3);
    qsizetype row = 0;
    for (QAction *menuAction : menus) {
        QMenu *menu = menuAction->menu();
        ASSERT_NE(menu, nullptr);
        for (QAction *item : menu->actions()) {
            ASSERT_LT(row, qsizetype(std::size(MenuRows)));
            const MenuItemRow &expected = MenuRows[row++];
            SCOPED_TRACE(expected.item);
            EXPECT_EQ(menu->objectName(), QString::fromLatin1(expected.menu));
            EXPECT_EQ(menu->title(), QString::fromUtf16(expected.menuCaption));
            EXPECT_EQ(item->objectName(), QString::fromLatin1(expected.item));
            EXPECT_EQ(item->isSeparator(), QString::fromUtf16(expected.caption).isEmpty());
            if (!item->isSeparator()) {
                EXPECT_EQ(item->text(), QString::fromUtf16(expected.caption));
            }
            EXPECT_EQ(item->shortcut().toString(), QString::fromUtf16(expected.shortcut));
            EXPECT_EQ(item->isEnabled(), expected.enabled);
        }
    }
    EXPECT_EQ(row, qsizetype(std::size(MenuRows)));
}

TEST_F(MainWindow, StartUpOpensTheBookNamedByTheJoinedArgumentsWithoutQuotes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"My Books"_s));
    Book stored;
    stored.title = u"Stored"_s;
    stored.text = u"body"_s;
    ASSERT_TRUE(SaveBook(stored, dir.filePath(u"My Books/A Book.vlm"_s)).ok());

    // The arguments are joined with single spaces: the name with one blank is the one opened.
    const QString folder = dir.filePath(u"My"_s);
    frmLeafwright()->Form_Load({u"\""_s + folder, u"Books/A"_s, u"Bo\"ok.vlm\""_s});
    EXPECT_TRUE(m_prompts.messages().isEmpty());
    EXPECT_EQ(frmLeafwright()->objBook->Text(), u"body"_s);
    EXPECT_EQ(frmInfo()->objTitle->text().trimmed(), u"Stored"_s);
}

TEST_F(MainWindow, StartUpWithoutArgumentsCreatesNoDocumentWindows)
{
    frmLeafwright()->Form_Load({});
    EXPECT_EQ(loadedWindows().info, nullptr);
    EXPECT_EQ(loadedWindows().chapters, nullptr);
    EXPECT_TRUE(frmLeafwright()->objBook->Text().isEmpty());
}

TEST_F(MainWindow, StartUpWithABadFileSaysSoAndStaysEmpty)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(u"missing.vlm"_s);
    frmLeafwright()->Form_Load({missing});
    ASSERT_EQ(m_prompts.messages().size(), 1);
    EXPECT_TRUE(m_prompts.messages()[0].text.contains(QDir::toNativeSeparators(missing)));
    EXPECT_TRUE(frmLeafwright()->objBook->Text().isEmpty());
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(MainWindow, EditorFollowsTheWindowsOuterSizeOnResize)
{
    FrmLeafwright *window = frmLeafwright();
    window->show();
    window->resize(600, 450);
    processEvents();
    const QSize outer = window->frameGeometry().size();
    const QSize expected(twipsToPixels(pixelsToTwips(outer.width()) - 100),
                         twipsToPixels(pixelsToTwips(outer.height()) - 800));
    EXPECT_EQ(window->objBook->size(), expected);
    EXPECT_EQ(window->objBook->pos(), QPoint(0, 0));
}

TEST(EditorSize, FollowsTheOuterSizeLessBordersAboveTheLeastSizes)
{
    const QSize editor(500, 400);
    const std::pair<QSize, QSize> cases[] = {
        {{6370, 4940}, {6270, 4140}}, // the design size
        {{101, 801}, {1, 1}},         // just above the least sizes
        {{100, 800}, editor},         // exactly at them: the editor keeps its size
        {{50, 5000}, {500, 4200}},    // too narrow: only the height follows
        {{5000, 0}, {4900, 400}},     // too low: only the width follows
    };
    for (const auto &[outer, expected] : cases)
        EXPECT_EQ(editorSizeFor(outer, editor), expected) << outer.width() << "x" << outer.height();
}

TEST_F(MainWindow, ExitUnloadsTheToolWindowsInOrderThenTheMainWindow)
{
    QStringList unloaded;
    auto record = [&](QObject *window) {
        const QString name = window->objectName();
        QObject::connect(window, &QObject::destroyed, window,
                         [&unloaded, name] { unloaded << name; });
    };
    record(frmLeafwright());
    record(frmInfo());
    record(frmAbout());
    record(frmChapters());
    frmLeafwright()->show();
    frmLeafwright()->objBook->setFocus();

    exitProgram();
    EXPECT_EQ(unloaded,
              (QStringList{u"frmAbout"_s, u"frmChapters"_s, u"frmInfo"_s, u"frmLeafwright"_s}));
    EXPECT_EQ(loadedWindows().chapters, nullptr);
    EXPECT_TRUE(m_prompts.asked.isEmpty());
}

TEST_F(MainWindow, ExitPassesOverWindowsNeverCreated)
{
    QStringList unloaded;
    QObject::connect(frmInfo(), &QObject::destroyed, frmInfo(), [&] { unloaded << u"info"_s; });
    exitProgram();
    EXPECT_EQ(unloaded, QStringList{u"info"_s});
    EXPECT_EQ(loadedWindows().about, nullptr);
    EXPECT_EQ(loadedWindows().chapters, nullptr);
}

} // namespace
