#include "frmabout.h"

#include "appearance.h"
#include "controls.h"
#include "twips.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr ControlLayout Controls[] = {
    {"objLogo", ControlKind::PictureBox, u"", {120, 120, 480, 480}},
    {"lblTitle", ControlKind::Label, u"Symbian Vellumite Leafwright", {960, 120, 3495, 855}},
    {"butClose", ControlKind::Button, u"Close", {3360, 3240, 1215, 375}},
};

} // namespace

FrmAbout::FrmAbout()
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(toPixels(4680, 3675));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls(this, Controls);

    lblTitle = control<QLabel>(this, "lblTitle");
    objLogo = control<QLabel>(this, "objLogo");
    butClose = control<QPushButton>(this, "butClose");

    lblTitle->setFont(designFont(18, true));
    objLogo->setPixmap(programIcon().pixmap(32, 32));

    connect(butClose, &QPushButton::clicked, this, &FrmAbout::butClose_Click);
}

// Unloads the window; the next "About" shows a fresh one.
void FrmAbout::butClose_Click()
{
    close();
}
