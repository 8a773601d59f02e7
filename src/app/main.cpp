#include "appearance.h"
#include "frmleafwright.h"
#include "windows.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Leafwright"));
    QApplication::setWindowIcon(programIcon());

    QApplication::setFont(designFont(8.25));

    FrmLeafwright *window = frmLeafwright();
    window->Form_Load(QApplication::arguments().mid(1));
    window->show();
    return app.exec();
}
