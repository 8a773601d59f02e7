#include "book/bookfile.h"

#include "hostilefiles.h"
#include "testfiles.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

// AddressSanitizer reserves far more address space than any limit a user would set.
#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 MemoryLimit = 0;
#else
constexpr qint64 MemoryLimit = 1500LL << 20;
#endif

// Every crafted file is made into a book over an existing one under the memory limit a user
// might set: either it is refused in one short line that names it, the book before left as it
// was, or it is read into a book that holds nothing from outside the file.
TEST(HostileFiles, AreRefusedInOneLineOrReadWithinAMemoryLimit)
{
    QTemporaryDir dir;
    const QByteArray before = "the book made before";
    for (const HostileFile &file : hostileFiles()) {
        SCOPED_TRACE(file.name.toStdString());
        writeBytes(dir.filePath(file.name), file.bytes);
        writeBytes(dir.filePath(u"out.vlm"_s), before);
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.setChildProcessModifier([] {
            if (MemoryLimit > 0) {
                const rlimit limit{rlim_t(MemoryLimit), rlim_t(MemoryLimit)};
                setrlimit(RLIMIT_AS, &limit);
            }
        });
        const QString how = file.name.endsWith(u".vlm"_s) ? u"--open"_s : u"--import"_s;
        process.start(QString::fromUtf8(LEAFWRIGHT_CLI),
                      {u"make"_s, u"out"_s, u"--title"_s, u"T"_s, how, file.name});
        ASSERT_TRUE(process.waitForFinished(120000));
        ASSERT_EQ(process.exitStatus(), QProcess::NormalExit);
        const QString err = QString::fromUtf8(process.readAllStandardError());
        if (process.exitCode() == 1) {
            EXPECT_TRUE(err.startsWith(u"leafwright-cli: "_s + file.name + u": "_s)) << err.toStdString();
            EXPECT_EQ(err.count(u'\n'), 1) << err.toStdString();
            EXPECT_LE(err.size(), 300);
            EXPECT_TRUE(err.contains(file.refusal)) << err.toStdString() << " (wanted " << file.refusal.toStdString() << ")";
            EXPECT_EQ(readBytes(dir.filePath(u"out.vlm"_s)), before);
        } else {
            ASSERT_EQ(process.exitCode(), 0) << err.toStdString();
            EXPECT_TRUE(file.refusal.isEmpty()) << "read, though it should be refused";
            const Result<Book> made = LoadBook(dir.filePath(u"out.vlm"_s));
            ASSERT_TRUE(made.ok());
            EXPECT_FALSE(made.value().text.contains(u"root:"_s)) << "a local file read in";
        }
    }
}

} // namespace
