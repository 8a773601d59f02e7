#include "frmfoundchapters.h"

#include "bookeditor.h"
#include "controls.h"
#include "frmchapters.h"
#include "frmleafwright.h"
#include "windows.h"

#include "chapters/chaptertable.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

enum Column { LevelColumn, TitleColumn, OffsetColumn, LineColumn };

constexpr ControlLayout Controls[] = {
    {"lstFoundChapters", ControlKind::Table, u"Level|Title|Offset|Line", {120, 720, 9360, 4800}},
    {"butTickAll", ControlKind::Button, u"Tick All", {120, 5640, 1815, 375}},
    {"butUntickAll", ControlKind::Button, u"Untick All", {2040, 5640, 1815, 375}},
    {"butAddChapters", ControlKind::Button, u"Add Chapters", {5640, 5640, 1815, 375}},
    {"butCancel", ControlKind::Button, u"Cancel", {7665, 5640, 1815, 375}},
    {"lblFoundChapters",
     ControlKind::Label,
     u"Untick what is no chapter. Click a selected title to change it; double-click a row to see "
     u"it in the book.",
     {120, 120, 9360, 255}},
    {"lblFoundCount", ControlKind::Label, u"", {120, 420, 9360, 255}},
};

// A title being edited keeps what was typed when Return ends the edit, and Return then adds the
// chapters as it does anywhere else in the window. The item view would take the title only
// after the event, once the window had read the table and closed.
class TitleEditing final : public QStyledItemDelegate
{
public:
    TitleEditing(QObject *parent, std::function<void()> returned)
        : QStyledItemDelegate(parent)
        , m_returned(std::move(returned))
    {}

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *editor = qobject_cast<QWidget *>(object);
        if (editor && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                m_returned();
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    std::function<void()> m_returned;
};

QTableWidgetItem *fixedItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

FrmFoundChapters::FrmFoundChapters()
{
    buildToolWindow(this, {"frmFoundChapters", u"Found Chapters", 9600, 6135,
                           ToolWindowDesign::UnloadsOnClose, Controls});
    lblFoundChapters = control<QLabel>(this, "lblFoundChapters");
    lstFoundChapters = control<QTableWidget>(this, "lstFoundChapters");
    butAddChapters = control<QPushButton>(this, "butAddChapters");
    butCancel = control<QPushButton>(this, "butCancel");
    butTickAll = control<QPushButton>(this, "butTickAll");
    butUntickAll = control<QPushButton>(this, "butUntickAll");
    lblFoundCount = control<QLabel>(this, "lblFoundCount");

    static constexpr GrowthRule Growing[] = {
        {"lstFoundChapters", 1, 0, true, false}, {"lblFoundChapters", 1, 0, false, false},
        {"lblFoundCount", 1, 0, false, false},   {"butTickAll", 0, 0, false, true},
        {"butUntickAll", 0, 0, false, true},     {"butAddChapters", 0, 1, false, true},
        {"butCancel", 0, 1, false, true},
    };
    letWindowGrow(this, Growing);

    // From the keyboard the table is one stop: arrows move between rows, Space ticks, F2 edits
    // a title, Return adds the chapters and Escape cancels.
    lstFoundChapters->setTabKeyNavigation(false);
    lstFoundChapters->installEventFilter(this);
    installEventFilter(this);

    // A double-click jumps to the heading, so a title is edited by clicking it once selected.
    lstFoundChapters->setEditTriggers(QAbstractItemView::SelectedClicked
                                      | QAbstractItemView::EditKeyPressed);
    lstFoundChapters->setItemDelegate(
        new TitleEditing(lstFoundChapters, [this] { butAddChapters->click(); }));
    lstFoundChapters->setColumnWidth(LevelColumn, 90);
    lstFoundChapters->setColumnWidth(TitleColumn, 280);
    lstFoundChapters->setColumnWidth(OffsetColumn, 70);

    connect(lstFoundChapters, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { lstFoundChapters_DblClick(row); });
    connect(butAddChapters, &QPushButton::clicked, this, &FrmFoundChapters::butAddChapters_Click);
    connect(butCancel, &QPushButton::clicked, this, &FrmFoundChapters::butCancel_Click);
    connect(butTickAll, &QPushButton::clicked, this, [this] { tickAll(Qt::Checked); });
    connect(butUntickAll, &QPushButton::clicked, this, [this] { tickAll(Qt::Unchecked); });
    connect(lstFoundChapters, &QTableWidget::itemChanged, this, &FrmFoundChapters::showCount);
}

bool FrmFoundChapters::eventFilter(QObject *watched, QEvent *event)
{
    // A title being edited takes its own Return and Escape before they reach here.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            butAddChapters->click();
            return true;
        }
        if (key == Qt::Key_Escape) {
            butCancel->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FrmFoundChapters::tickAll(Qt::CheckState state)
{
    for (int row = 0; row < lstFoundChapters->rowCount(); ++row) {
        QTableWidgetItem *level = lstFoundChapters->item(row, LevelColumn);
        if (level->flags().testFlag(Qt::ItemIsUserCheckable))
            level->setCheckState(state);
    }
}

// "62 headings found, 61 ticked", following the ticks.
void FrmFoundChapters::showCount()
{
    int ticked = 0;
    for (int row = 0; row < lstFoundChapters->rowCount(); ++row) {
        const QTableWidgetItem *level = lstFoundChapters->item(row, LevelColumn);
        ticked += level && level->checkState() == Qt::Checked;
    }
    const int found = lstFoundChapters->rowCount();
    lblFoundCount->setText(u"%1 %2 found, %3 ticked"_s.arg(found)
                               .arg(found == 1 ? u"heading"_s : u"headings"_s)
                               .arg(ticked));
}

void FrmFoundChapters::showHeadings(const QList<FoundHeading> &headings, const QList<bool> &inTable)
{
    lstFoundChapters->setRowCount(0);
    lstFoundChapters->setRowCount(int(headings.size()));
    for (int row = 0; row < headings.size(); ++row) {
        const FoundHeading &heading = headings[row];
        // A heading the table holds cannot be ticked: Add Chapters never adds a second row.
        const bool held = inTable.value(row);
        QTableWidgetItem *level = fixedItem(held ? levelName(heading.level) + u", in the table"_s
                                                 : levelName(heading.level));
        if (!held)
            level->setFlags(level->flags() | Qt::ItemIsUserCheckable);
        level->setCheckState(held ? Qt::Unchecked : Qt::Checked);
        if (held)
            level->setToolTip(u"The chapter table already has a row on this line."_s);
        lstFoundChapters->setItem(row, LevelColumn, level);
        lstFoundChapters->setItem(row, TitleColumn, new QTableWidgetItem(heading.title));
        QTableWidgetItem *offset = fixedItem(QString::number(heading.offset));
        offset->setData(Qt::UserRole, qint64(heading.offset));
        lstFoundChapters->setItem(row, OffsetColumn, offset);
        lstFoundChapters->setItem(row, LineColumn, fixedItem(heading.line.trimmed()));
    }
    // "chapter, in the table" with its tick box is wider than the column starts.
    lstFoundChapters->resizeColumnToContents(LevelColumn);
    showCount();
    if (!headings.isEmpty()) {
        lstFoundChapters->setCurrentCell(0, LevelColumn);
        lstFoundChapters->setFocus();
    }
}

void FrmFoundChapters::lstFoundChapters_DblClick(int row)
{
    const qint64 offset =
        lstFoundChapters->item(row, OffsetColumn)->data(Qt::UserRole).toLongLong();
    BookEditor *editor = frmLeafwright()->objBook;
    editor->setSelStart(qint32(offset));
    // The Chapter Editor's offset box shows where the caret went, so that Add Chapter adds the
    // chapter there and not where the caret stood before.
    frmChapters()->objChapterOffset->setText(QString::number(editor->SelStart()));
}

// The ticked rows go behind the table's rows in text order, as a scan appends its finds.
void FrmFoundChapters::butAddChapters_Click()
{
    // However the user left a title being edited, what was typed counts.
    if (QWidget *editor = lstFoundChapters->indexWidget(lstFoundChapters->currentIndex())) {
        emit lstFoundChapters->itemDelegate()->commitData(editor);
        emit lstFoundChapters->itemDelegate()->closeEditor(editor);
    }
    ChapterRows rows;
    for (int row = 0; row < lstFoundChapters->rowCount(); ++row) {
        if (lstFoundChapters->item(row, LevelColumn)->checkState() != Qt::Checked)
            continue;
        const qint64 offset =
            lstFoundChapters->item(row, OffsetColumn)->data(Qt::UserRole).toLongLong();
        rows.append(foundChapterRow(lstFoundChapters->item(row, TitleColumn)->text(), offset));
    }
    close();
    frmChapters()->addFoundChapters(rows);
}

void FrmFoundChapters::butCancel_Click()
{
    close();
}
