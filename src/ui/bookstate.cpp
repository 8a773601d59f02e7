#include "bookstate.h"

#include "bookeditor.h"
#include "bookhistory.h"
#include "frmleafwright.h"
#include "windows.h"

#include <QCoreApplication>
#include <QFileInfo>
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
};

SavedBook &saved()
{
    static SavedBook book;
    return book;
}

bool captionPending = false;

} // namespace

void startBookState(const QString &path, BookOrigin origin)
{
    saved() = {path.isEmpty() ? QString() : QFileInfo(path).fileName(), currentFields(), path,
               origin, bookCodePage()};
    frmLeafwright()->objBook->document()->setModified(false);
    frmLeafwright()->setWindowTitle(bookCaption());
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
        if (main && loadedWindows().info && loadedWindows().chapters)
            main->setWindowTitle(bookCaption());
    });
}
