#include "frmchapters.h"

#include "bookeditor.h"
#include "bookhistory.h"
#include "bookstate.h"
#include "controls.h"
#include "frmfoundchapters.h"
#include "frmleafwright.h"
#include "prompts.h"
#include "windows.h"

#include "chapters/chapterscan.h"
#include "chapters/headingdetector.h"
#include "chapters/rowsontext.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace {

// Positions in twips; the two controls inside fraStatus count from the frame's corner.
constexpr ControlLayout Controls[] = {
    {"objChapterTitle",
     ControlKind::TextBox,
     u"Enter Chapter Title Here...",
     {120, 120, 2895, 375}},
    {"objChapterOffset", ControlKind::TextBox, u"Offset", {3120, 120, 975, 375}},
    {"butAddChapter", ControlKind::Button, u"Add Chapter", {120, 600, 2055, 375}},
    {"butDeleteChapter", ControlKind::Button, u"Delete Chapter", {2400, 600, 1695, 375}},
    {"lstChapterTitle", ControlKind::List, u"", {120, 1080, 2895, 2595}},
    {"lstChapterOffset", ControlKind::List, u"", {3120, 1080, 975, 2595}},
    {"objMoveUp", ControlKind::Button, u"Up", {120, 3720, 1935, 375}},
    {"objDown", ControlKind::Button, u"Down", {2160, 3720, 1935, 375}},
    {"objClearChapters", ControlKind::Button, u"Clear Chapters", {120, 4200, 1935, 375}},
    {"objSortChapters", ControlKind::Button, u"Sort Chapters", {2160, 4200, 1935, 375}},
    {"objScanChapters", ControlKind::Button, u"Auto Scan for Chapters", {120, 4680, 3975, 375}},
    {"lblAutoChapterType",
     ControlKind::Label,
     u"Select the auto scan type:",
     {120, 5160, 3855, 255}},
    {"objAutoChapterType_0",
     ControlKind::OptionButton,
     u"Chapter 1, Chapter 2 etc...",
     {120, 5400, 3855, 255}},
    {"objAutoChapterType_1",
     ControlKind::OptionButton,
     u"Chapter 01, Chapter 02 etc...",
     {120, 5640, 3855, 255}},
    {"objAutoChapterType_2",
     ControlKind::OptionButton,
     u"Chapter I, Chapter II etc...",
     {120, 5880, 3855, 255}},
    {"objAutoChapterType_3",
     ControlKind::OptionButton,
     u"Chapter One, Chapter Two etc...",
     {120, 6120, 3855, 255}},
    {"objAutoChapterType_4",
     ControlKind::OptionButton,
     u"Chapter One, Chapter Two Hyphenated etc...",
     {120, 6360, 3855, 255}},
    {"objAutoChapterType_5",
     ControlKind::OptionButton,
     u"<CR>1, <CR>2 etc...",
     {120, 6600, 3855, 255}},
    {"objAutoChapterType_6",
     ControlKind::OptionButton,
     u"<CR>I, <CR>II etc...",
     {120, 6840, 3855, 255}},
    {"objAutoLine", ControlKind::CheckBox, u"Grab whole line?", {120, 7200, 3855, 255}},
    {"fraStatus", ControlKind::Frame, u"Status", {120, 7560, 3975, 1095}},
    {"lblStatus", ControlKind::Label, u"", {120, 240, 3735, 255}, "fraStatus"},
    {"objProgress", ControlKind::ProgressBar, u"", {120, 600, 3735, 255}, "fraStatus"},
    {"butHide", ControlKind::Button, u"Hide Chapter Menu", {120, 8760, 3975, 375}},
    // Below the window's first controls, where it grew.
    {"butFindChapters", ControlKind::Button, u"Find Chapters", {120, 9240, 3975, 375}},
};

QStringList rowsOf(const QListWidget *list)
{
    QStringList rows;
    rows.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        rows.append(list->item(i)->text());
    return rows;
}

// A scan reports hundreds of steps, often within a fraction of a second: the window shows each
// one, but paints at most this often so that painting never takes longer than the scan.
constexpr qint64 RepaintIntervalMs = 33;

} // namespace

FrmChapters::FrmChapters()
{
    buildToolWindow(
        this, {"frmChapters", u"Chapters", 4245, 9705, ToolWindowDesign::HidesOnClose, Controls});

    objChapterTitle = control<QLineEdit>(this, "objChapterTitle");
    // The hint is no title: shown while the box is empty, never added as one.
    objChapterTitle->setPlaceholderText(objChapterTitle->text());
    objChapterTitle->clear();
    objChapterOffset = control<QLineEdit>(this, "objChapterOffset");
    butAddChapter = control<QPushButton>(this, "butAddChapter");
    butDeleteChapter = control<QPushButton>(this, "butDeleteChapter");
    lstChapterTitle = control<QListWidget>(this, "lstChapterTitle");
    lstChapterOffset = control<QListWidget>(this, "lstChapterOffset");
    objMoveUp = control<QPushButton>(this, "objMoveUp");
    objDown = control<QPushButton>(this, "objDown");
    objClearChapters = control<QPushButton>(this, "objClearChapters");
    objSortChapters = control<QPushButton>(this, "objSortChapters");
    objScanChapters = control<QPushButton>(this, "objScanChapters");
    lblAutoChapterType = control<QLabel>(this, "lblAutoChapterType");
    objAutoLine = control<QCheckBox>(this, "objAutoLine");
    fraStatus = control<QGroupBox>(this, "fraStatus");
    lblStatus = control<QLabel>(fraStatus, "lblStatus");
    objProgress = control<QProgressBar>(fraStatus, "objProgress");
    butHide = control<QPushButton>(this, "butHide");
    butFindChapters = control<QPushButton>(this, "butFindChapters");

    m_styles = new QButtonGroup(this);
    for (int index = 0; index < HeadingStyleCount; ++index) {
        const QByteArray name = "objAutoChapterType_" + QByteArray::number(index);
        objAutoChapterType.append(control<QRadioButton>(this, name.constData()));
        m_styles->addButton(objAutoChapterType.last(), index);
    }
    objAutoChapterType[0]->setChecked(true);
    objProgress->setRange(0, ScanSteps);
    objProgress->setValue(0);

    // Made larger, the lists show more rows, whole offsets and whole titles; what stands below
    // them moves down with the window's bottom edge.
    static constexpr GrowthRule Growing[] = {
        {"objChapterTitle", 0.75, 0, false, false},
        {"objChapterOffset", 0.25, 0.75, false, false},
        {"butAddChapter", 0.75, 0, false, false},
        {"butDeleteChapter", 0.25, 0.75, false, false},
        {"lstChapterTitle", 0.75, 0, true, false},
        {"lstChapterOffset", 0.25, 0.75, true, false},
        {"objMoveUp", 0, 0, false, true},
        {"objDown", 0, 0, false, true},
        {"objClearChapters", 0, 0, false, true},
        {"objSortChapters", 0, 0, false, true},
        {"objScanChapters", 0, 0, false, true},
        {"lblAutoChapterType", 0, 0, false, true},
        {"objAutoChapterType_0", 0, 0, false, true},
        {"objAutoChapterType_1", 0, 0, false, true},
        {"objAutoChapterType_2", 0, 0, false, true},
        {"objAutoChapterType_3", 0, 0, false, true},
        {"objAutoChapterType_4", 0, 0, false, true},
        {"objAutoChapterType_5", 0, 0, false, true},
        {"objAutoChapterType_6", 0, 0, false, true},
        {"objAutoLine", 0, 0, false, true},
        {"fraStatus", 0, 0, false, true},
        {"butHide", 0, 0, false, true},
        {"butFindChapters", 0, 0, false, true},
    };
    letWindowGrow(this, Growing);

    // Only the main window writes the caret's offset here.
    objChapterOffset->setEnabled(false);

    connect(butAddChapter, &QPushButton::clicked, this, &FrmChapters::butAddChapter_Click);
    connect(butDeleteChapter, &QPushButton::clicked, this, &FrmChapters::butDeleteChapter_Click);
    connect(lstChapterTitle, &QListWidget::itemSelectionChanged, this,
            &FrmChapters::lstChapterTitle_Click);
    connect(lstChapterOffset, &QListWidget::itemSelectionChanged, this,
            &FrmChapters::lstChapterOffset_Click);
    connect(lstChapterTitle, &QListWidget::itemDoubleClicked, this,
            &FrmChapters::lstChapter_DblClick);
    connect(lstChapterOffset, &QListWidget::itemDoubleClicked, this,
            &FrmChapters::lstChapter_DblClick);
    connect(objMoveUp, &QPushButton::clicked, this, &FrmChapters::objMoveUp_Click);
    connect(objDown, &QPushButton::clicked, this, &FrmChapters::objDown_Click);
    connect(objSortChapters, &QPushButton::clicked, this, &FrmChapters::objSortChapters_Click);
    connect(objClearChapters, &QPushButton::clicked, this, &FrmChapters::objClearChapters_Click);
    connect(objScanChapters, &QPushButton::clicked, this, &FrmChapters::objScanChapters_Click);
    connect(butHide, &QPushButton::clicked, this, &FrmChapters::butHide_Click);
    connect(butFindChapters, &QPushButton::clicked, this, &FrmChapters::butFindChapters_Click);
    for (const QListWidget *list : {lstChapterTitle, lstChapterOffset}) {
        const QAbstractItemModel *rows = list->model();
        connect(rows, &QAbstractItemModel::rowsInserted, this, &bookMayHaveChanged);
        connect(rows, &QAbstractItemModel::rowsRemoved, this, &bookMayHaveChanged);
        connect(rows, &QAbstractItemModel::rowsMoved, this, &bookMayHaveChanged);
        connect(rows, &QAbstractItemModel::dataChanged, this, &bookMayHaveChanged);
        connect(rows, &QAbstractItemModel::modelReset, this, &bookMayHaveChanged);
    }
}

ChapterRows FrmChapters::chapterRows() const
{
    const QStringList titles = rowsOf(lstChapterTitle);
    const QStringList offsets = rowsOf(lstChapterOffset);
    ChapterRows rows;
    rows.reserve(titles.size());
    for (qsizetype i = 0; i < titles.size(); ++i)
        rows.append({titles[i], offsets.value(i)});
    return rows;
}

void FrmChapters::setChapterRows(const ChapterRows &rows)
{
    lstChapterTitle->clear();
    lstChapterOffset->clear();
    appendChapterRows(rows);
}

void FrmChapters::appendChapterRows(const ChapterRows &rows)
{
    QStringList titles;
    QStringList offsets;
    titles.reserve(rows.size());
    offsets.reserve(rows.size());
    for (const ChapterEntry &row : rows) {
        titles.append(row.title);
        offsets.append(row.offset);
    }
    lstChapterTitle->addItems(titles);
    lstChapterOffset->addItems(offsets);
}

void FrmChapters::setChapterOffsets(const QStringList &offsets)
{
    const int count = std::min(lstChapterOffset->count(), int(offsets.size()));
    for (int row = 0; row < count; ++row) {
        QListWidgetItem *item = lstChapterOffset->item(row);
        if (item->text() != offsets[row])
            item->setText(offsets[row]);
    }
}

namespace {

// The row shown selected, or -1. A list can have a current row that is not selected (after
// a deletion, or when the keyboard focus enters it): that row is no choice of the user's.
int selectedRowOf(const QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

// Selects the row of one list that is selected in the other, or none. A list whose selection
// is already that row is left alone, so the two lists never bounce back and forth.
void mirrorSelection(const QListWidget *from, QListWidget *to)
{
    const int row = selectedRowOf(from);
    if (selectedRowOf(to) == row)
        return;
    if (row < 0)
        to->clearSelection();
    else
        to->setCurrentRow(row);
}

} // namespace

int FrmChapters::selectedRow() const
{
    return selectedRowOf(lstChapterTitle);
}

void FrmChapters::selectRow(int row)
{
    lstChapterTitle->setCurrentRow(row);
    lstChapterOffset->setCurrentRow(row);
}

void FrmChapters::exchangeRows(int first, int second, const ChapterRows &rows)
{
    for (const int row : {first, second}) {
        lstChapterTitle->item(row)->setText(rows[row].title);
        lstChapterOffset->item(row)->setText(rows[row].offset);
    }
}

void FrmChapters::showTableFull(qsizetype leftOut)
{
    prompts().showMessage(u"Chapters"_s,
                          u"The chapter table holds at most %1 chapters; %2 more could not be "
                          "added."_s.arg(MaxChapterRows)
                              .arg(leftOut),
                          MessageIcon::Exclamation);
}

void FrmChapters::butAddChapter_Click()
{
    if (lstChapterTitle->count() >= MaxChapterRows) {
        showTableFull(1);
        return;
    }
    const ChapterEntry row = newChapterRow(objChapterTitle->text(), objChapterOffset->text());
    // A row in the middle of a line puts the phone's chapter there; a slip of the caret is
    // caught before it is added.
    const QString text = frmLeafwright()->objBook->Text();
    const qsizetype offset = chapterOffset(row);
    if (offset > 0 && offset < text.size() && lineStartAt(text, offset) != offset
        && !prompts().askYesNo(u"Add Chapter"_s,
                               u"Offset %1 is in the middle of a line, so the chapter would start "
                               "there. Add it all the same?"_s.arg(offset))) {
        return;
    }
    lstChapterTitle->addItem(row.title);
    lstChapterOffset->addItem(row.offset);
}

// With no row selected nothing is deleted: the table stays whole. Afterwards no row is selected;
// the list would otherwise select a neighbour the user never chose.
void FrmChapters::butDeleteChapter_Click()
{
    const int row = selectedRow();
    if (row < 0 || row >= lstChapterOffset->count())
        return;
    delete lstChapterTitle->takeItem(row);
    delete lstChapterOffset->takeItem(row);
    for (QListWidget *list : {lstChapterTitle, lstChapterOffset}) {
        list->clearSelection();
        list->setCurrentItem(nullptr);
    }
}

void FrmChapters::lstChapterTitle_Click()
{
    mirrorSelection(lstChapterTitle, lstChapterOffset);
}

void FrmChapters::lstChapterOffset_Click()
{
    mirrorSelection(lstChapterOffset, lstChapterTitle);
}

// Puts the main editor's caret at the chapter; with no row selected, nothing happens.
void FrmChapters::lstChapter_DblClick()
{
    const int row = selectedRowOf(lstChapterOffset);
    if (row < 0)
        return;
    BookEditor *editor = frmLeafwright()->objBook;
    editor->setSelStart(chapterOffset({{}, lstChapterOffset->item(row)->text()}));
    editor->showCaretNearTop();
    objChapterOffset->setText(QString::number(editor->SelStart()));
}

void FrmChapters::objMoveUp_Click()
{
    ChapterRows rows = chapterRows();
    const int selected = selectedRow();
    const int moved = moveChapterUp(rows, selected);
    if (moved < 0)
        return;
    exchangeRows(moved, selected, rows);
    selectRow(moved);
}

void FrmChapters::objDown_Click()
{
    ChapterRows rows = chapterRows();
    const int selected = selectedRow();
    const int moved = moveChapterDown(rows, selected);
    if (moved < 0)
        return;
    exchangeRows(selected, moved, rows);
    selectRow(moved);
}

// The selected index stays: it shows whatever chapter now lies in that row.
void FrmChapters::objSortChapters_Click()
{
    const int selected = selectedRow();
    ChapterRows rows = chapterRows();
    SortChapters(rows);
    setChapterRows(rows);
    selectRow(selected);
}

void FrmChapters::objClearChapters_Click()
{
    if (!prompts().askYesNo(u"Clear Chapters?"_s,
                            u"Are you sure you want to clear all Chapter information?"_s)) {
        return;
    }
    lstChapterTitle->clear();
    lstChapterOffset->clear();
}

void FrmChapters::objScanChapters_Click()
{
    BookEditor *editor = frmLeafwright()->objBook;
    editor->setEnabled(false);
    objProgress->setRange(0, ScanSteps);
    objProgress->setValue(0);
    BuildRomanNumerals(numberTables);
    BuildNumberWords(numberTables);

    QElapsedTimer sincePaint;
    sincePaint.start();
    const auto showProgress = [&](int steps, const QString &status) {
        objProgress->setValue(steps);
        lblStatus->setText(status);
        if (sincePaint.elapsed() >= RepaintIntervalMs) {
            repaint();
            sincePaint.restart();
        }
    };
    const ScanOptions options{HeadingStyle(std::max(0, m_styles->checkedId())),
                              objAutoLine->isChecked()};
    ChapterRows found = ScanChapters(editor->Text(), options, numberTables, showProgress);
    const qsizetype leftOut = keepRowsThatFit(found, lstChapterTitle->count());
    appendChapterRows(found);
    repaint();

    editor->setEnabled(true);
    if (leftOut > 0)
        showTableFull(leftOut);
}

void FrmChapters::addFoundChapters(ChapterRows rows)
{
    const qsizetype leftOut = keepRowsThatFit(rows, lstChapterTitle->count());
    BookFields after = currentFields();
    after.rows.append(rows);
    commitBookStep(nullptr, after, frmLeafwright()->objBook->SelStart());
    if (leftOut > 0)
        showTableFull(leftOut);
}

// The heading detector's finds go to the review window first; nothing enters the table until
// the user adds them there.
void FrmChapters::butFindChapters_Click()
{
    BookEditor *editor = frmLeafwright()->objBook;
    editor->setEnabled(false);
    const QList<FoundHeading> found = FindHeadings(editor->Text());
    editor->setEnabled(true);
    if (found.isEmpty()) {
        prompts().showMessage(u"Find Chapters"_s, u"No chapter headings were found in the book."_s,
                              MessageIcon::None);
        return;
    }
    QList<qsizetype> offsets;
    for (const FoundHeading &heading : found)
        offsets.append(heading.offset);
    const QList<bool> inTable = linesInTable(offsets, chapterRows(), editor->Text());
    FrmFoundChapters *window = frmFoundChapters();
    window->showHeadings(found, inTable);
    showWindow(window);
}

// Hides the window and keeps the table, the text boxes and the scan options as they are.
void FrmChapters::butHide_Click()
{
    hide();
}
