#include "frmfind.h"

#include "bookeditor.h"
#include "controls.h"
#include "frmleafwright.h"
#include "prompts.h"
#include "windows.h"

#include "search/textreplace.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// In tab order.
constexpr ControlLayout Controls[] = {
    {"objFind", ControlKind::TextBox, u"", {960, 120, 3735, 375}},
    {"butCancel", ControlKind::Button, u"Cancel", {1920, 600, 1335, 375}},
    {"butFind", ControlKind::Button, u"Find", {3360, 600, 1335, 375}},
    {"lblFind", ControlKind::Label, u"Find", {120, 240, 855, 255}},
    {"butFindNext", ControlKind::Button, u"Find &Next", {3360, 1080, 1335, 375}},
};

} // namespace

QString notFoundMessage(const QString &what)
{
    return u"String not found:\r\n\r\n"_s + what;
}

FrmFind::FrmFind()
{
    // The window grew by a row for Find Next.
    buildToolWindow(this,
                    {"frmFind", u"Find", 4815, 1605, ToolWindowDesign::UnloadsOnClose, Controls});

    objFind = control<QLineEdit>(this, "objFind");
    butCancel = control<QPushButton>(this, "butCancel");
    butFind = control<QPushButton>(this, "butFind");
    lblFind = control<QLabel>(this, "lblFind");
    butFindNext = control<QPushButton>(this, "butFindNext");
    objFind->setFocus();

    connect(objFind, &QLineEdit::returnPressed, this, &FrmFind::objFind_KeyPress);
    connect(butFind, &QPushButton::clicked, this, &FrmFind::butFind_Click);
    connect(butCancel, &QPushButton::clicked, this, &FrmFind::butCancel_Click);
    connect(butFindNext, &QPushButton::clicked, this, &FrmFind::butFindNext_Click);
}

// Enter in the search box searches as the Find button does.
void FrmFind::objFind_KeyPress()
{
    butFind->setFocus();
    butFind_Click();
}

void FrmFind::butFind_Click()
{
    BookEditor *editor = frmLeafwright()->objBook;
    editor->setEnabled(false);
    editor->Refresh();

    frmLeafwright()->setLastSearch(objFind->text());
    const qsizetype at = findFirst(editor->Text(), objFind->text());
    if (at >= 0) {
        editor->setSelStart(at);
        editor->setSelLength(objFind->text().size());
        editor->setEnabled(true);
        editor->SetFocus();
    } else {
        prompts().showMessage(u"Find"_s, notFoundMessage(objFind->text()),
                              MessageIcon::Exclamation);
    }
    editor->setEnabled(true);
}

// On from the selection, as F3 does anywhere in the program; the focus stays here, so that the
// button can be pressed again.
void FrmFind::butFindNext_Click()
{
    frmLeafwright()->setLastSearch(objFind->text());
    frmLeafwright()->mnuFindNext->trigger();
}

void FrmFind::butCancel_Click()
{
    close();
}
