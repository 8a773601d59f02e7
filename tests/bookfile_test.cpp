#include "book/bookfile.h"

#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString u16(const char16_t *text)
{
    return QString::fromUtf16(text);
}

class BookFile : public ::testing::Test
{
protected:
    QString path(const char *name) const { return m_dir.filePath(QString::fromUtf8(name)); }

    QStringList filesInFolder() const
    {
        return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_dir;
};

struct SaveCase
{
    const char *name;
    Book book;
    QByteArray bytes;
};

TEST_F(BookFile, SavesEveryFieldAtItsPlace)
{
    const QString longTitle = QString(126, u'T') + u"xyz"_s;
    const SaveCase cases[] = {
        {"empty book: header only, fields of spaces", Book{}, header(0, "", "", "")},
        {"information and text",
         Book{u"Emma"_s, u"Jane Austen"_s, u"A novel.\r\nIn three volumes."_s, {}, u"Text\r\n"_s},
         header(0, "Emma", "Jane Austen", "A novel.\r\nIn three volumes.") + "Text\r\n"},
        {"fields cut at their length",
         Book{longTitle, QString(200, u'A'), QString(1030, u'S'), {}, {}},
         header(0, QByteArray(126, 'T') + "xy", QByteArray(128, 'A'), QByteArray(1024, 'S'))},
        {"chapter rows: titles cut at 40, offset texts read as numbers",
         Book{u"T"_s,
              {},
              {},
              {{QString(41, u'c'), u" 1234"_s},
               {u"Two"_s, u"1234"_s},
               {u"Empty offset"_s, {}},
               {u"Not a number"_s, u"Offset"_s},
               {u"Negative"_s, u"-5"_s},
               {u"Half"_s, u"2.5"_s},
               {{}, u" 0"_s}},
              u"body"_s},
         header(7, "T", "", "") + record(1234, QByteArray(40, 'c')) + record(1234, "Two")
             + record(0, "Empty offset") + record(0, "Not a number") + record(-5, "Negative")
             + record(2, "Half") + record(0, "") + "body"},
        {"Windows-1252 characters and ones it cannot hold",
         Book{u16(u"Caf\u00E9"),
              {},
              {},
              {{u16(u"\u201CI\u201D"), u"0"_s}},
              u16(u"\u2014 \u03A9 \U0001F600")},
         header(1, "Caf\xE9", "", "") + record(0, "\x93I\x94") + "\x97 ? ??"},
    };
    for (const SaveCase &c : cases) {
        const QString file = path("book.vlm");
        ASSERT_TRUE(SaveBook(c.book, file).ok()) << c.name;
        EXPECT_EQ(readBytes(file), c.bytes) << c.name;
    }
}

TEST_F(BookFile, TalliesTheCharactersStoredAsQuestionMarks)
{
    Book book;
    book.title = u16(u"\u0394elta");
    book.text = u16(u"\u03A9 and \U0001F600");
    const Result<CodePage::Unstorable> saved = SaveBook(book, path("greek.vlm"));
    ASSERT_TRUE(saved.ok());
    EXPECT_EQ(saved.value().count, 3);
    EXPECT_EQ(saved.value().first, char32_t(0x0394));
}

TEST_F(BookFile, LoadsFieldsWithFillSpacesAndOffsetsWithSignPosition)
{
    writeBytes(path("in.vlm"), header(3, "Title", "", "Line one\r\nLine two") + record(0, "Start")
                                   + record(1234, "Middle") + record(-7, "Odd")
                                   + "one\ntwo\rthree\r\n");
    const Result<Book> loaded = LoadBook(path("in.vlm"));
    ASSERT_TRUE(loaded.ok()) << loaded.error().message().toStdString();
    const Book &book = loaded.value();
    EXPECT_EQ(book.title, u"Title"_s + QString(123, u' '));
    EXPECT_EQ(book.author, QString(128, u' '));
    EXPECT_EQ(book.synopsis, u"Line one\r\nLine two"_s + QString(1024 - 18, u' '));
    const QList<ChapterEntry> chapters = {{u"Start"_s + QString(35, u' '), u" 0"_s},
                                          {u"Middle"_s + QString(34, u' '), u" 1234"_s},
                                          {u"Odd"_s + QString(37, u' '), u"-7"_s}};
    EXPECT_EQ(book.chapters, chapters);
    EXPECT_EQ(book.text, u"one\r\ntwo\r\nthree\r\n"_s);
}

TEST_F(BookFile, ReadsAnyHeaderWordsAndMagic)
{
    QByteArray bytes = header(0, "T", "A", "S") + "text";
    bytes.replace(0, 16, QByteArray(16, '\x7F'));
    bytes.replace(4, 4, le32(0));
    bytes.replace(16, 3, "XYZ");
    bytes.replace(1299, 1024, QByteArray(1024, 'R'));
    writeBytes(path("odd.vlm"), bytes);
    const Result<Book> loaded = LoadBook(path("odd.vlm"));
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded.value().text, u"text"_s);
    EXPECT_EQ(loaded.value().title.trimmed(), u"T"_s);
}

TEST_F(BookFile, SaveOpenSaveGivesTheSameBytes)
{
    Book book{u"A title"_s,
              u"An author"_s,
              u"Line\r\nline"_s,
              {{u"One"_s, u" 0"_s}, {u"Two"_s, u"17"_s}, {u"Three"_s, u"-1"_s}},
              u16(u"Chapter one\r\n\r\n\u201CHello,\u201D she said.\r\n\u00A0")};
    ASSERT_TRUE(SaveBook(book, path("first.vlm")).ok());
    const Result<Book> loaded = LoadBook(path("first.vlm"));
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded.value().text, book.text);
    ASSERT_TRUE(SaveBook(loaded.value(), path("second.vlm")).ok());
    EXPECT_EQ(readBytes(path("first.vlm")), readBytes(path("second.vlm")));
}

struct RefusalCase
{
    const char *name;
    QByteArray bytes;
    const char *problem; // a piece of the message
};

TEST_F(BookFile, RefusesFilesThatCannotHoldWhatTheyClaim)
{
    const QByteArray empty = header(0, "", "", "");
    auto withCount = [&](qint32 count, qsizetype records) {
        QByteArray bytes = empty;
        bytes.replace(4, 4, le32(count));
        return bytes + QByteArray(44 * records, 'r');
    };
    const RefusalCase cases[] = {
        {"empty file", "", "empty"},
        {"one byte short of a header", empty.left(2322), "2322 bytes"},
        {"negative count", withCount(-1, 0), "negative"},
        {"most negative count", withCount(std::numeric_limits<qint32>::min(), 0), "negative"},
        {"one more than a book can hold", withCount(32768, 32768), "32768"},
        {"largest count", withCount(std::numeric_limits<qint32>::max(), 0), "2147483647"},
        {"one record short", withCount(3, 2), "holds only 2"},
        {"a record cut short", withCount(1, 0) + QByteArray(43, 'r'), "holds only 0"},
        {"the largest count with a short body", withCount(32767, 1), "holds only 1"},
    };
    const QString file = path("bad.vlm");
    for (const RefusalCase &c : cases) {
        writeBytes(file, c.bytes);
        const Result<Book> loaded = LoadBook(file);
        ASSERT_FALSE(loaded.ok()) << c.name;
        const QString message = loaded.error().message();
        EXPECT_TRUE(message.startsWith(file + u": "_s)) << c.name << ": " << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.problem)))
            << c.name << ": " << message.toStdString();
    }
}

TEST_F(BookFile, LoadsFilesExactlyAtTheLimits)
{
    const QByteArray empty = header(0, "", "", "");
    writeBytes(path("header.vlm"), empty);
    Result<Book> loaded = LoadBook(path("header.vlm"));
    ASSERT_TRUE(loaded.ok());
    EXPECT_TRUE(loaded.value().chapters.isEmpty());
    EXPECT_TRUE(loaded.value().text.isEmpty());

    QByteArray full = empty;
    full.replace(4, 4, le32(32767));
    for (qint32 i = 0; i < 32767; ++i)
        full += record(i, "c");
    writeBytes(path("full.vlm"), full);
    loaded = LoadBook(path("full.vlm"));
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded.value().chapters.size(), 32767);
    EXPECT_EQ(loaded.value().chapters.last().offset, u" 32766"_s);
    EXPECT_TRUE(loaded.value().text.isEmpty());
}

TEST_F(BookFile, NamesAFileThatCannotBeReadAndNeverCreatesIt)
{
    const QString missing = path("missing.vlm");
    for (const QString &bad : {missing, m_dir.path()}) {
        const Result<Book> loaded = LoadBook(bad);
        ASSERT_FALSE(loaded.ok());
        EXPECT_TRUE(loaded.error().message().startsWith(bad));
    }
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(BookFile, ReplacesALongerOldBookWithExactlyTheNewBytes)
{
    const QString file = path("book.vlm");
    writeBytes(file, QByteArray(10000, 'x'));
    Book book;
    book.text = u"short"_s;
    ASSERT_TRUE(SaveBook(book, file).ok());
    EXPECT_EQ(readBytes(file), header(0, "", "", "") + "short");
    EXPECT_EQ(filesInFolder(), QStringList{u"book.vlm"_s});
}

TEST_F(BookFile, AFailedSaveLeavesTheOldBookAndNoTemporaryFile)
{
    const QString old = path("old.vlm");
    writeBytes(old, "the old book");
    Book book;
    book.title = u"New"_s;

    QDir(m_dir.path()).mkdir(u"folder.vlm"_s);
    const QString targets[] = {path("no such folder/book.vlm"), path("folder.vlm")};
    for (const QString &target : targets) {
        const Result<CodePage::Unstorable> saved = SaveBook(book, target);
        ASSERT_FALSE(saved.ok()) << target.toStdString();
        EXPECT_TRUE(saved.error().message().startsWith(target))
            << saved.error().message().toStdString();
    }

    // A table longer than a book file can hold is refused before anything is written.
    book.chapters.fill({u"c"_s, u"1"_s}, 32768);
    const Result<CodePage::Unstorable> tooMany = SaveBook(book, old);
    ASSERT_FALSE(tooMany.ok());
    EXPECT_TRUE(tooMany.error().message().contains(u"32768"_s));

    EXPECT_EQ(readBytes(old), "the old book");
    EXPECT_EQ(filesInFolder(), QStringList{u"old.vlm"_s});
}

TEST(BookFileName, AppendsTheExtensionUnlessTheNameEndsInIt)
{
    const std::pair<QString, QString> cases[] = {
        {u"notes"_s, u"notes.vlm"_s},   {u"NOTES.VLM"_s, u"NOTES.VLM"_s},
        {u"Book.Vlm"_s, u"Book.Vlm"_s}, {u"book.txt"_s, u"book.txt.vlm"_s},
        {u"vlm"_s, u"vlm.vlm"_s},       {u"a.vlm.bak"_s, u"a.vlm.bak.vlm"_s},
        {u"dir/.vlm"_s, u"dir/.vlm"_s},
    };
    for (const auto &[name, expected] : cases)
        EXPECT_EQ(withBookExtension(name), expected) << name.toStdString();
}

TEST(BookTitle, OnlyEmptyOrSpacesCountsAsMissing)
{
    EXPECT_TRUE(isMissingTitle(u""));
    EXPECT_TRUE(isMissingTitle(u"   "));
    EXPECT_FALSE(isMissingTitle(u"\t"));
    EXPECT_FALSE(isMissingTitle(u" \r\n"));
    EXPECT_FALSE(isMissingTitle(u" x "));
}

} // namespace
