#include "book/textimport.h"
#include "cleaner/textcleaner.h"

#include "testfiles.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

CleanerBoxes frameBox()
{
    CleanerBoxes boxes{};
    boxes[GutenbergFrameBox] = true;
    return boxes;
}

struct FrameCase
{
    const char *name;
    QStringList lines; // joined with CR LF
    QString body;      // also joined with CR LF
    QString title;
    QString author;
};

TEST(GutenbergFrame, KeepsExactlyTheBodyBetweenTheMarkers)
{
    const QStringList licence = {u"*** END OF THE PROJECT GUTENBERG EBOOK X ***"_s, QString(),
                                 u"Section 1. General Terms"_s};
    const FrameCase cases[] = {
        {"current release",
         QStringList{u"The Project Gutenberg eBook of X"_s, QString(), u"Title: X"_s,
                     u"Author: Y"_s, QString(), u"*** START OF THE PROJECT GUTENBERG EBOOK X ***"_s,
                     QString(), QString(), u"  CHAPTER I"_s, QString(), u"Text."_s, QString()}
             + licence,
         u"  CHAPTER I\r\n\r\nText."_s, u"X"_s, u"Y"_s},
        {"THIS, no space, lower case, credits paragraph",
         {u"Title: X"_s, u"***start of this project gutenberg ebook x***"_s, QString(),
          u"Produced by A,"_s, u"and B"_s, QString(), u"Body"_s, QString(),
          u"End of the Project Gutenberg EBook of X"_s, u"*** END OF THIS PROJECT ..."_s},
         u"Body"_s,
         u"X"_s,
         QString()},
        {"old small print at the top and opening the licence at the end",
         {u"Title: X"_s, u"*END*THE SMALL PRINT! FOR PUBLIC DOMAIN ETEXTS*Ver.04.29.93*END*"_s,
          u"Body"_s, u"End of Project Gutenberg Etext of X"_s,
          u"***START**THE SMALL PRINT!**FOR PUBLIC DOMAIN EBOOKS**START***"_s, u"Licence"_s,
          u"*END THE SMALL PRINT! FOR PUBLIC DOMAIN EBOOKS*Ver.02/11/02*END*"_s},
         u"Body"_s,
         u"X"_s,
         QString()},
        {"end without start keeps the top",
         {u"Title: X"_s, QString(), u"Author: Y"_s, u"Z, and W"_s, QString(), u"Body"_s, QString(),
          u"End of Project Gutenberg\u2019s X, by Y"_s, u"Licence"_s},
         u"Title: X\r\n\r\nAuthor: Y\r\nZ, and W\r\n\r\nBody"_s,
         u"X"_s,
         u"Y"_s},
        {"a title and author that continue on the next line",
         {u"Title: The Long"_s, u"       Title"_s, u"Author: A"_s, u"    and B"_s,
          u"*** START OF THE PROJECT GUTENBERG EBOOK ***"_s, u"Body"_s},
         u"Body"_s,
         u"The Long Title"_s,
         u"A and B"_s},
        {"no marker: everything stays, blank lines too",
         {QString(), u"Title: X"_s, u"Body mentions the Project Gutenberg EBook"_s, QString()},
         u"\r\nTitle: X\r\nBody mentions the Project Gutenberg EBook\r\n"_s,
         QString(),
         QString()},
    };
    for (const FrameCase &c : cases) {
        const CleanOutcome outcome = Clean(c.lines.join(u"\r\n"_s), frameBox());
        EXPECT_EQ(outcome.text, c.body) << c.name;
        EXPECT_EQ(outcome.frame.title, c.title) << c.name;
        EXPECT_EQ(outcome.frame.author, c.author) << c.name;
    }
}

// The header's field as a person reads it off the lines before the body.
QString headerField(const QStringList &lines, const QString &name)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines[i].startsWith(name + u':'))
            continue;
        QString value = lines[i].mid(name.size() + 1).trimmed();
        while (++i < lines.size() && lines[i].startsWith(u' ') && !lines[i].trimmed().isEmpty())
            value += u' ' + lines[i].trimmed();
        return value;
    }
    return {};
}

TEST(GutenbergFrame, EveryCorpusBookKeepsItsBodyAndTakesItsHeader)
{
    const QStringList books = corpusBooks();
    if (books.isEmpty())
        GTEST_SKIP() << "no corpus books in " << corpusDir().toStdString();

    static const QRegularExpression start(uR"(^\*\*\* ?START OF TH(E|IS) PROJECT GUTENBERG)"_s,
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression end(
        uR"(^\s*(\*\*\* ?END OF TH(E|IS) PROJECT GUTENBERG|End of (the )?Project Gutenberg))"_s,
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression credits(u"^(Produced by|E-?text prepared by|Transcribed by)"_s,
                                            QRegularExpression::CaseInsensitiveOption);
    for (const QString &path : books) {
        SCOPED_TRACE(QFileInfo(path).fileName().toStdString());
        const QString text = importTextFile(path).value();
        const QStringList lines = text.split(u"\r\n"_s);
        auto firstLine = [&](const QRegularExpression &pattern, qsizetype from) -> qsizetype {
            for (qsizetype i = from; i < lines.size(); ++i) {
                if (lines[i].contains(pattern))
                    return i;
            }
            return -1;
        };
        const qsizetype startLine = firstLine(start, 0);
        const qsizetype endLine = firstLine(end, startLine + 1);

        qsizetype first = startLine + 1;
        while (lines[first].trimmed().isEmpty())
            ++first;
        if (startLine >= 0 && lines[first].contains(credits)) {
            while (!lines[first].trimmed().isEmpty())
                ++first;
            while (lines[first].trimmed().isEmpty())
                ++first;
        }
        qsizetype last = (endLine >= 0 ? endLine : lines.size()) - 1;
        while (lines[last].trimmed().isEmpty())
            --last;

        const CleanOutcome outcome = Clean(text, frameBox());
        if (startLine < 0 && endLine < 0) {
            EXPECT_EQ(outcome.text, text);
            continue;
        }
        EXPECT_TRUE(outcome.text.startsWith(lines[first] + u"\r\n"_s));
        EXPECT_TRUE(outcome.text.endsWith(u"\r\n"_s + lines[last]));
        const QStringList header = lines.mid(0, startLine >= 0 ? startLine : 20);
        EXPECT_EQ(outcome.frame.title, headerField(header, u"Title"_s));
        EXPECT_EQ(outcome.frame.author, headerField(header, u"Author"_s));
        EXPECT_FALSE(outcome.frame.title.isEmpty());
    }
}

} // namespace
