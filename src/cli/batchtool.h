#pragma once

#include <QStringList>

class Console;

// The exit statuses of the batch tool.
enum ExitStatus {
    ExitSuccess = 0,
    ExitFileProblem = 1, // a file could not be read or written, or is no book file; check found
                         // problems
    ExitUsage = 2,       // the command line itself is wrong
};

// Runs the command named by the first argument (the program's name not included) and returns
// the process's exit status.
int runBatchTool(const QStringList &arguments, Console &console);
