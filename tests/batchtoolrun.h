#pragma once

#include "book/bookfile.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

// The address space a user might allow the tool (ulimit -v 1500000). AddressSanitizer reserves
// far more than that for itself, so its build runs without one.
#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 UserMemoryLimit = 0;
#else
constexpr qint64 UserMemoryLimit = 1500LL << 20;
#endif

struct Outcome
{
    int status = -1;
    QByteArray out, err;
};

// Each test runs the batch tool in a folder of its own, with a command line written as a shell
// would split it.
class BatchTool : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    Book load(const QString &name) const { return LoadBook(path(name)).value(); }

    // memoryLimit, when given, is the address space the tool may take (as ulimit -v sets it).
    Outcome cli(const QString &command, const QStringList &extra = {},
                const QString &standardOutput = {}, qint64 memoryLimit = 0) const
    {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        if (memoryLimit > 0) {
            process.setChildProcessModifier([memoryLimit] {
                const rlimit limit{rlim_t(memoryLimit), rlim_t(memoryLimit)};
                setrlimit(RLIMIT_AS, &limit);
            });
        }
        if (!standardOutput.isEmpty())
            process.setStandardOutputFile(standardOutput);
        process.start(QString::fromUtf8(LEAFWRIGHT_CLI), QProcess::splitCommand(command) + extra);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

    // A run that must succeed.
    Outcome ok(const QString &command, const QStringList &extra = {}) const
    {
        const Outcome run = cli(command, extra);
        EXPECT_EQ(run.status, 0) << command.toStdString() << ": " << run.err.toStdString();
        return run;
    }

    // The one line a failure prints: the tool's name, then the file or problem.
    static void expectOneLine(const Outcome &run, int status, const QString &piece)
    {
        const QString err = QString::fromUtf8(run.err);
        EXPECT_TRUE(run.status == status && err.startsWith(QStringLiteral("leafwright-cli: "))
                    && err.count(u'\n') == 1 && err.contains(piece) && run.out.isEmpty())
            << run.status << ": " << err.toStdString() << " (wanted " << piece.toStdString() << ")";
    }

    QTemporaryDir m_dir;
};
