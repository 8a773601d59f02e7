#include "book/bookfile.h"
#include "book/codepage.h"
#include "book/textimport.h"

#include "testfiles.h"

#include <QDir>
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

struct Outcome
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Outcome cli(const QStringList &arguments, const QString &standardOutput = {})
{
    QProcess process;
    if (!standardOutput.isEmpty())
        process.setStandardOutputFile(standardOutput);
    process.start(QString::fromUtf8(LEAFWRIGHT_CLI), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

QJsonObject json(const QByteArray &out)
{
    return QJsonDocument::fromJson(out).object();
}

QStringList titles(const Book &book)
{
    QStringList result;
    for (const ChapterEntry &row : book.chapters)
        result.append(row.title.trimmed() + u'@' + row.offset);
    return result;
}

class BatchTool : public ::testing::Test
{
protected:
    QString path(const char *name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    Book load(const char *name) const { return LoadBook(path(name)).value(); }

    // The one line a failure prints: the tool's name, then the file or problem.
    static void expectOneLine(const Outcome &run, int status, const QString &piece)
    {
        EXPECT_EQ(run.status, status) << run.err.toStdString();
        const QString err = QString::fromUtf8(run.err);
        EXPECT_TRUE(err.startsWith(u"leafwright-cli: "_s)) << err.toStdString();
        EXPECT_EQ(err.count(u'\n'), 1) << err.toStdString();
        EXPECT_TRUE(err.contains(piece)) << err.toStdString() << " lacks " << piece.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }

    QTemporaryDir m_dir;
};

TEST_F(BatchTool, MakeImportsATextFileWithItsInformation)
{
    writeBytes(path("emma.txt"), "\xEF\xBB\xBF"
                                 "Chapter 1\nIt was \xE2\x80\x9C"
                                 "fine\xE2\x80\x9D.\n");
    const Outcome run = cli({u"make"_s, path("emma"), u"--import"_s, path("emma.txt"), u"--title"_s,
                             u"Emma"_s, u"--author=Jane Austen"_s, u"--synopsis"_s, u"One\ntwo"_s});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_EQ(readBytes(path("emma.vlm")), header(0, "Emma", "Jane Austen", "One\r\ntwo")
                                               + "Chapter 1\r\nIt was \x93"
                                                 "fine\x94.\r\n");

    // Information given with --open replaces the stored fields and keeps the rest.
    ASSERT_EQ(
        cli({u"make"_s, path("renamed.vlm"), u"--open"_s, path("emma.vlm"), u"--title"_s, u"New"_s})
            .status,
        0);
    EXPECT_EQ(readBytes(path("renamed.vlm")), readBytes(path("emma.vlm")).replace(19, 4, "New "));
}

TEST_F(BatchTool, MakeWarnsAboutAMissingTitleAndUnstorableCharactersButSaves)
{
    writeBytes(path("greek.txt"), "alpha \xCE\xB1 and omega \xCF\x89\n");
    const Outcome run = cli(
        {u"make"_s, path("greek.vlm"), u"--import"_s, path("greek.txt"), u"--title"_s, u"  "_s});
    EXPECT_EQ(run.status, 0);
    const QStringList lines = QString::fromUtf8(run.err).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << run.err.toStdString();
    EXPECT_TRUE(lines[0].startsWith(u"leafwright-cli: warning: "_s));
    EXPECT_TRUE(lines[0].contains(u"no title"_s));
    EXPECT_TRUE(lines[1].contains(u"2 characters"_s)) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains(u"\"\u03B1\" (U+03B1)"_s)) << lines[1].toStdString();
    EXPECT_EQ(readBytes(path("greek.vlm")).mid(2323), "alpha ? and omega ?\r\n");
}

TEST_F(BatchTool, UsageProblemsExitWithTwoAndWriteNothing)
{
    writeBytes(path("in.txt"), "text");
    const QString in = path("in.txt");
    const QString out = path("out.vlm");
    const std::pair<QStringList, QString> cases[] = {
        {{}, u"no command"_s},
        {{u"convert"_s}, u"unknown command \"convert\""_s},
        {{u"make"_s, out}, u"--import TEXT or --open BOOK"_s},
        {{u"make"_s, u"--import"_s, in}, u"missing file name"_s},
        {{u"make"_s, out, u"--import"_s, in, u"--colour"_s}, u"unknown option \"--colour\""_s},
        {{u"make"_s, out, u"--import"_s, in, u"--title"_s}, u"--title needs a value"_s},
        {{u"make"_s, out, u"--import"_s, in, u"--title"_s, u"a"_s, u"--title"_s, u"b"_s},
         u"more than once"_s},
        {{u"make"_s, out, u"extra"_s, u"--import"_s, in}, u"unexpected argument \"extra\""_s},
        {{u"make"_s, out, u"--import"_s, in, u"--scan"_s, u"7"_s}, u"style from 0 to 6"_s},
        {{u"make"_s, out, u"--import"_s, in, u"--clean"_s, u"0,,1"_s}, u"box numbers 0 to 7"_s},
        {{u"make"_s, out, u"--import"_s, in, u"--replace"_s, u"a"_s},
         u"--replace needs 2 values"_s},
        {{u"show"_s, in, u"--json=yes"_s}, u"--json takes no value"_s},
        {{u"text"_s, in, u"-o"_s}, u"-o needs a value"_s},
    };
    for (const auto &[arguments, piece] : cases) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        expectOneLine(cli(arguments), 2, piece);
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{u"in.txt"_s});
}

TEST_F(BatchTool, FileProblemsExitWithOneAndLeaveTheOutputAlone)
{
    writeBytes(path("existing.vlm"), "keep me");
    for (const QString &name : writeMalformedBooks(m_dir.path())) {
        SCOPED_TRACE(name.toStdString());
        const QString book = m_dir.filePath(name);
        expectOneLine(cli({u"make"_s, path("new.vlm"), u"--open"_s, book}), 1, book);
        expectOneLine(cli({u"make"_s, path("existing.vlm"), u"--open"_s, book}), 1, book);
        expectOneLine(cli({u"show"_s, book, u"--json"_s}), 1, book);
        expectOneLine(cli({u"text"_s, book}), 1, book);
        expectOneLine(cli({u"check"_s, book}), 1, book);
    }
    expectOneLine(cli({u"make"_s, path("new.vlm"), u"--import"_s, path("missing.txt")}), 1,
                  path("missing.txt"));

    // A book that cannot be written names the place it was to go.
    writeBytes(path("in.txt"), "text");
    const QString nowhere = path("no folder/out.vlm");
    expectOneLine(cli({u"make"_s, nowhere, u"--import"_s, path("in.txt"), u"--title"_s, u"T"_s}), 1,
                  nowhere);

    // Output that cannot be written is a failure, not a success.
    ASSERT_TRUE(SaveBook(Book{{}, {}, {}, {}, u"text"_s}, path("good.vlm")).ok());
    if (QFile::exists(u"/dev/full"_s)) {
        for (const QString &command : {u"show"_s, u"text"_s}) {
            const Outcome full = cli({command, path("good.vlm")}, u"/dev/full"_s);
            EXPECT_EQ(full.status, 1) << command.toStdString();
            EXPECT_TRUE(full.err.contains("standard output")) << full.err.toStdString();
        }
    }
    EXPECT_EQ(readBytes(path("existing.vlm")), "keep me");
    EXPECT_FALSE(QFile::exists(path("new.vlm")));
    EXPECT_FALSE(QFile::exists(path("missing.vlm")));
}

TEST_F(BatchTool, MakeCleansThenReplacesInTheOrderGiven)
{
    writeBytes(path("in.txt"), "one\ntwo\n\n\tthree  four");
    const Outcome run = cli({u"make"_s, path("out"), u"--import"_s, path("in.txt"), u"--title"_s,
                             u"T"_s, u"--clean"_s, u"0,4"_s, u"--replace"_s, u"TWO"_s, u"2\n"_s,
                             u"--replace"_s, u"2"_s, u"II"_s, u"--replace"_s, u"kiwi"_s, u"x"_s});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(QString::fromUtf8(run.err), u"String not found: kiwi\n"_s);
    EXPECT_EQ(readBytes(path("out.vlm")).mid(2323), "one II\r\n\r\n\r\nthree  four");

    ASSERT_EQ(cli({u"make"_s, path("all"), u"--import"_s, path("in.txt"), u"--title"_s, u"T"_s,
                   u"--clean"_s, u"all"_s})
                  .status,
              0);
    EXPECT_EQ(readBytes(path("all.vlm")).mid(2323), "one two\r\nthree four");
}

TEST_F(BatchTool, MakeTakesTheGutenbergFrameAwayAndGivesCharactersAStorableForm)
{
    writeBytes(path("in.txt"), "Title: War and Peace\nAuthor: Leo Tolstoy\n\n"
                               "*** START OF THE PROJECT GUTENBERG EBOOK WAR AND PEACE ***\n\n"
                               "\xd0\x9b\xd0\xb5\xd0\xb2 \xf0\x9f\x98\x80\n\n"
                               "*** END OF THE PROJECT GUTENBERG EBOOK WAR AND PEACE ***\nLicence");
    const Outcome run = cli({u"make"_s, path("out"), u"--import"_s, path("in.txt"), u"--author"_s,
                             u"Tolstoy"_s, u"--clean"_s, u"all"_s});
    ASSERT_EQ(run.status, 0);
    const QString out = path("out.vlm");
    EXPECT_EQ(QString::fromUtf8(run.err),
              out + u": removed the Project Gutenberg header (5 lines) and licence (3 lines)\n"_s
                  + out + u": replaced 4 characters a book file cannot hold\n"_s);
    EXPECT_EQ(readBytes(out), header(0, "War and Peace", "Tolstoy", "") + "Lev ?");

    // Without box 7 the save warning names the box that would have kept the characters.
    const Outcome lossy =
        cli({u"make"_s, path("lossy"), u"--import"_s, path("in.txt"), u"--clean"_s, u"6"_s});
    ASSERT_EQ(lossy.status, 0);
    EXPECT_TRUE(lossy.err.contains("\"Replace characters a book file cannot hold\" would"))
        << lossy.err.toStdString();
}

TEST_F(BatchTool, ChaptersListsTheDetectorsHeadingsAndMakeAppendsThem)
{
    const QByteArray prose =
        QByteArray("The road ran on past the river and the mill.\n").repeated(6);
    writeBytes(path("in.txt"), "Contents\n\n\nCHAPTER I\n\n" + prose + "\n\nCHAPTER II\n\n" + prose
                                   + "\n\nChapter 7, verse 3, was read.\n");
    const Outcome listed = cli({u"chapters"_s, path("in.txt")});
    ASSERT_EQ(listed.status, 0) << listed.err.toStdString();
    EXPECT_EQ(listed.out, "4\t14\tchapter\tCHAPTER I\n14\t307\tchapter\tCHAPTER II\n");
    const QJsonArray headings =
        QJsonDocument::fromJson(cli({u"chapters"_s, path("in.txt"), u"--json"_s}).out).array();
    ASSERT_EQ(headings.size(), 2);
    EXPECT_EQ(QJsonDocument(headings[1].toObject()).toJson(QJsonDocument::Compact),
              R"({"level":"chapter","line":14,"number":2,"offset":307,"title":"CHAPTER II"})");

    // After the described scan's rows, before sorting; a book file is read as it was saved.
    ASSERT_EQ(cli({u"make"_s, path("out"), u"--import"_s, path("in.txt"), u"--title"_s, u"T"_s,
                   u"--scan"_s, u"0"_s, u"--find-chapters"_s})
                  .status,
              0);
    EXPECT_EQ(titles(load("out.vlm")), (QStringList{u"Contents@ 0"_s, u"Chapter 7@ 601"_s,
                                                    u"CHAPTER I@ 14"_s, u"CHAPTER II@ 307"_s}));
    EXPECT_EQ(cli({u"chapters"_s, path("out.vlm")}).out, listed.out);
}

TEST_F(BatchTool, MakeScansBehindTheOpenedRowsAndSorts)
{
    Book book{
        u"T"_s, {}, {}, {{u"Kept"_s, u" 50"_s}}, u"Contents\r\nChapter 2: Two\r\nChapter 1"_s};
    ASSERT_TRUE(SaveBook(book, path("in.vlm")).ok());
    ASSERT_EQ(
        cli({u"make"_s, path("scanned"), u"--open"_s, path("in.vlm"), u"--scan"_s, u"0"_s}).status,
        0);
    EXPECT_EQ(titles(load("scanned.vlm")), (QStringList{u"Kept@ 50"_s, u"Contents@ 0"_s,
                                                        u"Chapter 1@ 26"_s, u"Chapter 2@ 10"_s}));

    ASSERT_EQ(cli({u"make"_s, path("sorted"), u"--open"_s, path("in.vlm"), u"--scan=0"_s,
                   u"--whole-line"_s, u"--sort"_s})
                  .status,
              0);
    EXPECT_EQ(titles(load("sorted.vlm")), (QStringList{u"Contents@ 0"_s, u"Chapter 2: Two@ 10"_s,
                                                       u"Chapter 1@ 26"_s, u"Kept@ 50"_s}));
}

TEST_F(BatchTool, CheckListsProblemsAndExitsOneWhenItFindsAny)
{
    Book good{u"T"_s, u"A"_s, {}, {{u"One"_s, u" 0"_s}, {u"Two"_s, u"5"_s}}, u"One\r\nTwo\r\n"_s};
    ASSERT_TRUE(SaveBook(good, path("good.vlm")).ok());
    const Outcome clean = cli({u"check"_s, path("good.vlm")});
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(QString::fromUtf8(clean.out), u"No problems found in %1.\n"_s.arg(path("good.vlm")));
    EXPECT_EQ(cli({u"check"_s, path("good.vlm"), u"--json"_s}).out.trimmed(), "[\n]");

    good.chapters = {{u"One"_s, u"6"_s}, {u"Two"_s, u"6"_s}, {u"Far"_s, u"500"_s}};
    ASSERT_TRUE(SaveBook(good, path("bad.vlm")).ok());
    const Outcome human = cli({u"check"_s, path("bad.vlm")});
    EXPECT_EQ(human.status, 1);
    EXPECT_TRUE(human.out.endsWith(u"4 problems found in %1.\n"_s.arg(path("bad.vlm")).toUtf8()));
    EXPECT_TRUE(human.out.contains("chapter 3 starts at offset 500, outside the text of 10 "
                                   "characters"))
        << human.out.toStdString();
    QStringList kinds;
    for (const QJsonValue problem :
         QJsonDocument::fromJson(cli({u"check"_s, path("bad.vlm"), u"--json"_s}).out).array())
        kinds << problem[u"kind"_s].toString() + u' '
                     + QString::number(problem[u"chapter"_s].toInt());
    EXPECT_EQ(kinds, (QStringList{u"not-at-line-start 1"_s, u"not-at-line-start 2"_s,
                                  u"same-offset 2"_s, u"offset-outside-text 3"_s}));

    // Offsets count the text as the file stores it, as the reader on the phone does.
    writeBytes(path("lf.vlm"), header(1, "T", "", "") + record(6, "Two") + "line1\nline2\n");
    EXPECT_EQ(cli({u"check"_s, path("lf.vlm")}).status, 0);
}

TEST_F(BatchTool, ShowAndTextPrintTheBookForReadingAsJsonAndAsUtf8)
{
    Book book{u"Title"_s,
              u"Author"_s,
              u"First line\r\nSecond line"_s,
              {{u"Opening"_s, u" 0"_s}, {u"The end"_s, u"1234"_s}},
              u"\u201Ccaf\u00E9\u201D\r\n"_s};
    ASSERT_TRUE(SaveBook(book, path("b.vlm")).ok());
    const Outcome human = cli({u"show"_s, path("b.vlm")});
    ASSERT_EQ(human.status, 0);
    EXPECT_EQ(human.out, "Title:    Title\n"
                         "Author:   Author\n"
                         "Synopsis: First line\n"
                         "          Second line\n"
                         "Chapters: 2\n"
                         "  1     0  Opening\n"
                         "  2  1234  The end\n"
                         "Text:     8 characters\n");

    const QJsonObject object = json(cli({u"show"_s, path("b.vlm"), u"--json"_s}).out);
    EXPECT_EQ(object[u"chapters"_s][1][u"title"_s].toString(), u"The end"_s.leftJustified(40));
    EXPECT_EQ(object[u"chapters"_s][1][u"offset"_s].toInteger(), 1234);

    const QByteArray utf8 = "\xE2\x80\x9C"
                            "caf\xC3\xA9\xE2\x80\x9D\r\n";
    EXPECT_EQ(cli({u"text"_s, path("b.vlm")}).out, utf8);
    const Outcome toFile = cli({u"text"_s, path("b.vlm"), u"-o"_s, path("b.txt")});
    EXPECT_EQ(toFile.status, 0);
    EXPECT_TRUE(toFile.out.isEmpty());
    EXPECT_EQ(readBytes(path("b.txt")), utf8);
}

// Every real book: imported, saved, opened and saved again, the bytes never change, and show
// gives back every field.
TEST_F(BatchTool, CorpusBooksSurviveMakeOpenAndShow)
{
    const QStringList books = corpusBooks();
    if (books.isEmpty())
        GTEST_SKIP() << "no corpus books in " << corpusDir().toStdString();
    const QString title = u"A title \u00E9"_s;
    for (const QString &txt : books) {
        SCOPED_TRACE(txt.toStdString());
        const Outcome made =
            cli({u"make"_s, path("first.vlm"), u"--import"_s, txt, u"--title"_s, title,
                 u"--author"_s, u"Someone"_s, u"--synopsis"_s, u"About\nit"_s});
        ASSERT_EQ(made.status, 0) << made.err.toStdString();
        const QString text = decodeTextFile(readBytes(txt));
        const QByteArray bytes = readBytes(path("first.vlm"));
        ASSERT_EQ(bytes.size(), 2323 + text.size());
        EXPECT_EQ(bytes.left(2323), header(0, "A title \xE9", "Someone", "About\r\nit"));

        // Each character is one byte that reads back as that character, or "?" for one the
        // code page cannot hold.
        const QString stored = CodePage::decode(bytes.sliced(2323));
        qsizetype differing = 0;
        for (qsizetype i = 0; i < text.size(); ++i)
            differing += stored[i] != text[i] && (stored[i] != u'?' || text[i].unicode() < 0x100);
        EXPECT_EQ(differing, 0);

        ASSERT_EQ(cli({u"make"_s, path("second.vlm"), u"--open"_s, path("first.vlm")}).status, 0);
        EXPECT_EQ(readBytes(path("second.vlm")), bytes);

        const QJsonObject object = json(cli({u"show"_s, path("first.vlm"), u"--json"_s}).out);
        EXPECT_EQ(object[u"title"_s].toString(), title.leftJustified(128));
        EXPECT_EQ(object[u"author"_s].toString(), u"Someone"_s.leftJustified(128));
        EXPECT_EQ(object[u"synopsis"_s].toString(), u"About\r\nit"_s.leftJustified(1024));
        EXPECT_TRUE(object[u"chapters"_s].toArray().isEmpty());
        EXPECT_EQ(object[u"text_length"_s].toInteger(), text.size());
    }
}

// The batch tool with its output thrown away: its exit status and the largest resident memory
// it ever had.
std::pair<int, qint64> statusAndPeakMemory(const QStringList &arguments)
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

TEST_F(BatchTool, HostileBooksTakeMemoryInProportionToTheirSize)
{
    writeBytes(path("short.vlm"), header(32767, "T", "", "") + record(0, "only one"));
    const auto [shortStatus, shortPeak] = statusAndPeakMemory({u"show"_s, path("short.vlm")});
    EXPECT_EQ(shortStatus, 1);
    EXPECT_LT(shortPeak, 200LL << 20) << "nothing reserved for the chapters the file claims";

    constexpr qsizetype Size = 100LL << 20;
    {
        QFile file(path("huge.vlm"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(header(0, "Huge", "", ""));
        const QByteArray line = QByteArray(98, 'x') + "\r\n";
        for (qsizetype written = 0; written < Size; written += line.size())
            file.write(line);
    }
    const auto [hugeStatus, hugePeak] = statusAndPeakMemory({u"show"_s, path("huge.vlm")});
    EXPECT_EQ(hugeStatus, 0);
    // The bytes once, the text as UTF-16 twice over (read, then held): about six times the file.
    EXPECT_LT(hugePeak, 8 * Size) << hugePeak / (1 << 20) << " MB";
}

TEST_F(BatchTool, NulBytesInTitlesSurviveShowAndSavingAgain)
{
    const QByteArray bytes =
        header(1, QByteArray(128, '\0'), "", "") + record(3, QByteArray(40, '\0')) + "text";
    writeBytes(path("nul.vlm"), bytes);
    const QJsonObject object = json(cli({u"show"_s, path("nul.vlm"), u"--json"_s}).out);
    EXPECT_EQ(object[u"title"_s].toString(), QString(128, QChar(0)));
    EXPECT_EQ(object[u"chapters"_s][0][u"title"_s].toString(), QString(40, QChar(0)));
    EXPECT_FALSE(cli({u"show"_s, path("nul.vlm")}).out.contains('\0'))
        << "nothing a terminal acts on";
    ASSERT_EQ(cli({u"make"_s, path("again.vlm"), u"--open"_s, path("nul.vlm")}).status, 0);
    EXPECT_EQ(readBytes(path("again.vlm")), bytes);
}

} // namespace
