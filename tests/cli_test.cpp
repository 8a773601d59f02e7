#include "book/bookfile.h"
#include "book/codepage.h"
#include "book/textimport.h"
#include "chapters/chaptertable.h"
#include "import/bookimport.h"

#include "batchtoolrun.h"
#include "epubfiles.h"
#include "testfiles.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

TEST_F(BatchTool, MakeImportsATextFileWithItsInformation)
{
    // A missing title and characters the code page chosen cannot hold are warned about; the book
    // is saved all the same.
    writeBytes(path(u"greek.txt"_s), "alpha \xCE\xB1 and omega \xCF\x89\n");
    const QStringList lines =
        QString::fromUtf8(
            ok(u"make greek --import greek.txt \"--author=Jane Austen\" --codepage 1252"_s).err)
            .split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(u"leafwright-cli: warning: "_s)) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains(u"no title"_s)) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains(u"2 characters cannot be stored in the Windows-1252 code page "
                                  "and were saved as \"?\""_s))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains(u"\"\u03B1\" (U+03B1)"_s)) << lines[1].toStdString();
    const QByteArray text = "alpha ? and omega ?\r\n";
    EXPECT_EQ(readBytes(path(u"greek.vlm"_s)), header(0, "", "Jane Austen", "") + text);

    // Information given with --open replaces the stored fields and keeps the rest.
    EXPECT_TRUE(ok(u"make renamed.vlm --open greek.vlm --title New --synopsis \"One\ntwo\""_s)
                    .err.isEmpty());
    EXPECT_EQ(readBytes(path(u"renamed.vlm"_s)),
              header(0, "New", "Jane Austen", "One\r\ntwo") + text);

    // Left to guess, the book is saved in the code page that holds its letters, and says so;
    // opened again, it reads in that code page, or in the one given.
    const QString greek = u"Η ελληνική γλώσσα είναι μία από τις αρχαιότερες γλώσσες.\r\n"_s;
    writeBytes(path(u"greek.txt"_s), greek.toUtf8());
    EXPECT_EQ(ok(u"make guessed --import greek.txt --title T"_s).err,
              "greek.txt: in the Greek (Windows-1253) code page (--codepage chooses another)\n");
    EXPECT_EQ(readBytes(path(u"guessed.vlm"_s)).mid(2323),
              CodePage::encode(CodePage::Id::Windows1253, greek));
    EXPECT_TRUE(ok(u"make chosen --import greek.txt --title T --codepage 1253"_s).err.isEmpty());
    EXPECT_TRUE(ok(u"show guessed.vlm --json"_s).out.contains("\"codePage\": \"windows-1253\""));
    EXPECT_EQ(ok(u"text guessed.vlm"_s).out, greek.toUtf8());
    EXPECT_EQ(ok(u"text guessed.vlm --codepage windows-1251"_s).out,
              CodePage::decode(CodePage::Id::Windows1251,
                               CodePage::encode(CodePage::Id::Windows1253, greek))
                  .toUtf8());
    // Written out as an EPUB book, the Greek stays Greek.
    ok(u"export guessed.vlm greek.epub"_s);
    EXPECT_EQ(importBook(path(u"greek.epub"_s)).value().book.text.trimmed(), greek.trimmed());
}

TEST_F(BatchTool, UsageProblemsExitWithTwoAndWriteNothing)
{
    writeBytes(path(u"in.txt"_s), "text");
    const std::pair<QString, QString> cases[] = {
        {u""_s, u"no command"_s},
        {u"publish"_s, u"unknown command \"publish\""_s},
        {u"make out.vlm"_s, u"--import TEXT or --open BOOK"_s},
        {u"make --import in.txt"_s, u"missing file name"_s},
        {u"make out.vlm --import in.txt --colour"_s, u"unknown option \"--colour\""_s},
        {u"make out.vlm --import in.txt --title"_s, u"--title needs a value"_s},
        {u"make out.vlm --import in.txt --title a --title b"_s, u"more than once"_s},
        {u"make out.vlm extra --import in.txt"_s, u"unexpected argument \"extra\""_s},
        {u"make out.vlm --import in.txt --scan 7"_s, u"style from 0 to 6"_s},
        {u"make out.vlm --import in.txt --clean 8"_s, u"box numbers 0 to 7"_s},
        {u"make out.vlm --import in.txt --replace a"_s, u"--replace needs 2 values"_s},
        {u"show in.txt --json=yes"_s, u"--json takes no value"_s},
        {u"text in.txt -o"_s, u"-o needs a value"_s},
        {u"make out.vlm --import in.txt --codepage 1259"_s,
         u"--codepage takes 874, 1250 to 1258"_s},
        {u"show in.txt --codepage utf-8"_s, u"--codepage takes"_s},
        {u"export in.vlm out.epub --codepage"_s, u"--codepage needs a value"_s},
    };
    for (const auto &[command, piece] : cases) {
        SCOPED_TRACE(command.toStdString());
        expectOneLine(cli(command), 2, piece);
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{u"in.txt"_s});
}

TEST_F(BatchTool, FileProblemsExitWithOneAndLeaveTheOutputAlone)
{
    writeBytes(path(u"existing.vlm"_s), "keep me");
    for (const QString &book : writeMalformedBooks(m_dir.path())) {
        SCOPED_TRACE(book.toStdString());
        for (const QString &command :
             {u"make new.vlm --open %1"_s, u"make existing.vlm --open %1"_s, u"show %1 --json"_s,
              u"text %1"_s, u"check %1"_s})
            expectOneLine(cli(command.arg(book)), 1, book);
    }
    expectOneLine(cli(u"make new.vlm --import missing.txt"_s), 1, u"missing.txt"_s);

    // A book that cannot be written names the place it was to go.
    writeBytes(path(u"in.txt"_s), "text");
    expectOneLine(cli(u"make \"no folder/out.vlm\" --import in.txt --title T"_s), 1,
                  u"no folder/out.vlm"_s);

    // Output that cannot be written is a failure, not a success.
    ok(u"make good --import in.txt --title T"_s);
    for (const QString &command : {u"show good.vlm"_s, u"text good.vlm"_s}) {
        const Outcome full = cli(command, {}, u"/dev/full"_s);
        EXPECT_EQ(full.status, 1) << command.toStdString();
        EXPECT_TRUE(full.err.contains("standard output")) << full.err.toStdString();
    }
    EXPECT_EQ(readBytes(path(u"existing.vlm"_s)), "keep me");
    EXPECT_FALSE(QFile::exists(path(u"new.vlm"_s)));
    EXPECT_FALSE(QFile::exists(path(u"missing.vlm"_s)));
}

TEST_F(BatchTool, MakeCleansThenReplacesInTheOrderGiven)
{
    writeBytes(path(u"in.txt"_s), "one\ntwo\n\n\tthree  four");
    const Outcome run = ok(u"make out --import in.txt --title T --clean 0,4 --replace TWO \"2\n\" "
                           "--replace 2 II --replace kiwi x --replace one 1"_s);
    EXPECT_EQ(run.err, "out.vlm: 1 replaced\nout.vlm: 1 replaced\nString not found: kiwi\n"
                       "out.vlm: 1 replaced\n");
    EXPECT_EQ(readBytes(path(u"out.vlm"_s)).mid(2323), "1 II\r\n\r\n\r\nthree  four");
    ok(u"make all --import in.txt --title T --clean all"_s);
    EXPECT_EQ(readBytes(path(u"all.vlm"_s)).mid(2323), "one two\r\nthree four");
}

TEST_F(BatchTool, MakeTakesTheGutenbergFrameAwayAndGivesCharactersAStorableForm)
{
    writeBytes(path(u"in.txt"_s),
               "Title: War and Peace\nAuthor: Leo Tolstoy\n\n"
               "*** START OF THE PROJECT GUTENBERG EBOOK WAR AND PEACE ***\n\n"
               "\xd0\x9b\xd0\xb5\xd0\xb2 \xf0\x9f\x98\x80\n\n"
               "*** END OF THE PROJECT GUTENBERG EBOOK WAR AND PEACE ***\nLicence");
    const Outcome run =
        ok(u"make out --import in.txt --author Tolstoy --clean all --codepage 1252"_s);
    EXPECT_EQ(run.err,
              "out.vlm: removed the Project Gutenberg header (5 lines) and licence (3 "
              "lines)\nout.vlm: replaced 3 characters a book file in Windows-1252 cannot hold, "
              "and wrote 1 without a storable form as \"?\"\n");
    EXPECT_EQ(readBytes(path(u"out.vlm"_s)), header(0, "War and Peace", "Tolstoy", "") + "Lev ?");

    // In the Cyrillic code page its letters stay; only what it cannot hold is replaced.
    EXPECT_EQ(ok(u"make ru --import in.txt --author Tolstoy --clean all"_s).err,
              "in.txt: in the Cyrillic (Windows-1251) code page (--codepage chooses another)\n"
              "ru.vlm: removed the Project Gutenberg header (5 lines) and licence (3 "
              "lines)\nru.vlm: replaced 0 characters a book file in Windows-1251 cannot hold, "
              "and wrote 1 without a storable form as \"?\"\n");
    EXPECT_EQ(readBytes(path(u"ru.vlm"_s)).mid(2323), "\xCB\xE5\xE2 ?");

    // Box 7 gives Book Info storable forms as well.
    ok(u"make info --import in.txt --clean 7 --codepage 1252"_s,
       {u"--title"_s, u"\u0412\u043E\u0439\u043D\u0430"_s, u"--synopsis"_s, u"a \u2264 b"_s});
    EXPECT_EQ(load(u"info.vlm"_s).title.trimmed(), u"Vojna"_s);
    EXPECT_EQ(load(u"info.vlm"_s).synopsis.trimmed(), u"a <= b"_s);

    // Without box 7 the save warning names the box that would have kept the characters.
    EXPECT_TRUE(ok(u"make lossy --import in.txt --clean 6"_s)
                    .err.contains("\"Replace characters a book file cannot hold\" would"));
}

TEST_F(BatchTool, ChaptersListsTheDetectorsHeadingsAndMakeAppendsThem)
{
    const QByteArray prose =
        QByteArray("The road ran on past the river and the mill.\n").repeated(6);
    writeBytes(path(u"in.txt"_s), "Contents\n\n\nCHAPTER I\n\n" + prose + "\n\nCHAPTER II\n\n"
                                      + prose + "\n\nChapter 7, verse 3, was read.\n");
    const Outcome listed = ok(u"chapters in.txt"_s);
    EXPECT_EQ(listed.out, "4\t14\tchapter\tCHAPTER I\n14\t307\tchapter\tCHAPTER II\n");
    const QJsonArray headings =
        QJsonDocument::fromJson(ok(u"chapters in.txt --json"_s).out).array();
    ASSERT_EQ(headings.size(), 2);
    EXPECT_EQ(QJsonDocument(headings[1].toObject()).toJson(QJsonDocument::Compact),
              R"({"level":"chapter","line":14,"number":2,"offset":307,"title":"CHAPTER II"})");

    // After the automatic scan's rows, before sorting; a book file is read as it was saved.
    ok(u"make out --import in.txt --title T --scan 0 --find-chapters"_s);
    EXPECT_EQ(load(u"out.vlm"_s).chapters,
              rows(u"Contents@ 0|Chapter 7@ 601|CHAPTER I@ 14|CHAPTER II@ 307"_s, 40));
    EXPECT_EQ(ok(u"chapters out.vlm"_s).out, listed.out);

    // The scan's rows go behind those a book file holds; --sort orders them all.
    writeBytes(path(u"in.vlm"_s), header(1, "", "", "") + record(50, "Kept")
                                      + "Contents\r\nChapter 2: Two\r\nChapter 1");
    ok(u"make scanned --open in.vlm --scan 0"_s);
    EXPECT_EQ(load(u"scanned.vlm"_s).chapters,
              rows(u"Kept@ 50|Contents@ 0|Chapter 1@ 26|Chapter 2@ 10"_s, 40));
    ok(u"make sorted --open in.vlm --scan=0 --whole-line --sort"_s);
    EXPECT_EQ(load(u"sorted.vlm"_s).chapters,
              rows(u"Contents@ 0|Chapter 2: Two@ 10|Chapter 1@ 26|Kept@ 50"_s, 40));

    // A full table takes no row of the scan's or the detector's, and both are counted.
    QByteArray full = header(32767, "T", "", "");
    for (int i = 0; i < 32767; ++i)
        full += record(0, "Row");
    writeBytes(path(u"full.vlm"_s), full + "Contents\r\n\r\n\r\nCHAPTER I\r\n\r\n" + prose
                                         + "\r\nCHAPTER II\r\n\r\n" + prose);
    EXPECT_EQ(ok(u"make filled --open full.vlm --scan 0 --find-chapters"_s).err,
              "leafwright-cli: warning: filled.vlm: the chapter table holds at most 32767 "
              "chapters; 3 found were left out\n");
    EXPECT_EQ(load(u"filled.vlm"_s).chapters.size(), 32767);
}

// Rows a book file holds stay on their headings through --clean and --replace, and
// --find-chapters adds none for a line the table already points at.
TEST_F(BatchTool, MakeKeepsTheRowsOnTheirHeadingsAsTheTextChanges)
{
    const QByteArray prose =
        QByteArray("The road ran on past the river and the mill.\n").repeated(6);
    writeBytes(path(u"in.txt"_s), "Title: Tales\n*** START OF THE PROJECT GUTENBERG EBOOK X ***\n\n"
                                  "CHAPTER I\n\n"
                                      + prose + "\nCHAPTER II\n\n" + prose
                                      + "*** END OF THE PROJECT GUTENBERG EBOOK X ***\nLicence\n");
    ok(u"make a --import in.txt --title T --find-chapters"_s);
    auto headingsAt = [&](const QString &name) {
        const Book book = load(name);
        QStringList found;
        for (const ChapterEntry &row : book.chapters)
            found << book.text.mid(chapterOffset(row), 10).trimmed();
        return found;
    };
    ASSERT_EQ(headingsAt(u"a.vlm"_s), (QStringList{u"CHAPTER I"_s, u"CHAPTER II"_s}));

    const Outcome cleaned = ok(u"make b --open a.vlm --clean all --find-chapters"_s);
    EXPECT_EQ(
        cleaned.err,
        "b.vlm: removed the Project Gutenberg header (3 lines) and licence (2 "
        "lines)\nb.vlm: replaced 0 characters a book file in Windows-1252 cannot hold\nb.vlm: "
        "moved 2 chapter rows with the text\n");
    EXPECT_EQ(headingsAt(u"b.vlm"_s), (QStringList{u"CHAPTER I"_s, u"CHAPTER II"_s}));

    const Outcome replaced = ok(u"make c --open a.vlm --replace river \"great river\""_s);
    EXPECT_EQ(replaced.err, "c.vlm: 12 replaced\nc.vlm: moved 1 chapter row with the text\n");
    EXPECT_EQ(headingsAt(u"c.vlm"_s), (QStringList{u"CHAPTER I"_s, u"CHAPTER II"_s}));
}

TEST_F(BatchTool, CheckListsProblemsAndExitsOneWhenItFindsAny)
{
    writeBytes(path(u"good.vlm"_s),
               header(2, "T", "", "") + record(0, "One") + record(5, "Two") + "One\r\nTwo\r\n");
    EXPECT_EQ(ok(u"check good.vlm"_s).out, "No problems found in good.vlm.\n");
    EXPECT_EQ(ok(u"check good.vlm --json"_s).out.trimmed(), "[\n]");

    writeBytes(path(u"bad.vlm"_s), header(3, "T", "", "") + record(6, "One") + record(6, "Two")
                                       + record(500, "Far") + "One\r\nTwo\r\n");
    const Outcome human = cli(u"check bad.vlm"_s);
    EXPECT_EQ(human.status, 1);
    EXPECT_EQ(human.out, "chapter 1 starts at offset 6, in the middle of a line\n"
                         "chapter 2 starts at offset 6, in the middle of a line\n"
                         "chapter 2 starts at offset 6, as chapter 1 does\n"
                         "chapter 3 starts at offset 500, outside the text of 10 characters\n"
                         "4 problems found in bad.vlm.\n");
    const Outcome listed = cli(u"check bad.vlm --json"_s);
    const QJsonArray problems = QJsonDocument::fromJson(listed.out).array();
    EXPECT_EQ(listed.status, 1);
    ASSERT_EQ(problems.size(), 4);
    EXPECT_EQ(QJsonDocument(problems[2].toObject()).toJson(QJsonDocument::Compact),
              R"({"chapter":2,"kind":"same-offset","message":"chapter 2 starts at offset 6, as )"
              R"(chapter 1 does"})");

    // Offsets count the text as the file stores it, as the reader on the phone does.
    writeBytes(path(u"lf.vlm"_s), header(2, "T", "", "") + record(6, "Two") + record(12, "Three")
                                      + "line1\nline2\nline3\n");
    EXPECT_EQ(ok(u"check lf.vlm"_s).out, "No problems found in lf.vlm.\n");
}

TEST_F(BatchTool, ShowAndTextPrintTheBookForReadingAndAsUtf8)
{
    writeBytes(path(u"b.vlm"_s), header(2, "Title", "Author", "First line\r\nSecond line")
                                     + record(0, "Opening") + record(1234, "The end")
                                     + "\223caf\351\224\r\n");
    EXPECT_EQ(ok(u"show b.vlm"_s).out,
              "Title:    Title\nAuthor:   Author\nSynopsis: First line\n          Second line\n"
              "Chapters: 2\n  1     0  Opening\n  2  1234  The end\nText:     8 characters\n");
    EXPECT_EQ(ok(u"text b.vlm"_s).out, u"\u201Ccaf\u00E9\u201D\r\n"_s.toUtf8());
    EXPECT_TRUE(ok(u"text b.vlm -o b.txt"_s).out.isEmpty());
    EXPECT_EQ(readBytes(path(u"b.txt"_s)), ok(u"text b.vlm"_s).out);
}

// Every real book: imported, saved, opened and saved again, the bytes never change, and show
// gives back every field.
TEST_F(BatchTool, CorpusBooksSurviveMakeOpenAndShow)
{
    const QStringList books = corpusBooks();
    if (books.isEmpty())
        GTEST_SKIP() << "no corpus books in " << corpusDir().toStdString();
    for (const QString &txt : books) {
        SCOPED_TRACE(txt.toStdString());
        ok(u"make first.vlm --title \"A title \u00E9\" --author Someone --synopsis \"About\nit\" "
           "--import"_s,
           {txt});
        const QString text = decodeTextFile(readBytes(txt));
        const QByteArray bytes = readBytes(path(u"first.vlm"_s));
        ASSERT_EQ(bytes.size(), 2323 + text.size());
        EXPECT_EQ(bytes.left(2323), header(0, "A title \xE9", "Someone", "About\r\nit"));

        // Each character is one byte that reads back as that character, or "?" for one the
        // code page cannot hold.
        const QString stored = CodePage::decode(CodePage::Western, bytes.sliced(2323));
        qsizetype differing = 0;
        for (qsizetype i = 0; i < text.size(); ++i)
            differing += stored[i] != text[i] && (stored[i] != u'?' || text[i].unicode() < 0x100);
        EXPECT_EQ(differing, 0);

        ok(u"make second.vlm --open first.vlm"_s);
        EXPECT_EQ(readBytes(path(u"second.vlm"_s)), bytes);
        const QJsonObject shown =
            QJsonDocument::fromJson(ok(u"show first.vlm --json"_s).out).object();
        EXPECT_EQ(shown[u"title"_s].toString(), u"A title \u00E9"_s.leftJustified(128));
        EXPECT_EQ(shown[u"synopsis"_s].toString(), u"About\r\nit"_s.leftJustified(1024));
        EXPECT_EQ(shown[u"text_length"_s].toInteger(), text.size());
    }
}

// The largest resident memory any batch tool run so far had (each test is a process of its own).
qint64 peakOfChildren()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return qint64(usage.ru_maxrss) * 1024;
}

// A file that is plainly no book file is named as what it is, for every command that reads
// book files.
TEST_F(BatchTool, FilesThatAreNoBookFilesAreNamedAsWhatTheyAre)
{
    const std::pair<QString, QByteArray> files[] = {
        {u"an EPUB book"_s, zipArchive(epubEntries({"<p>x</p>"}, {}))},
        {u"a PDF document"_s, "%PDF-1.4\n" + QByteArray(3000, 'x')},
        {u"a web page"_s, "<!DOCTYPE html><html><body>" + QByteArray(3000, 'x') + "</body></html>"},
        {u"a text file"_s, QByteArray("It was a dark and stormy night.\r\n").repeated(100)},
    };
    for (const auto &[format, bytes] : files) {
        writeBytes(path(u"book.vlm"_s), bytes);
        for (const QString &command : {u"show book.vlm"_s, u"check book.vlm"_s, u"text book.vlm"_s,
                                       u"make out --open book.vlm"_s}) {
            expectOneLine(cli(command), 1, u"book.vlm: is %1, not a book file"_s.arg(format));
        }
    }
}

TEST_F(BatchTool, HostileBooksTakeMemoryInProportionToTheirSize)
{
    writeBytes(path(u"short.vlm"_s), header(32767, "T", "", "") + record(0, "only one"));
    EXPECT_EQ(cli(u"show short.vlm"_s).status, 1);
    EXPECT_LT(peakOfChildren(), 200LL << 20) << "nothing reserved for the chapters the file claims";

    constexpr qsizetype Size = 100LL << 20;
    writeBytes(path(u"huge.vlm"_s),
               header(0, "Huge", "", "") + (QByteArray(98, 'x') + "\r\n").repeated(Size / 100));
    ok(u"show huge.vlm"_s);
    // The bytes once, the text as UTF-16 twice over (read, then held): about six times the file.
    EXPECT_LT(peakOfChildren(), 8 * Size) << peakOfChildren() / (1 << 20) << " MB";
}

} // namespace
