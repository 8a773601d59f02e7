#include "book/bookfile.h"

#include "testfiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

struct Measured
{
    int status = -1;
    qint64 peakBytes = 0; // the largest resident memory the process ever had
};

// Runs the batch tool with its output thrown away and measures its peak memory.
Measured measureCli(const QStringList &arguments)
{
    QList<QByteArray> words = {QByteArray(LEAFWRIGHT_CLI)};
    for (const QString &argument : arguments)
        words.append(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, qint64(usage.ru_maxrss) * 1024};
}

class HostileBooks : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

TEST_F(HostileBooks, AHugeChapterCountWithAShortBodyIsRefusedWithoutReservingForIt)
{
    QByteArray bytes = header(32767, "T", "", "");
    bytes += record(0, "only one");
    writeBytes(path(u"short.vlm"_s), bytes);
    const Measured run = measureCli({u"show"_s, path(u"short.vlm"_s)});
    EXPECT_EQ(run.status, 1);
    EXPECT_LT(run.peakBytes, 200LL << 20);
}

TEST_F(HostileBooks, AHundredMegabyteTextTakesMemoryInProportion)
{
    constexpr qsizetype Size = 100LL << 20;
    {
        QFile file(path(u"huge.vlm"_s));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(header(0, "Huge", "", ""));
        const QByteArray line = QByteArray(98, 'x') + "\r\n";
        for (qsizetype written = 0; written < Size; written += line.size())
            file.write(line);
    }
    const Measured run = measureCli({u"show"_s, path(u"huge.vlm"_s)});
    EXPECT_EQ(run.status, 0);
    // The bytes once, the text as UTF-16 twice over (read, then held): about six times the file.
    EXPECT_LT(run.peakBytes, 8 * Size) << run.peakBytes / (1 << 20) << " MB";
}

TEST_F(HostileBooks, NulBytesInTitlesSurviveShowAndSavingAgain)
{
    QByteArray bytes =
        header(1, QByteArray(128, '\0'), "", "") + record(3, QByteArray(40, '\0')) + "text";
    writeBytes(path(u"nul.vlm"_s), bytes);

    QProcess show;
    show.start(QString::fromUtf8(LEAFWRIGHT_CLI), {u"show"_s, path(u"nul.vlm"_s), u"--json"_s});
    ASSERT_TRUE(show.waitForFinished(60000));
    EXPECT_EQ(show.exitCode(), 0);
    const QJsonObject object = QJsonDocument::fromJson(show.readAllStandardOutput()).object();
    EXPECT_EQ(object[u"title"_s].toString(), QString(128, QChar(0)));
    EXPECT_EQ(object[u"chapters"_s].toArray()[0][u"title"_s].toString(), QString(40, QChar(0)));

    QProcess reading;
    reading.start(QString::fromUtf8(LEAFWRIGHT_CLI), {u"show"_s, path(u"nul.vlm"_s)});
    ASSERT_TRUE(reading.waitForFinished(60000));
    EXPECT_FALSE(reading.readAllStandardOutput().contains('\0')) << "nothing a terminal acts on";

    QProcess again;
    again.start(QString::fromUtf8(LEAFWRIGHT_CLI),
                {u"make"_s, path(u"again.vlm"_s), u"--open"_s, path(u"nul.vlm"_s)});
    ASSERT_TRUE(again.waitForFinished(60000));
    EXPECT_EQ(readBytes(path(u"again.vlm"_s)), bytes);
}

} // namespace
