#include "frmabout.h"

#include "appearance.h"
#include "controls.h"
#include "twips.h"

#include "version.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

constexpr ControlLayout Controls[] = {
    {"objLogo", ControlKind::PictureBox, u"", {120, 120, 480, 480}},
    {"lblTitle", ControlKind::Label, u"Symbian Vellumite Leafwright", {960, 120, 3495, 855}},
    {"butClose", ControlKind::Button, u"Close", {3360, 3240, 1215, 375}},
    {"lblVersion", ControlKind::Label, u"", {960, 3720, 3495, 255}},
};

} // namespace

FrmAbout::FrmAbout()
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(toPixels(4680, 4095));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls(this, Controls);

    lblTitle = control<QLabel>(this, "lblTitle");
    objLogo = control<QLabel>(this, "objLogo");
    butClose = control<QPushButton>(this, "butClose");
    lblVersion = control<QLabel>(this, "lblVersion");

    lblTitle->setFont(designFont(18, true));
    objLogo->setPixmap(programIcon().pixmap(32, 32));
    lblVersion->setText(u"Version %1"_s.arg(ProgramVersion));

    connect(butClose, &QPushButton::clicked, this, &FrmAbout::butClose_Click);
}

// Unloads the window; the next "About" shows a fresh one.
void FrmAbout::butClose_Click()
{
    close();
}

// Escape and Return close it as they close a message box. A key the focused control leaves
// unused comes here; outside a dialog a button takes Space, not Return.
void FrmAbout::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter)
        butClose_Click();
    else
        QWidget::keyPressEvent(event);
}
