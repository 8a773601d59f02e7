#include "frmchapters.h"

#include "app/controls.h"
#include "app/windows.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

constexpr ControlSpec Controls[] = {
    {"objChapterOffset", ControlKind::TextBox, u"Offset", {3120, 120, 975, 375}},
    {"lstChapterTitle", ControlKind::List, u"", {120, 1080, 2895, 2595}},
    {"lstChapterOffset", ControlKind::List, u"", {3120, 1080, 975, 2595}},
    {"butHide", ControlKind::Button, u"Hide Chapter Menu", {120, 8760, 3975, 375}},
};

QStringList rowsOf(const QListWidget *list)
{
    QStringList rows;
    rows.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        rows.append(list->item(i)->text());
    return rows;
}

} // namespace

FrmChapters::FrmChapters()
{
    setObjectName(QStringLiteral("frmChapters"));
    setWindowTitle(QStringLiteral("Chapters"));
    makeToolWindow(this, 4245, 9225);
    buildControls(this, Controls);

    objChapterOffset = control<QLineEdit>(this, "objChapterOffset");
    lstChapterTitle = control<QListWidget>(this, "lstChapterTitle");
    lstChapterOffset = control<QListWidget>(this, "lstChapterOffset");
    butHide = control<QPushButton>(this, "butHide");

    // Only the main window writes the caret's offset here.
    objChapterOffset->setEnabled(false);

    connect(butHide, &QPushButton::clicked, this, &FrmChapters::butHide_Click);
}

QList<ChapterEntry> FrmChapters::chapterRows() const
{
    const QStringList titles = rowsOf(lstChapterTitle);
    const QStringList offsets = rowsOf(lstChapterOffset);
    QList<ChapterEntry> rows;
    rows.reserve(titles.size());
    for (qsizetype i = 0; i < titles.size(); ++i)
        rows.append({titles[i], offsets.value(i)});
    return rows;
}

void FrmChapters::setChapterRows(const QList<ChapterEntry> &rows)
{
    QStringList titles;
    QStringList offsets;
    titles.reserve(rows.size());
    offsets.reserve(rows.size());
    for (const ChapterEntry &row : rows) {
        titles.append(row.title);
        offsets.append(row.offset);
    }
    lstChapterTitle->clear();
    lstChapterOffset->clear();
    lstChapterTitle->addItems(titles);
    lstChapterOffset->addItems(offsets);
}

// Hides the window and keeps the table, the text boxes and the scan options as they are.
void FrmChapters::butHide_Click()
{
    hide();
}
