#include "convert/epubexport.h"

#include "book/offsettext.h"
#include "chapters/chaptertable.h"
#include "chapters/headingdetector.h"
#include "import/bookimport.h"

#include "testfiles.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// What a reader of the EPUB book gets back, compared with what was written: the text exactly,
// the information without fill spaces, each row's title and place.
void expectReadBack(const Book &written, const char *name)
{
    const std::optional<QByteArray> epub = epubOf(written);
    ASSERT_TRUE(epub) << name;
    const Result<ImportedBook> read = readEpub(*epub, u"book.epub"_s);
    ASSERT_TRUE(read.ok()) << name << ": " << read.error().message().toStdString();
    const Book &book = read.value().book;
    EXPECT_EQ(book.text, written.text) << name;
    EXPECT_EQ(book.title, written.title.trimmed()) << name;
    EXPECT_EQ(book.author, written.author.trimmed()) << name;
    EXPECT_EQ(book.synopsis, written.synopsis.trimmed()) << name;
    ASSERT_EQ(book.chapters.size(), written.chapters.size()) << name;
    for (qsizetype i = 0; i < book.chapters.size(); ++i) {
        EXPECT_EQ(book.chapters[i].title, written.chapters[i].title.trimmed()) << name;
        EXPECT_EQ(chapterOffset(book.chapters[i]), chapterOffset(written.chapters[i])) << name;
    }
}

// A book with what HTML would lose: indents, runs of spaces and blank lines, markup characters,
// blank lines at the end; rows out of order and two at one place.
TEST(ExportEpub, ReadsBackAsTheBookWritten)
{
    const QString text = u"Title page\r\n\r\n\r\n\r\nCHAPTER I\r\n\r\n    An  indented <line> & "
                         "\u00E9t\u00E9\r\nand its next.\r\n\r\n\r\n\r\n\r\nCHAPTER II\r\n\r\n"
                         "\tThe end.\r\n\r\n"_s;
    const qsizetype one = text.indexOf(u"CHAPTER I"_s), two = text.indexOf(u"CHAPTER II"_s);
    Book book{u"Tales & <More>"_s, u"Ann Lee"_s, u"One.\r\nStill one.\r\n\r\nTwo."_s,
              {newChapterRow(u"Second"_s, QString::number(two)),
               newChapterRow(u"First"_s, QString::number(one)),
               newChapterRow(u"Again First"_s, QString::number(one)),
               newChapterRow(u"Start"_s, u"0"_s)},
              text};
    expectReadBack(book, "a crafted book");

    // Real books, with the chapters the detector finds.
    for (const QString &path : corpusBooks().mid(0, 3)) {
        Book real = importBook(path).value().book;
        real.title = u"Real"_s;
        for (const FoundHeading &heading : FindHeadings(real.text))
            real.chapters.append(foundChapterRow(heading.title, heading.offset));
        expectReadBack(real, path.toUtf8().constData());
    }
}

// epubcheck, the EPUB standard's own checker, finds nothing wrong with what is written.
TEST(ExportEpub, PassesEpubcheck)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "epubcheck checks the same bytes in the normal build";
#endif
    const QString java = QStandardPaths::findExecutable(u"java"_s);
    const QString checker = u"/usr/share/java/epubcheck.jar"_s;
    if (java.isEmpty() || !QFile::exists(checker))
        GTEST_SKIP() << "epubcheck is not installed";
    QTemporaryDir dir;
    Book book{u"Tales"_s, u"Ann"_s, u"Short."_s, {}, u"One\r\n\r\nCHAPTER I\r\n\r\nText."_s};
    book.chapters = {newChapterRow(u"Chapter I"_s, QString::number(book.text.indexOf(u"CH"_s)))};
    if (!corpusBooks().isEmpty()) {
        book.text = importBook(corpusBooks().first()).value().book.text;
        for (const FoundHeading &heading : FindHeadings(book.text))
            book.chapters.append(foundChapterRow(heading.title, heading.offset));
    }
    const QString path = dir.filePath(u"book.epub"_s);
    ASSERT_FALSE(ExportEpub(book, path));
    QProcess check;
    check.start(java, {u"-jar"_s, checker, path});
    ASSERT_TRUE(check.waitForFinished(300000));
    EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardOutput().toStdString()
                                   << check.readAllStandardError().toStdString();
}

} // namespace
