#include "frmcleaner.h"

#include "bookeditor.h"
#include "bookhistory.h"
#include "controls.h"
#include "frmleafwright.h"
#include "windows.h"

#include "chapters/bookedits.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// In tab order. The two boxes for real books sit below the buttons, where the window grew.
constexpr ControlLayout Controls[] = {
    {"objClean_0", ControlKind::CheckBox, CleanerBoxCaptions[0], {120, 480, 4455, 255}},
    {"objClean_1", ControlKind::CheckBox, CleanerBoxCaptions[1], {120, 840, 4455, 255}},
    {"objClean_2", ControlKind::CheckBox, CleanerBoxCaptions[2], {120, 1200, 4455, 255}},
    {"objClean_3", ControlKind::CheckBox, CleanerBoxCaptions[3], {120, 1560, 4455, 255}},
    {"objClean_4", ControlKind::CheckBox, CleanerBoxCaptions[4], {120, 1920, 4455, 255}},
    {"objClean_5", ControlKind::CheckBox, CleanerBoxCaptions[5], {120, 2280, 4455, 255}},
    {"butToggle", ControlKind::Button, u"Toggle All", {360, 2760, 1335, 375}},
    {"butCancel", ControlKind::Button, u"Cancel", {1800, 2760, 1335, 375}},
    {"butClean", ControlKind::Button, u"Clean", {3240, 2760, 1335, 375}},
    {"lblCleanerMenu",
     ControlKind::Label,
     u"Select the cleanup options you would like to run:",
     {120, 120, 4455, 255}},
    {"objClean_6", ControlKind::CheckBox, CleanerBoxCaptions[6], {120, 3360, 4455, 255}},
    {"objClean_7", ControlKind::CheckBox, CleanerBoxCaptions[7], {120, 3720, 4455, 255}},
};

} // namespace

FrmCleaner::FrmCleaner()
{
    buildToolWindow(
        this, {"frmCleaner", u"Cleaner", 4680, 4095, ToolWindowDesign::UnloadsOnClose, Controls});

    lblCleanerMenu = control<QLabel>(this, "lblCleanerMenu");
    for (int index = 0; index < CleanerBoxCount; ++index) {
        const QByteArray name = "objClean_" + QByteArray::number(index);
        objClean.append(control<QCheckBox>(this, name.constData()));
    }
    butToggle = control<QPushButton>(this, "butToggle");
    butCancel = control<QPushButton>(this, "butCancel");
    butClean = control<QPushButton>(this, "butClean");

    connect(butToggle, &QPushButton::clicked, this, &FrmCleaner::butToggle_Click);
    connect(butCancel, &QPushButton::clicked, this, &FrmCleaner::butCancel_Click);
    connect(butClean, &QPushButton::clicked, this, &FrmCleaner::butClean_Click);
}

// Box 1 alone decides: unticked, every box is ticked; otherwise (ticked or greyed) every box is
// unticked.
void FrmCleaner::butToggle_Click()
{
    const bool tick = objClean[1]->checkState() == Qt::Unchecked;
    for (QCheckBox *box : objClean)
        box->setChecked(tick);
}

void FrmCleaner::butCancel_Click()
{
    close();
}

// One step that Undo takes back: the text, the chapter rows that follow it and the header's
// title and author.
void FrmCleaner::butClean_Click()
{
    BookEditor *editor = frmLeafwright()->objBook;
    editor->setEnabled(false);
    editor->Refresh();

    CleanerBoxes boxes{};
    for (int index = 0; index < CleanerBoxCount; ++index)
        boxes[index] = objClean[index]->checkState() == Qt::Checked;
    if (std::find(boxes.begin(), boxes.end(), true) != boxes.end()) {
        const Book before = currentBook();
        const CleanedBook cleaned = CleanBook(before, boxes);
        const bool changed = cleaned.book.text != before.text;
        commitBookStep(changed ? &cleaned.book.text : nullptr, fieldsOf(cleaned.book),
                       cleaned.outcome.moves.map(editor->SelStart()));
        QStringList report = describeClean(cleaned.outcome, boxes);
        if (const QString moved = describeMovedRows(cleaned.moved); !moved.isEmpty())
            report.append(moved);
        if (report.isEmpty())
            report.append(changed ? u"cleaned the text"_s : u"the text was clean already"_s);
        frmLeafwright()->showStatus(report.join(u"; "_s));
    }

    editor->setEnabled(true);
    editor->Refresh();
    close();
}
