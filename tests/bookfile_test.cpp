#include "book/bookfile.h"
#include "book/codepage.h"
#include "book/offsettext.h"

#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <numeric>
#include <tuple>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

TEST(BookFile, SavesEveryFieldAtItsPlace)
{
    QTemporaryDir dir;
    const std::tuple<const char *, Book, QByteArray> cases[] = {
        {"empty book: header only, fields of spaces", Book{}, header(0, "", "", "")},
        {"information and text",
         Book{u"Emma"_s, u"Jane Austen"_s, u"A novel.\r\nIn three volumes."_s, {}, u"Text\r\n"_s},
         header(0, "Emma", "Jane Austen", "A novel.\r\nIn three volumes.") + "Text\r\n"},
        {"fields cut at their length",
         Book{QString(126, u'T') + u"xyz"_s, QString(200, u'A'), QString(1030, u'S'), {}, {}},
         header(0, QByteArray(126, 'T') + "xy", QByteArray(128, 'A'), QByteArray(1024, 'S'))},
        {"chapter rows: titles cut at 40, offset texts read as numbers",
         Book{{}, {}, {}, rows(QString(41, u'c') + u"@ 12|Two@Offset|@2.5"_s), {}},
         header(3, "", "", "") + record(12, QByteArray(40, 'c')) + record(0, "Two")
             + record(2, "")},
        {"Windows-1252 characters; ones it cannot hold, a unit each",
         Book{u"Caf\u00E9"_s, QString(), QString(), rows(u"\u201CI\u201D@0"_s),
              u"\u2014 \u03A9 \U0001F600\u0080"_s + QChar(0xD800)},
         header(1, "Caf\xE9", "", "") + record(0, "\x93I\x94") + "\x97 ? ????"},
    };
    for (const auto &[name, book, bytes] : cases) {
        ASSERT_TRUE(SaveBook(book, dir.filePath(u"book.vlm"_s)).ok()) << name;
        EXPECT_EQ(readBytes(dir.filePath(u"book.vlm"_s)), bytes) << name;
    }
}

TEST(BookFile, LoadsFieldsWithFillSpacesAndOffsetsWithSignPositionWhateverTheHeaderWords)
{
    QTemporaryDir dir;
    QByteArray bytes = header(3, "Title", "", "Line one\r\nLine two") + record(0, "Start")
                       + record(1234, "Middle") + record(-7, "Odd") + "one\ntwo\rthree\r\n";
    bytes.replace(0, 4, "\x7F\x7F\x7F\x7F").replace(8, 11, "\x7F\x7F\x7F\x7F\x7F\x7F\x7F\x7FXYZ");
    bytes.replace(1299, 1024, QByteArray(1024, 'R'));
    writeBytes(dir.filePath(u"in.vlm"_s), bytes);
    const Result<Book> loaded = LoadBook(dir.filePath(u"in.vlm"_s));
    ASSERT_TRUE(loaded.ok()) << loaded.error().message().toStdString();
    EXPECT_EQ(loaded.value(),
              (Book{u"Title"_s.leftJustified(128), QString(128, u' '),
                    u"Line one\r\nLine two"_s.leftJustified(1024),
                    rows(u"Start@ 0|Middle@ 1234|Odd@-7"_s, 40), u"one\r\ntwo\r\nthree\r\n"_s}));
}

// Each file is refused with a message that names it and the problem, or (no problem given) read
// with that many chapters: the limits exactly, one under and one over.
TEST(BookFile, RefusesFilesThatCannotHoldWhatTheyClaim)
{
    QTemporaryDir dir;
    const QByteArray empty = header(0, "", "", "");
    auto withCount = [&](qint32 count, qsizetype records) {
        return QByteArray(empty).replace(4, 4, le32(count)) + QByteArray(44 * records, 'r');
    };
    QByteArray full = withCount(32767, 0);
    for (qint32 i = 0; i < 32767; ++i)
        full += record(i, "c");
    const std::tuple<const char *, QByteArray, const char *, qsizetype> cases[] = {
        {"empty file", "", "empty", 0},
        {"one byte short of a header", empty.left(2322), "2322 bytes", 0},
        {"a header alone", empty, nullptr, 0},
        {"the largest table", full, nullptr, 32767},
        {"negative count", withCount(-1, 0), "negative", 0},
        {"one more than a book can hold", withCount(32768, 32768), "32768", 0},
        {"largest count", withCount(std::numeric_limits<qint32>::max(), 0), "2147483647", 0},
        {"one record short", withCount(3, 2), "holds only 2", 0},
        {"the largest count with a short body", withCount(32767, 1), "holds only 1", 0},
    };
    const QString file = dir.filePath(u"bad.vlm"_s);
    for (const auto &[name, bytes, problem, chapters] : cases) {
        SCOPED_TRACE(name);
        writeBytes(file, bytes);
        const Result<Book> loaded = LoadBook(file);
        if (!problem) {
            ASSERT_TRUE(loaded.ok());
            EXPECT_EQ(loaded.value().chapters.size(), chapters);
            EXPECT_TRUE(loaded.value().text.isEmpty());
            continue;
        }
        ASSERT_FALSE(loaded.ok());
        const QString message = loaded.error().message();
        EXPECT_TRUE(message.startsWith(file + u": "_s)) << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(problem))) << message.toStdString();
    }
}

// The open book file's name first; else the title, made a file name, beside the imported file;
// else the imported file's name in the last Save As folder.
TEST(BookFile, SaveAsProposesANameForTheBook)
{
    // The open book file, the title, the imported file, the last Save As folder; the name.
    const std::tuple<QString, QString, QString, QString, QString> cases[] = {
        {u"/b/old.vlm"_s, u"Title"_s, {}, u"/s"_s, u"/b/old.vlm"_s},
        {{},
         u"Pride & Prejudice: A Novel"_s,
         u"/in/pg1342.txt"_s,
         {},
         u"/in/Pride Prejudice A Novel.vlm"_s},
        {{}, u"   "_s, u"/in/pg1342.txt"_s, u"/s"_s, u"/s/pg1342.vlm"_s},
        {{}, QString(), QString(), QString(), QString()},
    };
    for (const auto &[bookFile, title, imported, folder, name] : cases)
        EXPECT_EQ(proposedBookName(bookFile, title, imported, folder), name) << title.toStdString();
}

// The two written forms of a row and what a user may leave in a box; fractions round to the
// nearest whole number, halves to the even one; the 32-bit range exactly at its ends and beyond.
TEST(OffsetText, ReadsTheNumberTheTextStartsWithAndWritesASignPosition)
{
    constexpr qint32 Max = std::numeric_limits<qint32>::max();
    constexpr qint32 Min = std::numeric_limits<qint32>::min();
    const std::pair<QString, qint32> cases[] = {
        {u" 1234"_s, 1234},      {u"12abc"_s, 12},
        {u"2.5"_s, 2},           {u"3.5"_s, 4},
        {u"-2.5"_s, -2},         {u".6"_s, 1},
        {u"-2147483649"_s, Min}, {u"99999999999999999999999999"_s, Max}};
    for (const auto &[text, number] : cases)
        EXPECT_EQ(offsetTextToNumber(text), number) << '"' << text.toStdString() << '"';
    for (const auto &[number, text] :
         {std::pair{-5, u"-5"_s}, {Min, u"-2147483648"_s}, {Max, u" 2147483647"_s}})
        EXPECT_EQ(offsetWithSignPosition(number), text);
}

// Saving must never cost the old book: whatever stops a save, the old file stays as it was, no
// temporary file is left beside it, and the batch tool says so in one line that names the book.
TEST(SaveFaults, AFailedSaveLeavesTheOldBookAndNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"books"_s);
    const QString old = folder + u"/old.vlm"_s;
    ASSERT_TRUE(QDir().mkdir(folder));
    writeBytes(old, "the old book");
    writeBytes(dir.filePath(u"in.txt"_s), QByteArray(200000, 'x'));
    auto expectOldBookUntouched = [&] {
        EXPECT_EQ(readBytes(old), "the old book");
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"old.vlm"_s});
    };
    // Readable by the unprivileged user the superuser becomes, who could write anywhere.
    QFile::setPermissions(dir.path(),
                          QFile::permissions(dir.path()) | QFile::ReadOther | QFile::ExeOther);
    const QString make = QString::fromUtf8(LEAFWRIGHT_CLI) + u" make "_s + old + u" --import "_s
                         + dir.filePath(u"in.txt"_s) + u" --title T"_s;
    const std::pair<QString, bool> cases[] = {
        {u"prlimit --fsize=4096 "_s + make, true},
        {(geteuid() == 0 ? u"setpriv --reuid=65534 --regid=65534 --clear-groups "_s : u""_s) + make,
         false}};
    const QFile::Permissions readable =
        QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
    for (const auto &[command, writableFolder] : cases) {
        SCOPED_TRACE(command.toStdString());
        QFile::setPermissions(folder, writableFolder ? readable | QFile::WriteOwner : readable);
        QProcess process;
        process.startCommand(command);
        ASSERT_TRUE(process.waitForFinished(60000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_TRUE(process.exitCode() == 1 && err.startsWith(u"leafwright-cli: "_s + old + u": "_s)
                    && err.count(u'\n') == 1)
            << err.toStdString();
        expectOldBookUntouched();
    }

    // A table longer than a book file can hold is refused before anything is written.
    QFile::setPermissions(folder, readable | QFile::WriteOwner);
    const auto saved = SaveBook(Book{{}, {}, {}, rows(u"c@1|"_s.repeated(32768)), {}}, old);
    ASSERT_FALSE(saved.ok());
    EXPECT_TRUE(saved.error().message().contains(u"32768"_s));
    expectOldBookUntouched();
}

} // namespace
