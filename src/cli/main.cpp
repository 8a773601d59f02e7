#include "batchtool.h"
#include "console.h"

#include <QString>
#include <QStringList>

#include "book/wholetextmemory.h"

#include <csignal>

int main(int argc, char *argv[])
{
    // Past a file-size limit a write fails and is reported like any other, instead of the
    // signal ending the program with the book half written.
    std::signal(SIGXFSZ, SIG_IGN);
    reuseMemoryOfWholeTextCopies();

    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    Console console(stdout, stderr);
    return runBatchTool(arguments, console);
}
