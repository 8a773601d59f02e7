#include "appearance.h"
#include "frmleafwright.h"
#include "settings.h"
#include "windows.h"

#include "book/wholetextmemory.h"

#include "version.h"

#include <QApplication>

#include <csignal>
#include <cstdio>

namespace {

constexpr const char *Usage =
    "Usage: leafwright [BOOK]\n"
    "\n"
    "Starts Leafwright, which turns a book into a .vlm book file for the Vellumite reader,\n"
    "and opens BOOK, a book file, in it. The whole rest of the command line names the book,\n"
    "spaces and all; double quotes in it are dropped. Books in other formats are imported\n"
    "from the window (File > Import); the batch tool leafwright-cli does the same without\n"
    "a window.\n"
    "\n"
    "  --help      print this and exit\n"
    "  --version   print the version and exit\n";

} // namespace

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

    // Asked of the program alone, these answer on the terminal; anything else names a book.
    if (tail == QStringList{QStringLiteral("--help")}
        || tail == QStringList{QStringLiteral("-h")}) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (tail == QStringList{QStringLiteral("--version")}) {
        std::printf("leafwright %s\n", ProgramVersion.toString().toUtf8().constData());
        return 0;
    }

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
