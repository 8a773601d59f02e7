#include "batchtoolrun.h"
#include "epubfiles.h"
#include "testfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include <map>

using namespace Qt::StringLiterals;

namespace {

// Every file under folder, by its path inside it, with its bytes.
std::map<QString, QByteArray> filesUnder(const QString &folder)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        files[QDir(folder).relativeFilePath(file)] = readBytes(file);
    }
    return files;
}

const QByteArray Prose =
    QByteArray("The road ran on past the river and the mill, and the sea lay beyond.\n")
        .repeated(6);
const QByteArray Framed = "Title: The Sea\nAuthor: Ann Lee\n\n"
                          "*** START OF THE PROJECT GUTENBERG EBOOK THE SEA ***\n\n"
                          "CHAPTER I\n\n"
                          + Prose + "\n\nCHAPTER II\n\n" + Prose
                          + "\n\n"
                            "*** END OF THE PROJECT GUTENBERG EBOOK THE SEA ***\nLicence";

// A library of nested folders and mixed formats: each book is made as make makes it alone,
// reported in a row, and a book that fails leaves the others written.
TEST_F(BatchTool, ConvertMakesEveryBookOfAFolderAsMakeWouldAndReportsEach)
{
    QDir(m_dir.path()).mkpath(u"lib/sub/deeper"_s);
    writeBytes(path(u"lib/sea.txt"_s), Framed);
    writeBytes(path(u"lib/sub/Notes.txt"_s), "Just notes.\n");
    writeBytes(path(u"lib/sub/notes.html"_s), "<html><body><h1>One</h1><p>x</p></body></html>");
    writeBytes(path(u"lib/sub/deeper/tale.epub"_s),
               zipArchive(epubEntries({"<h1>One</h1><p>Text.</p>"},
                                      "<li><a href='c1.xhtml'>One</a></li>")));
    writeBytes(path(u"lib/sub/deeper/broken.epub"_s), "PK\x03\x04 no archive");
    writeBytes(path(u"lib/cover.jpg"_s), "\xFF\xD8\xFF");
    ok(u"make lib/old --import lib/sea.txt --title Old"_s);

    const Outcome run = cli(u"convert lib -o out --clean all --find-chapters --sort --jobs 3 "
                            "--report report.json"_s);
    EXPECT_EQ(run.status, 1) << run.err.toStdString();
    EXPECT_TRUE(("\n" + run.err).contains("\nleafwright-cli: lib/sub/deeper/broken.epub: "))
        << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("6 books: 5 converted, 1 failed, 0 skipped; 1 files of other "
                                 "kinds passed over"))
        << run.out.toStdString();

    // Each row: input, output, status, title, chapters; a book without a title takes its
    // file name; the two notes share a name whatever the case, so both are numbered.
    const std::tuple<QString, QString, QString, QString, int> rows[] = {
        {u"lib/old.vlm"_s, u"out/old.vlm"_s, u"converted"_s, u"Old"_s, 2},
        {u"lib/sea.txt"_s, u"out/sea.vlm"_s, u"converted"_s, u"The Sea"_s, 2},
        {u"lib/sub/Notes.txt"_s, u"out/sub/Notes (1).vlm"_s, u"converted"_s, u"Notes"_s, 0},
        {u"lib/sub/deeper/broken.epub"_s, u"out/sub/deeper/broken.vlm"_s, u"failed"_s, {}, 0},
        {u"lib/sub/deeper/tale.epub"_s, u"out/sub/deeper/tale.vlm"_s, u"converted"_s, u"T"_s, 1},
        {u"lib/sub/notes.html"_s, u"out/sub/notes (2).vlm"_s, u"converted"_s, u"notes"_s, 1},
    };
    const QJsonArray report = QJsonDocument::fromJson(readBytes(path(u"report.json"_s))).array();
    ASSERT_EQ(report.size(), qsizetype(std::size(rows)));
    for (qsizetype i = 0; i < report.size(); ++i) {
        const QJsonObject row = report[i].toObject();
        const auto &[input, output, status, title, chapters] = rows[i];
        SCOPED_TRACE(input.toStdString());
        EXPECT_EQ(row[u"input"_s].toString(), input);
        EXPECT_EQ(row[u"output"_s].toString(), output);
        EXPECT_EQ(row[u"status"_s].toString(), status);
        EXPECT_EQ(row[u"title"_s].toString(), title);
        EXPECT_EQ(row[u"chapters"_s].toInt(), chapters);
        if (status == u"failed"_s) {
            EXPECT_TRUE(row[u"message"_s].toString().startsWith(input + u": "_s));
            EXPECT_FALSE(QFile::exists(path(output)));
            continue;
        }
        // The same book make writes, given the title convert gave it.
        const bool named = input.endsWith(u".vlm"_s);
        ok(u"make alone --clean all --find-chapters --sort"_s,
           {named ? u"--open"_s : u"--import"_s, input, u"--title"_s, title});
        EXPECT_EQ(readBytes(path(output)), readBytes(path(u"alone.vlm"_s)));
    }
    EXPECT_TRUE(report[2].toObject()[u"message"_s].toString().contains(u"notes.html"_s));

    // As many threads as books, or one: the same books, byte for byte.
    const QString books = u"lib/sub/deeper/tale.epub lib/sea.txt lib/sub/Notes.txt "
                          "lib/sub/notes.html --clean all --find-chapters --sort --quiet"_s;
    ok(u"convert -o one --jobs 1 "_s + books);
    ok(u"convert -o many --jobs 8 "_s + books);
    EXPECT_EQ(filesUnder(path(u"one"_s)), filesUnder(path(u"many"_s)));
    EXPECT_EQ(filesUnder(path(u"one"_s)).size(), 4u);
}

// What stands in the output folder: an input is never written over, an output newer than its
// input is left with --skip-existing, and CSV quotes what needs it.
TEST_F(BatchTool, ConvertLeavesInputsAndNewerOutputsAlone)
{
    QDir(m_dir.path()).mkpath(u"lib"_s);
    writeBytes(path(u"lib/a, b.txt"_s), "text");
    ok(u"make lib/kept --import \"lib/a, b.txt\" --title Kept"_s);
    const QByteArray kept = readBytes(path(u"lib/kept.vlm"_s));

    const Outcome over = cli(u"convert lib -o lib --report r.csv"_s);
    EXPECT_EQ(over.status, 1);
    EXPECT_TRUE(over.err.contains("lib/kept.vlm: is an input")) << over.err.toStdString();
    EXPECT_EQ(readBytes(path(u"lib/kept.vlm"_s)), kept);
    const QList<QByteArray> csv = readBytes(path(u"r.csv"_s)).split('\n');
    EXPECT_TRUE(csv[1].startsWith("\"lib/a, b.txt\",\"lib/a, b.vlm\",converted,,\"a, b\",,0,4,"))
        << csv[1].toStdString();

    // An output folder inside the input folder holds no inputs, however often it is run.
    ok(u"convert lib -o lib/books --quiet"_s);
    EXPECT_TRUE(ok(u"convert lib -o lib/books"_s).out.contains("3 books: 3 converted"));

    ok(u"convert lib/kept.vlm -o out --quiet"_s);
    writeBytes(path(u"out/kept.vlm"_s), "newer than its input");
    const Outcome skipped = ok(u"convert lib/kept.vlm -o out --skip-existing"_s);
    EXPECT_TRUE(skipped.out.contains("1 books: 0 converted, 0 failed, 1 skipped"));
    EXPECT_EQ(readBytes(path(u"out/kept.vlm"_s)), "newer than its input");

    const std::pair<QString, QString> usage[] = {
        {u"convert lib"_s, u"-o OUTDIR"_s},
        {u"convert -o out"_s, u"missing file name"_s},
        {u"convert lib -o out --jobs 0"_s, u"--jobs"_s},
        {u"convert lib -o out --clean 9"_s, u"--clean"_s},
    };
    for (const auto &[command, piece] : usage)
        expectOneLine(cli(command), 2, piece);
}

// A folder's README.md, LICENSE.md and the like are skipped with the reason, unless they are
// books all the same: over 100 KB, or with three chapters the heading detector finds. Named
// alone on the command line, such a file is converted.
TEST_F(BatchTool, ConvertSkipsAFoldersProjectFilesThatAreNoBooks)
{
    const QByteArray chapters =
        "# Notes\n\n## Chapter 1\n\n" + Prose + "\n## Chapter 2\n\n" + Prose;
    const QByteArray sections = "# Tool\n\n## Installation\n\nRun it.\n\n## Usage\n\nUse it.\n\n"
                                "## Licence\n\nAny.\n\n## Authors\n\nUs.\n";
    const qsizetype limit = 100 * 1024;
    // Each row: the file in lib/, its bytes, whether it is converted.
    const std::tuple<QString, QByteArray, bool> rows[] = {
        {u"AUTHORS.md"_s, sections.leftJustified(limit, '.'), false},
        {u"CHANGES.md"_s, chapters + "\n## Chapter 3\n\n" + Prose, true},
        {u"CONTRIBUTING.md"_s, chapters, false},
        {u"LICENSE.md"_s, sections, false},
        {u"README.txt"_s, sections, true},
        {u"TODO.md"_s, sections.leftJustified(limit + 1, '.'), true},
        {u"notes/Readme.Markdown"_s, sections, false},
        {u"notes/readme-first.md"_s, sections, true},
        {u"notes/sources.MD"_s, sections, false},
    };
    QDir(m_dir.path()).mkpath(u"lib/notes"_s);
    for (const auto &[name, bytes, converted] : rows)
        writeBytes(path(u"lib/"_s + name), bytes);

    const Outcome run = ok(u"convert lib -o out --report report.json"_s);
    EXPECT_TRUE(run.out.contains("9 books: 4 converted, 0 failed, 5 skipped"))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("\nskipped lib/LICENSE.md: a project file, not a book\n"))
        << run.out.toStdString();
    const QJsonArray report = QJsonDocument::fromJson(readBytes(path(u"report.json"_s))).array();
    ASSERT_EQ(report.size(), qsizetype(std::size(rows)));
    for (qsizetype i = 0; i < report.size(); ++i) {
        const QJsonObject row = report[i].toObject();
        const auto &[name, bytes, converted] = rows[i];
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(row[u"input"_s].toString(), u"lib/"_s + name);
        EXPECT_EQ(row[u"status"_s].toString(), converted ? u"converted"_s : u"skipped"_s);
        EXPECT_EQ(QFile::exists(path(row[u"output"_s].toString())), converted);
        if (!converted) {
            EXPECT_EQ(row[u"message"_s].toString(),
                      u"lib/%1: a project file, not a book"_s.arg(name));
        }
    }

    EXPECT_TRUE(ok(u"convert lib/LICENSE.md -o alone"_s).out.contains("1 books: 1 converted"));
    EXPECT_TRUE(QFile::exists(path(u"alone/LICENSE.vlm"_s)));
}

// Every corpus book, text, shape and EPUB, comes out of convert as make makes it.
TEST_F(BatchTool, ConvertOfTheCorpusEqualsMakeBookForBook)
{
    if (corpusBooks().isEmpty())
        GTEST_SKIP() << "no corpus folder";
    ok(u"convert -o out --clean all --find-chapters --sort --quiet"_s, {corpusDir()});
    const std::map<QString, QByteArray> converted = filesUnder(path(u"out"_s));
    qsizetype compared = 0;
    QDirIterator books(corpusDir(), {u"*.txt"_s, u"*.epub"_s}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (books.hasNext()) {
        const QString book = books.next();
        const QString inside = QDir(corpusDir()).relativeFilePath(book);
        SCOPED_TRACE(inside.toStdString());
        const QString make = u"make alone --clean all --find-chapters --sort --import"_s;
        ok(make, {book});
        if (load(u"alone.vlm"_s).title.trimmed().isEmpty())
            ok(make, {book, u"--title"_s, QFileInfo(book).completeBaseName()});
        const auto found = converted.find(inside.section(u'.', 0, -2) + u".vlm"_s);
        ASSERT_NE(found, converted.end());
        EXPECT_EQ(found->second, readBytes(path(u"alone.vlm"_s)));
        ++compared;
    }
    EXPECT_GE(compared, 20);

    // Killed at any moment, convert leaves only whole books; --skip-existing makes the rest.
    QProcess killed;
    killed.setWorkingDirectory(m_dir.path());
    killed.start(QString::fromUtf8(LEAFWRIGHT_CLI),
                 {u"convert"_s, u"-o"_s, u"again"_s, u"--clean"_s, u"all"_s, u"--find-chapters"_s,
                  u"--sort"_s, u"--quiet"_s, u"--jobs"_s, u"1"_s, corpusDir()});
    ASSERT_TRUE(killed.waitForStarted());
    QThread::msleep(400);
    killed.kill();
    killed.waitForFinished();
    const std::map<QString, QByteArray> left = filesUnder(path(u"again"_s));
    for (const auto &[name, bytes] : left) {
        if (name.endsWith(u".vlm"_s)) {
            EXPECT_EQ(bytes, converted.at(name)) << name.toStdString() << " is not whole";
        }
    }
    ok(u"convert -o again --clean all --find-chapters --sort --quiet --skip-existing"_s,
       {corpusDir()});
    std::map<QString, QByteArray> made = filesUnder(path(u"again"_s));
    std::erase_if(made, [](const auto &file) { return !file.first.endsWith(u".vlm"_s); });
    EXPECT_EQ(made, converted);
}

} // namespace
