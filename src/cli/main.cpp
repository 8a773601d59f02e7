#include "batchtool.h"
#include "console.h"

#include <QString>
#include <QStringList>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    Console console(stdout, stderr);
    return runBatchTool(arguments, console);
}
