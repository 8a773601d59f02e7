#include "book/bookfile.h"

#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Saving must never cost the old book: whatever stops a save, the old file stays as it was and
// no temporary file is left beside it. Each fault is made in a child process, so that lowered
// limits and dropped privileges end with it.
class SaveFaults : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Readable by the unprivileged child some cases run.
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                | QFile::ReadOther | QFile::ExeOther
                                                | QFile::ReadGroup | QFile::ExeGroup);
        ASSERT_TRUE(QDir(m_dir.path()).mkdir(u"books"_s));
        writeBytes(oldBook(), "the old book");
    }

    QString folder() const { return m_dir.filePath(u"books"_s); }
    QString oldBook() const { return m_dir.filePath(u"books/old.vlm"_s); }

    void expectOldBookUntouched() const
    {
        EXPECT_EQ(readBytes(oldBook()), "the old book");
        EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{u"old.vlm"_s});
    }

    static Book bigBook()
    {
        Book book;
        book.title = u"New"_s;
        book.text = QString(200000, u'x');
        return book;
    }

    // Runs prepare() and then SaveBook over the old book in a child process. Returns the
    // message of the failed save, or nothing when the save succeeded or the child could not
    // make the fault.
    std::optional<QString> saveInChild(const std::function<bool()> &prepare)
    {
        int channel[2];
        if (pipe(channel) != 0)
            return std::nullopt;
        const pid_t child = fork();
        if (child == 0) {
            close(channel[0]);
            if (!prepare())
                _exit(2);
            const Result<CodePage::Unstorable> saved = SaveBook(bigBook(), oldBook());
            if (saved.ok())
                _exit(0);
            const QByteArray message = saved.error().message().toUtf8();
            [[maybe_unused]] const auto written =
                write(channel[1], message.constData(), size_t(message.size()));
            _exit(1);
        }
        close(channel[1]);
        QByteArray message;
        char buffer[512];
        for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
            message.append(buffer, n);
        close(channel[0]);
        int status = 0;
        waitpid(child, &status, 0);
        m_childStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (m_childStatus != 1)
            return std::nullopt;
        return QString::fromUtf8(message);
    }

    QTemporaryDir m_dir;
    int m_childStatus = -1;
};

TEST_F(SaveFaults, AWriteThatFailsPartWayLeavesTheOldBook)
{
    const std::optional<QString> message = saveInChild([] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        return setrlimit(RLIMIT_FSIZE, &limit) == 0;
    });
    ASSERT_TRUE(message) << "child ended with " << m_childStatus;
    EXPECT_TRUE(message->startsWith(oldBook() + u": "_s)) << message->toStdString();
    expectOldBookUntouched();
}

TEST_F(SaveFaults, AReadOnlyFolderLeavesTheOldBook)
{
    QFile::setPermissions(folder(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                        | QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
    // The superuser writes anywhere: the child gives that up first.
    const std::optional<QString> message = saveInChild([] {
        if (geteuid() != 0)
            return true;
        return setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0;
    });
    QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!message && m_childStatus == 2)
        GTEST_SKIP() << "could not give up the superuser's rights to make the folder read-only";
    ASSERT_TRUE(message) << "child ended with " << m_childStatus;
    EXPECT_TRUE(message->startsWith(oldBook() + u": "_s)) << message->toStdString();
    expectOldBookUntouched();
}

TEST_F(SaveFaults, TheBatchToolPastAFileSizeLimitSaysSoAndLeavesTheOldBook)
{
    writeBytes(m_dir.filePath(u"in.txt"_s), QByteArray(200000, 'x'));
    QProcess process;
    process.start(u"prlimit"_s,
                  {u"--fsize=4096"_s, QString::fromUtf8(LEAFWRIGHT_CLI), u"make"_s, oldBook(),
                   u"--import"_s, m_dir.filePath(u"in.txt"_s), u"--title"_s, u"T"_s});
    if (!process.waitForStarted())
        GTEST_SKIP() << "prlimit is not installed";
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    EXPECT_TRUE(err.startsWith(u"leafwright-cli: "_s + oldBook() + u": "_s)) << err.toStdString();
    EXPECT_EQ(err.count(u'\n'), 1) << err.toStdString();
    expectOldBookUntouched();
}

} // namespace
