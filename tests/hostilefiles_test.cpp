#include "batchtoolrun.h"
#include "hostilefiles.h"
#include "testfiles.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// Every crafted file is made into a book over an existing one under the memory limit a user
// might set: either it is refused in one short line that names it, the book before left as it
// was, or it is read into a book that holds nothing from outside the file.
TEST_F(BatchTool, HostileFilesAreRefusedInOneLineOrReadWithinAMemoryLimit)
{
    const QByteArray before = "the book made before";
    // Besides the files, what only looks like one: a device and a pipe.
    QList<HostileFile> files = hostileFiles();
    ASSERT_TRUE(QFile::link(u"/dev/zero"_s, path(u"zero.epub"_s)));
    ASSERT_EQ(mkfifo(QFile::encodeName(path(u"fifo.txt"_s)).constData(), 0600), 0);
    files.append({{u"zero.epub"_s, {}, u"not a regular file"_s},
                  {u"fifo.txt"_s, {}, u"not a regular file"_s}});
    for (const HostileFile &file : files) {
        SCOPED_TRACE(file.name.toStdString());
        if (!file.bytes.isEmpty() || !QFileInfo::exists(path(file.name)))
            writeBytes(path(file.name), file.bytes);
        writeBytes(path(u"out.vlm"_s), before);
        const QString how = file.name.endsWith(u".vlm"_s) ? u"--open"_s : u"--import"_s;
        const Outcome run =
            cli(u"make out --title T "_s + how, {file.name}, {}, UserMemoryLimit);
        const QString err = QString::fromUtf8(run.err);
        if (run.status == 1) {
            EXPECT_TRUE(err.startsWith(u"leafwright-cli: "_s + file.name + u": "_s)) << run.err.toStdString();
            EXPECT_EQ(err.count(u'\n'), 1) << run.err.toStdString();
            EXPECT_LE(err.size(), 300);
            EXPECT_TRUE(err.contains(file.refusal)) << run.err.toStdString() << " (wanted " << file.refusal.toStdString() << ")";
            EXPECT_EQ(readBytes(path(u"out.vlm"_s)), before);
        } else {
            ASSERT_EQ(run.status, 0) << run.err.toStdString();
            EXPECT_TRUE(file.refusal.isEmpty()) << "read, though it should be refused";
            EXPECT_FALSE(load(u"out.vlm"_s).text.contains(u"root:"_s)) << "a local file read in";
        }
    }
}

} // namespace
