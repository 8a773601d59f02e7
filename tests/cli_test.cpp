#include "book/bookfile.h"
#include "book/codepage.h"
#include "book/textimport.h"

#include "testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

QString field(const QString &text, qsizetype length)
{
    return text.leftJustified(length, u' ', true);
}

class BatchTool : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QStringList filesInFolder() const
    {
        return QDir(m_dir.path())
            .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

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
    writeBytes(path(u"emma.txt"_s), "\xEF\xBB\xBF"
                                    "Chapter 1\nIt was \xE2\x80\x9C"
                                    "fine\xE2\x80\x9D.\n");
    const Outcome run =
        cli({u"make"_s, path(u"emma"_s), u"--import"_s, path(u"emma.txt"_s), u"--title"_s,
             u"Emma"_s, u"--author=Jane Austen"_s, u"--synopsis"_s, u"One\ntwo"_s});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();

    const QByteArray bytes = readBytes(path(u"emma.vlm"_s));
    ASSERT_EQ(bytes.size(), 2323 + 27);
    EXPECT_EQ(bytes.mid(4, 4), le32(0));
    EXPECT_EQ(bytes.mid(19, 128), field(u"Emma"_s, 128).toLatin1());
    EXPECT_EQ(bytes.mid(147, 128), field(u"Jane Austen"_s, 128).toLatin1());
    EXPECT_EQ(bytes.mid(275, 10), "One\r\ntwo  ");
    EXPECT_EQ(bytes.mid(2323), "Chapter 1\r\nIt was \x93"
                               "fine\x94.\r\n");
}

TEST_F(BatchTool, MakeOpenWritesABookAgainByteForByte)
{
    Book book{u"T"_s, u"A"_s, u"S"_s, {{u"One"_s, u" 0"_s}, {u"Two"_s, u"-3"_s}}, u"x\r\ny"_s};
    ASSERT_TRUE(SaveBook(book, path(u"in.vlm"_s)).ok());
    const Outcome run = cli({u"make"_s, path(u"OUT.VLM"_s), u"--open"_s, path(u"in.vlm"_s)});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(readBytes(path(u"OUT.VLM"_s)), readBytes(path(u"in.vlm"_s)));

    // Information given on the command line replaces the stored fields.
    ASSERT_EQ(cli({u"make"_s, path(u"renamed.vlm"_s), u"--open"_s, path(u"in.vlm"_s), u"--title"_s,
                   u"New"_s})
                  .status,
              0);
    const Result<Book> renamed = LoadBook(path(u"renamed.vlm"_s));
    ASSERT_TRUE(renamed.ok());
    EXPECT_EQ(renamed.value().title, field(u"New"_s, 128));
    EXPECT_EQ(renamed.value().author, field(u"A"_s, 128));
    EXPECT_EQ(renamed.value().chapters.size(), 2);
}

TEST_F(BatchTool, MakeWarnsAboutAMissingTitleAndUnstorableCharactersButSaves)
{
    writeBytes(path(u"greek.txt"_s), "alpha \xCE\xB1 and omega \xCF\x89\n");
    const Outcome run = cli({u"make"_s, path(u"greek.vlm"_s), u"--import"_s, path(u"greek.txt"_s),
                             u"--title"_s, u"   "_s});
    EXPECT_EQ(run.status, 0);
    const QStringList lines = QString::fromUtf8(run.err).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << run.err.toStdString();
    EXPECT_TRUE(lines[0].startsWith(u"leafwright-cli: warning: "_s));
    EXPECT_TRUE(lines[0].contains(u"no title"_s));
    EXPECT_TRUE(lines[1].contains(u"2 characters"_s)) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains(u"\u03B1"_s)) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains(u"U+03B1"_s)) << lines[1].toStdString();
    EXPECT_EQ(readBytes(path(u"greek.vlm"_s)).mid(2323), "alpha ? and omega ?\r\n");
}

TEST_F(BatchTool, UsageProblemsExitWithTwoAndWriteNothing)
{
    writeBytes(path(u"in.txt"_s), "text");
    const QString in = path(u"in.txt"_s);
    const QString out = path(u"out.vlm"_s);
    const std::pair<QStringList, QString> cases[] = {
        {{}, u"no command"_s},
        {{u"convert"_s}, u"unknown command \"convert\""_s},
        {{u"make"_s, out}, u"--import TEXT or --open BOOK"_s},
        {{u"make"_s, out, u"--import"_s, in, u"--open"_s, in}, u"--import TEXT or --open BOOK"_s},
        {{u"make"_s, u"--import"_s, in}, u"missing file name"_s},
        {{u"make"_s, out, u"--import"_s, in, u"--colour"_s}, u"unknown option \"--colour\""_s},
        {{u"make"_s, out, u"--import"_s, in, u"--title"_s}, u"--title needs a value"_s},
        {{u"make"_s, out, u"--import"_s, in, u"--title"_s, u"a"_s, u"--title"_s, u"b"_s},
         u"more than once"_s},
        {{u"make"_s, out, u"extra"_s, u"--import"_s, in}, u"unexpected argument \"extra\""_s},
        {{u"make"_s, out, u"--import"_s, in, u"--scan"_s, u"7"_s}, u"style from 0 to 6"_s},
        {{u"make"_s, out, u"--import"_s, in, u"--scan"_s, u"one"_s}, u"style from 0 to 6"_s},
        {{u"make"_s, out, u"--import"_s, in, u"--clean"_s, u"8"_s}, u"box numbers 0 to 7"_s},
        {{u"make"_s, out, u"--import"_s, in, u"--clean"_s, u"0,,1"_s}, u"box numbers 0 to 7"_s},
        {{u"make"_s, out, u"--import"_s, in, u"--replace"_s, u"a"_s},
         u"--replace needs 2 values"_s},
        {{u"show"_s}, u"missing file name"_s},
        {{u"show"_s, in, u"--json=yes"_s}, u"--json takes no value"_s},
        {{u"text"_s, in, u"-o"_s}, u"-o needs a value"_s},
    };
    for (const auto &[arguments, piece] : cases) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        expectOneLine(cli(arguments), 2, piece);
    }
    EXPECT_EQ(filesInFolder(), QStringList{u"in.txt"_s});
}

TEST_F(BatchTool, FileProblemsExitWithOneAndLeaveTheOutputAlone)
{
    const QStringList bad = writeMalformedBooks(m_dir.path());
    writeBytes(path(u"existing.vlm"_s), "keep me");
    for (const QString &name : bad) {
        SCOPED_TRACE(name.toStdString());
        const QString book = path(name);
        expectOneLine(cli({u"make"_s, path(u"new.vlm"_s), u"--open"_s, book}), 1, book);
        expectOneLine(cli({u"make"_s, path(u"existing.vlm"_s), u"--open"_s, book}), 1, book);
        expectOneLine(cli({u"show"_s, book}), 1, book);
        expectOneLine(cli({u"show"_s, book, u"--json"_s}), 1, book);
        expectOneLine(cli({u"text"_s, book}), 1, book);
    }
    expectOneLine(cli({u"make"_s, path(u"new.vlm"_s), u"--import"_s, path(u"missing.txt"_s)}), 1,
                  path(u"missing.txt"_s));

    // A book that cannot be written names the place it was to go.
    writeBytes(path(u"in.txt"_s), "text");
    const QString nowhere = path(u"no folder/out.vlm"_s);
    expectOneLine(cli({u"make"_s, nowhere, u"--import"_s, path(u"in.txt"_s), u"--title"_s, u"T"_s}),
                  1, nowhere);

    // Output that cannot be written is a failure, not a success.
    Book book;
    book.text = u"text"_s;
    ASSERT_TRUE(SaveBook(book, path(u"good.vlm"_s)).ok());
    if (QFile::exists(u"/dev/full"_s)) {
        for (const QString &command : {u"show"_s, u"text"_s}) {
            const Outcome full = cli({command, path(u"good.vlm"_s)}, u"/dev/full"_s);
            EXPECT_EQ(full.status, 1) << command.toStdString();
            EXPECT_TRUE(full.err.contains("standard output")) << full.err.toStdString();
        }
    }

    EXPECT_EQ(readBytes(path(u"existing.vlm"_s)), "keep me");
    EXPECT_FALSE(QFile::exists(path(u"new.vlm"_s)));
    EXPECT_FALSE(QFile::exists(path(u"missing.vlm"_s)));
}

TEST_F(BatchTool, MakeCleansThenReplacesInTheOrderGiven)
{
    writeBytes(path(u"in.txt"_s), "one\ntwo\n\n\tthree  four");
    const Outcome run =
        cli({u"make"_s, path(u"out"_s), u"--import"_s, path(u"in.txt"_s), u"--title"_s, u"T"_s,
             u"--clean"_s, u"0,4"_s, u"--replace"_s, u"TWO"_s, u"2\n"_s, u"--replace"_s, u"2"_s,
             u"II"_s, u"--replace"_s, u"kiwi"_s, u"x"_s});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(QString::fromUtf8(run.err), u"String not found: kiwi\n"_s);
    EXPECT_EQ(readBytes(path(u"out.vlm"_s)).mid(2323), "one II\r\n\r\n\r\nthree  four");

    ASSERT_EQ(cli({u"make"_s, path(u"all"_s), u"--import"_s, path(u"in.txt"_s), u"--title"_s,
                   u"T"_s, u"--clean"_s, u"all"_s})
                  .status,
              0);
    EXPECT_EQ(readBytes(path(u"all.vlm"_s)).mid(2323), "one two\r\nthree four");
}

TEST_F(BatchTool, MakeTakesTheGutenbergFrameAwayAndGivesCharactersAStorableForm)
{
    writeBytes(path(u"in.txt"_s),
               "Title: War and Peace\nAuthor: Leo Tolstoy\n\n"
               "*** START OF THE PROJECT GUTENBERG EBOOK WAR AND PEACE ***\n\n"
               "\xd0\x9b\xd0\xb5\xd0\xb2 \xf0\x9f\x98\x80\n\n"
               "*** END OF THE PROJECT GUTENBERG EBOOK WAR AND PEACE ***\nLicence");
    const Outcome run = cli({u"make"_s, path(u"out"_s), u"--import"_s, path(u"in.txt"_s),
                             u"--author"_s, u"Tolstoy"_s, u"--clean"_s, u"all"_s});
    ASSERT_EQ(run.status, 0);
    const QString out = path(u"out.vlm"_s);
    EXPECT_EQ(QString::fromUtf8(run.err),
              out + u": removed the Project Gutenberg header (5 lines) and licence (3 lines)\n"_s
                  + out + u": replaced 4 characters a book file cannot hold\n"_s);
    const Book book = LoadBook(out).value();
    EXPECT_EQ(book.title.trimmed(), u"War and Peace"_s);
    EXPECT_EQ(book.author.trimmed(), u"Tolstoy"_s);
    EXPECT_EQ(book.text, u"Lev ?"_s);

    // Without box 7 the save warning names the box that would have kept the characters.
    const Outcome lossy =
        cli({u"make"_s, path(u"lossy"_s), u"--import"_s, path(u"in.txt"_s), u"--clean"_s, u"6"_s});
    ASSERT_EQ(lossy.status, 0);
    EXPECT_TRUE(lossy.err.contains("\"Replace characters a book file cannot hold\" would"))
        << lossy.err.toStdString();
}

TEST_F(BatchTool, ChaptersListsTheDetectorsHeadingsAndMakeAppendsThem)
{
    const QByteArray prose =
        QByteArray("The road ran on past the river and the mill.\n").repeated(6);
    writeBytes(path(u"in.txt"_s), "Contents\n\n\nCHAPTER I\n\n" + prose + "\n\nCHAPTER II\n\n"
                                      + prose + "\n\nChapter 7, verse 3, was read.\n");
    const Outcome listed = cli({u"chapters"_s, path(u"in.txt"_s)});
    ASSERT_EQ(listed.status, 0) << listed.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(listed.out),
              u"4\t14\tchapter\tCHAPTER I\n14\t307\tchapter\tCHAPTER II\n"_s);

    const Outcome json = cli({u"chapters"_s, path(u"in.txt"_s), u"--json"_s});
    const QJsonArray headings = QJsonDocument::fromJson(json.out).array();
    ASSERT_EQ(headings.size(), 2);
    EXPECT_EQ(QJsonDocument(headings[1].toObject()).toJson(QJsonDocument::Compact),
              R"({"level":"chapter","line":14,"number":2,"offset":307,"title":"CHAPTER II"})");

    // After the described scan's rows, before sorting; a book file is read as it was saved.
    ASSERT_EQ(cli({u"make"_s, path(u"out"_s), u"--import"_s, path(u"in.txt"_s), u"--title"_s,
                   u"T"_s, u"--scan"_s, u"0"_s, u"--find-chapters"_s})
                  .status,
              0);
    const QList<ChapterEntry> rows = {{u"Contents"_s.leftJustified(40), u" 0"_s},
                                      {u"Chapter 7"_s.leftJustified(40), u" 601"_s},
                                      {u"CHAPTER I"_s.leftJustified(40), u" 14"_s},
                                      {u"CHAPTER II"_s.leftJustified(40), u" 307"_s}};
    EXPECT_EQ(LoadBook(path(u"out.vlm"_s)).value().chapters, rows);
    EXPECT_EQ(cli({u"chapters"_s, path(u"out.vlm"_s)}).out, listed.out);
}

TEST_F(BatchTool, MakeScansBehindTheOpenedRowsAndSorts)
{
    Book book{u"T"_s,
              {},
              {},
              {{u"Kept"_s, u" 50"_s}},
              u"Contents\r\nChapter 2: Two\r\nChapter 1: One\r\n"_s};
    ASSERT_TRUE(SaveBook(book, path(u"in.vlm"_s)).ok());

    ASSERT_EQ(
        cli({u"make"_s, path(u"scanned"_s), u"--open"_s, path(u"in.vlm"_s), u"--scan"_s, u"0"_s})
            .status,
        0);
    const QList<ChapterEntry> scanned = {{u"Kept"_s.leftJustified(40), u" 50"_s},
                                         {u"Contents"_s.leftJustified(40), u" 0"_s},
                                         {u"Chapter 1"_s.leftJustified(40), u" 26"_s},
                                         {u"Chapter 2"_s.leftJustified(40), u" 10"_s}};
    EXPECT_EQ(LoadBook(path(u"scanned.vlm"_s)).value().chapters, scanned);

    ASSERT_EQ(cli({u"make"_s, path(u"sorted"_s), u"--open"_s, path(u"in.vlm"_s), u"--scan=0"_s,
                   u"--whole-line"_s, u"--sort"_s})
                  .status,
              0);
    QList<QString> titles;
    for (const ChapterEntry &row : LoadBook(path(u"sorted.vlm"_s)).value().chapters)
        titles.append(row.title.trimmed());
    EXPECT_EQ(titles,
              (QList<QString>{u"Contents"_s, u"Chapter 2: Two"_s, u"Chapter 1: One"_s, u"Kept"_s}));
}

TEST_F(BatchTool, CheckListsProblemsAndExitsOneWhenItFindsAny)
{
    Book good{u"T"_s, u"A"_s, {}, {{u"One"_s, u" 0"_s}, {u"Two"_s, u"5"_s}}, u"One\r\nTwo\r\n"_s};
    ASSERT_TRUE(SaveBook(good, path(u"good.vlm"_s)).ok());
    const Outcome clean = cli({u"check"_s, path(u"good.vlm"_s)});
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(QString::fromUtf8(clean.out),
              u"No problems found in %1.\n"_s.arg(path(u"good.vlm"_s)));
    EXPECT_EQ(cli({u"check"_s, path(u"good.vlm"_s), u"--json"_s}).out.trimmed(), "[\n]");

    Book bad = good;
    bad.chapters = {{u"One"_s, u"6"_s}, {u"Two"_s, u"6"_s}, {u"Far"_s, u"500"_s}};
    ASSERT_TRUE(SaveBook(bad, path(u"bad.vlm"_s)).ok());
    const Outcome human = cli({u"check"_s, path(u"bad.vlm"_s)});
    EXPECT_EQ(human.status, 1);
    const QStringList lines = QString::fromUtf8(human.out).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5) << human.out.toStdString();
    EXPECT_EQ(lines.last(), u"4 problems found in %1."_s.arg(path(u"bad.vlm"_s)));

    const Outcome json = cli({u"check"_s, path(u"bad.vlm"_s), u"--json"_s});
    EXPECT_EQ(json.status, 1);
    const QJsonArray problems = QJsonDocument::fromJson(json.out).array();
    ASSERT_EQ(problems.size(), 4);
    EXPECT_EQ(problems[0][u"kind"_s].toString(), u"not-at-line-start"_s);
    EXPECT_EQ(problems[0][u"chapter"_s].toInt(), 1);
    EXPECT_EQ(problems[1][u"kind"_s].toString(), u"not-at-line-start"_s);
    EXPECT_EQ(problems[2][u"kind"_s].toString(), u"same-offset"_s);
    EXPECT_EQ(problems[3][u"kind"_s].toString(), u"offset-outside-text"_s);
    EXPECT_EQ(problems[3][u"message"_s].toString(),
              u"chapter 3 starts at offset 500, outside the text of 10 characters"_s);

    expectOneLine(cli({u"check"_s, path(u"missing.vlm"_s)}), 1, path(u"missing.vlm"_s));

    // Offsets count the text as the file stores it, as the reader on the phone does.
    writeBytes(path(u"lf.vlm"_s), header(1, "T", "", "") + record(6, "Two") + "line1\nline2\n");
    EXPECT_EQ(cli({u"check"_s, path(u"lf.vlm"_s)}).status, 0);
}

TEST_F(BatchTool, ShowPrintsTheBookForReadingAndAsJson)
{
    Book book{u"Title"_s,
              u"Author"_s,
              u"First line\r\nSecond line"_s,
              {{u"Opening"_s, u" 0"_s}, {u"The end"_s, u"1234"_s}},
              QString::fromUtf16(u"caf\u00E9\r\n")};
    ASSERT_TRUE(SaveBook(book, path(u"b.vlm"_s)).ok());

    const Outcome human = cli({u"show"_s, path(u"b.vlm"_s)});
    ASSERT_EQ(human.status, 0);
    EXPECT_EQ(QString::fromUtf8(human.out), u"Title:    Title\n"
                                            "Author:   Author\n"
                                            "Synopsis: First line\n"
                                            "          Second line\n"
                                            "Chapters: 2\n"
                                            "  1     0  Opening\n"
                                            "  2  1234  The end\n"
                                            "Text:     6 characters\n"_s);

    const Outcome json = cli({u"show"_s, path(u"b.vlm"_s), u"--json"_s});
    ASSERT_EQ(json.status, 0);
    const QJsonObject object = QJsonDocument::fromJson(json.out).object();
    EXPECT_EQ(object[u"title"_s].toString(), field(u"Title"_s, 128));
    EXPECT_EQ(object[u"author"_s].toString(), field(u"Author"_s, 128));
    EXPECT_EQ(object[u"synopsis"_s].toString(), field(u"First line\r\nSecond line"_s, 1024));
    EXPECT_EQ(object[u"text_length"_s].toInteger(), 6);
    const QJsonArray chapters = object[u"chapters"_s].toArray();
    ASSERT_EQ(chapters.size(), 2);
    EXPECT_EQ(chapters[1][u"title"_s].toString(), field(u"The end"_s, 40));
    EXPECT_EQ(chapters[1][u"offset"_s].toInteger(), 1234);
}

TEST_F(BatchTool, TextWritesTheBookTextAsUtf8)
{
    Book book;
    book.text = QString::fromUtf16(u"\u201CHi\u201D\r\n");
    ASSERT_TRUE(SaveBook(book, path(u"b.vlm"_s)).ok());
    const QByteArray utf8 = "\xE2\x80\x9CHi\xE2\x80\x9D\r\n";

    const Outcome toOut = cli({u"text"_s, path(u"b.vlm"_s)});
    ASSERT_EQ(toOut.status, 0);
    EXPECT_EQ(toOut.out, utf8);

    const Outcome toFile = cli({u"text"_s, path(u"b.vlm"_s), u"-o"_s, path(u"b.txt"_s)});
    ASSERT_EQ(toFile.status, 0);
    EXPECT_TRUE(toFile.out.isEmpty());
    EXPECT_EQ(readBytes(path(u"b.txt"_s)), utf8);
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
        const QString first = path(u"first.vlm"_s);
        const Outcome made = cli({u"make"_s, first, u"--import"_s, txt, u"--title"_s, title,
                                  u"--author"_s, u"Someone"_s, u"--synopsis"_s, u"About\nit"_s});
        ASSERT_EQ(made.status, 0) << made.err.toStdString();

        const QString text = decodeTextFile(readBytes(txt));
        const QByteArray bytes = readBytes(first);
        ASSERT_EQ(bytes.size(), 2323 + text.size());
        EXPECT_EQ(bytes.left(2323),
                  header(0, field(title, 128).toLatin1(), "Someone", "About\r\nit"));

        // Each character is one byte that reads back as that character, or "?" for one the
        // code page cannot hold.
        const QString stored = CodePage::decode(bytes.sliced(2323));
        qsizetype differing = 0;
        for (qsizetype i = 0; i < text.size(); ++i)
            differing += stored[i] != text[i] && (stored[i] != u'?' || text[i].unicode() < 0x100);
        EXPECT_EQ(differing, 0);

        const QString second = path(u"second.vlm"_s);
        ASSERT_EQ(cli({u"make"_s, second, u"--open"_s, first}).status, 0);
        EXPECT_EQ(readBytes(second), bytes);

        const Outcome shown = cli({u"show"_s, first, u"--json"_s});
        const QJsonObject object = QJsonDocument::fromJson(shown.out).object();
        EXPECT_EQ(object[u"title"_s].toString(), field(title, 128));
        EXPECT_EQ(object[u"author"_s].toString(), field(u"Someone"_s, 128));
        EXPECT_EQ(object[u"synopsis"_s].toString(), field(u"About\r\nit"_s, 1024));
        EXPECT_TRUE(object[u"chapters"_s].toArray().isEmpty());
        EXPECT_EQ(object[u"text_length"_s].toInteger(), text.size());
    }
}

} // namespace
