#include "frminfo.h"

#include "bookstate.h"
#include "controls.h"
#include "multilinetextbox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// In tab order.
constexpr ControlLayout Controls[] = {
    {"objTitle", ControlKind::TextBox, u"", {960, 120, 5655, 285}},
    {"objAuthor", ControlKind::TextBox, u"", {960, 480, 5655, 285}},
    {"objSynopsis", ControlKind::MultiLineTextBox, u"", {120, 1080, 6495, 1245}},
    {"butOK", ControlKind::Button, u"OK", {5280, 2400, 1335, 375}},
    {"lblTitle", ControlKind::Label, u"Title", {120, 120, 735, 255}},
    {"lblAuthor", ControlKind::Label, u"Author", {120, 480, 735, 255}},
    {"lblSynopsis", ControlKind::Label, u"Synopsis", {120, 840, 735, 255}},
};

} // namespace

FrmInfo::FrmInfo()
{
    buildToolWindow(
        this, {"frmInfo", u"Book Info", 6720, 2910, ToolWindowDesign::HidesOnClose, Controls});

    objTitle = control<QLineEdit>(this, "objTitle");
    objAuthor = control<QLineEdit>(this, "objAuthor");
    objSynopsis = control<MultiLineTextBox>(this, "objSynopsis");
    objSynopsis->keepTextAsSetUntilEdited();
    static constexpr GrowthRule Growing[] = {
        {"objTitle", 1, 0, false, false},
        {"objAuthor", 1, 0, false, false},
        {"objSynopsis", 1, 0, true, false},
        {"butOK", 0, 1, false, true},
    };
    butOK = control<QPushButton>(this, "butOK");
    lblTitle = control<QLabel>(this, "lblTitle");
    lblAuthor = control<QLabel>(this, "lblAuthor");
    lblSynopsis = control<QLabel>(this, "lblSynopsis");

    connect(butOK, &QPushButton::clicked, this, &FrmInfo::butOK_Click);
    connect(objTitle, &QLineEdit::textChanged, this, &bookMayHaveChanged);
    connect(objAuthor, &QLineEdit::textChanged, this, &bookMayHaveChanged);
    connect(objSynopsis, &MultiLineTextBox::textChanged, this, &bookMayHaveChanged);
    letWindowGrow(this, Growing);
}

// Hides the window and keeps what was typed: it is the book's information.
void FrmInfo::butOK_Click()
{
    hide();
}
