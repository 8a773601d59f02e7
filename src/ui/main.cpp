#include "appearance.h"
#include "frmleafwright.h"
#include "settings.h"
#include "windows.h"

#include "book/wholetextmemory.h"

#include <QApplication>

#include <csignal>

int main(int argc, char *argv[])
{
    // Past a file-size limit a write fails and Save As says so, instead of the signal ending
    // the program.
    std::signal(SIGXFSZ, SIG_IGN);
    reuseMemoryOfWholeTextCopies();

    // The whole command-line tail names the book to open; QApplication would take its own
    // options (-style, -reverse, ...) out of it, so the tail is read before it starts.
    QStringList tail;
    for (int i = 1; i < argc; ++i)
        tail.append(QString::fromLocal8Bit(argv[i]));

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Leafwright"));
    QApplication::setWindowIcon(programIcon());
    QApplication::setFont(designFont(8.25));

    FrmLeafwright *window = frmLeafwright();
    restoreWindowPlace(window);
    window->Form_Load(tail);
    window->show();
    return app.exec();
}
