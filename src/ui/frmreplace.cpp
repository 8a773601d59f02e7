#include "frmreplace.h"

#include "bookeditor.h"
#include "bookhistory.h"
#include "controls.h"
#include "frmfind.h"
#include "frmleafwright.h"
#include "prompts.h"
#include "windows.h"

#include "chapters/bookedits.h"
#include "search/textreplace.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// In tab order: the focus starts in objFind, and Tab goes on to objReplace, Cancel and Replace.
constexpr ControlLayout Controls[] = {
    {"objReplace", ControlKind::TextBox, u"", {960, 600, 3735, 375}},
    {"butCancel", ControlKind::Button, u"Cancel", {1920, 1080, 1335, 375}},
    {"butReplace", ControlKind::Button, u"Replace", {3360, 1080, 1335, 375}},
    {"objFind", ControlKind::TextBox, u"", {960, 120, 3735, 375}},
    {"lblFind", ControlKind::Label, u"Find", {120, 240, 855, 255}},
    {"lblReplace", ControlKind::Label, u"Replace", {120, 720, 855, 255}},
};

} // namespace

FrmReplace::FrmReplace()
{
    buildToolWindow(
        this, {"frmReplace", u"Replace", 4815, 1665, ToolWindowDesign::UnloadsOnClose, Controls});

    objReplace = control<QLineEdit>(this, "objReplace");
    butCancel = control<QPushButton>(this, "butCancel");
    butReplace = control<QPushButton>(this, "butReplace");
    objFind = control<QLineEdit>(this, "objFind");
    lblFind = control<QLabel>(this, "lblFind");
    lblReplace = control<QLabel>(this, "lblReplace");
    objFind->setFocus();

    // Enter in the replacement box replaces; Enter in the search box does nothing.
    connect(objReplace, &QLineEdit::returnPressed, this, &FrmReplace::objReplace_KeyPress);
    connect(butReplace, &QPushButton::clicked, this, &FrmReplace::butReplace_Click);
    connect(butCancel, &QPushButton::clicked, this, &FrmReplace::butCancel_Click);
}

void FrmReplace::objReplace_KeyPress()
{
    butReplace->setFocus();
    butReplace_Click();
}

void FrmReplace::butReplace_Click()
{
    BookEditor *editor = frmLeafwright()->objBook;
    editor->setEnabled(false);
    editor->Refresh();

    const Book before = currentBook();
    if (findFirst(before.text, objFind->text()) >= 0) {
        // One step that Undo takes back, the chapter rows following the text.
        const ReplacedBook replaced =
            ReplaceInWholeBook(before, objFind->text(), objReplace->text());
        const bool changed = replaced.book.text != before.text;
        commitBookStep(changed ? &replaced.book.text : nullptr, fieldsOf(replaced.book),
                       replaced.moves.map(editor->SelStart()));
        QString report = describeReplaced(replaced.count);
        if (const QString moved = describeMovedRows(replaced.moved); !moved.isEmpty())
            report += u"; "_s + moved;
        frmLeafwright()->showStatus(report);
    } else {
        prompts().showMessage(u"Replace"_s, notFoundMessage(objFind->text()),
                              MessageIcon::Exclamation);
    }
    editor->setEnabled(true);
}

void FrmReplace::butCancel_Click()
{
    close();
}
