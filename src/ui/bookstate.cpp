#include "bookstate.h"

#include "bookeditor.h"
#include "bookhistory.h"
#include "bookrecovery.h"
#include "frmleafwright.h"
#include "windows.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

struct SavedBook
{
    QString name;
    BookFields fields;
    QString path;
    BookOrigin origin = BookOrigin::Imported;
    CodePage::Id codePage = CodePage::Western;
    QPointer<FrmLeafwright> window; // whose book it is
};

// A main window made afresh (the program started again, as window tests do) starts with no book.
SavedBook &saved()
{
    static SavedBook book;
    if (FrmLeafwright *now = frmLeafwrightIfLoaded(); now != book.window) {
        book = SavedBook{};
        book.window = now;
    }
    return book;
}

bool captionPending = false;

} // namespace

void startBookState(const QString &path, BookOrigin origin)
{
    saved() = {path.isEmpty() ? QString() : QFileInfo(path).fileName(),
               currentFields(),
               path,
               origin,
               bookCodePage(),
               frmLeafwrightIfLoaded()};
    frmLeafwright()->objBook->document()->setModified(false);
    frmLeafwright()->setWindowTitle(bookCaption());
    // The book is the one its file holds, or a new one nothing was done to: no copy is needed.
    frmLeafwright()->recovery().remove();
}

QString bookFilePath()
{
    return saved().origin == BookOrigin::BookFile ? saved().path : QString();
}

QString importedPath()
{
    return saved().origin == BookOrigin::Imported ? saved().path : QString();
}

CodePage::Id bookCodePage()
{
    return frmLeafwright()->codePage();
}

void setBookCodePage(CodePage::Id codePage)
{
    frmLeafwright()->setCodePage(codePage);
    bookMayHaveChanged();
}

bool bookChanged()
{
    return frmLeafwright()->objBook->document()->isModified() || currentFields() != saved().fields
           || bookCodePage() != saved().codePage;
}

QString bookCaption()
{
    const bool changed = bookChanged();
    if (saved().name.isEmpty() && !changed)
        return u"Symbian Leafwright"_s;
    const QString name = saved().name.isEmpty() ? u"Untitled"_s : saved().name;
    return name + (changed ? u"*"_s : QString()) + u" - Symbian Leafwright"_s;
}

void bookMayHaveChanged()
{
    if (captionPending)
        return;
    captionPending = true;
    QTimer::singleShot(0, QCoreApplication::instance(), [] {
        captionPending = false;
        // Once the program ends its tool windows, no caption is left to update.
        FrmLeafwright *main = frmLeafwrightIfLoaded();
        if (main && loadedWindows().info && loadedWindows().chapters) {
            main->setWindowTitle(bookCaption());
            main->recovery().scheduleCopy();
        }
    });
}
