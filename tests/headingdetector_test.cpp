#include "chapters/headingdetector.h"

#include "book/textimport.h"
#include "cleaner/textcleaner.h"

#include "testfiles.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>

using namespace Qt::StringLiterals;

namespace {

// A paragraph of running text, as a chapter holds below its heading.
const QString Prose = u"It was the best of times, it was the worst of times, it was the age\n"
                      "of wisdom, it was the age of foolishness, it was the epoch of belief,\n"
                      "it was the epoch of incredulity, it was the season of Light.\n"
                      "\n"
                      "There were a king with a large jaw and a queen with a plain face, on\n"
                      "the throne of England; there were a king with a large jaw and a queen\n"
                      "with a fair face, on the throne of France.\n\n\n\n"_s;

struct Expected
{
    int line; // counted from 0
    HeadingLevel level;
    QString title;
    friend bool operator==(const Expected &, const Expected &) = default;
};

void PrintTo(const Expected &e, std::ostream *out)
{
    *out << "{line " << e.line << ", " << levelName(e.level).toStdString() << ", \""
         << e.title.toStdString() << "\"}";
}

std::vector<Expected> found(const QString &text)
{
    std::vector<Expected> result;
    for (const FoundHeading &heading : FindHeadings(text)) {
        const int line = int(QStringView(text).first(heading.offset).count(u'\n'));
        result.push_back({line, heading.level, heading.title});
    }
    return result;
}

constexpr auto Part = HeadingLevel::Part;
constexpr auto Front = HeadingLevel::FrontMatter;
constexpr auto Back = HeadingLevel::BackMatter;

// A case of tests/data/headings.txt: its name, the text as the detector gets it, and the
// headings it should find there.
struct Case
{
    QString name;
    QString text;
    std::vector<Expected> headings;
};

// The headings, each on the next line that starts as it says, from the line after the one
// before; the first on a line after the one that starts with after, when after is given.
std::vector<Expected> placed(const QString &text, const QStringList &headings, const QString &after)
{
    const QStringList lines = text.split(u"\r\n"_s);
    int from = 0;
    if (!after.isEmpty()) {
        while (from < lines.size() && !lines[from].startsWith(after))
            ++from;
        ++from;
    }
    std::vector<Expected> expected;
    for (QString heading : headings) {
        HeadingLevel level = HeadingLevel::Chapter;
        for (const HeadingLevel other : {Part, Front, Back}) {
            if (heading.startsWith(levelName(other) + u": "_s)) {
                level = other;
                heading.remove(0, levelName(other).size() + 2);
            }
        }
        const QString title = heading.section(u" => "_s, -1);
        const QString start = heading.contains(u" => "_s) ? heading.section(u" => "_s, 0, 0) : title;
        while (from < lines.size() && !lines[from].startsWith(start))
            ++from;
        expected.push_back({from++, level, title});
    }
    return expected;
}

std::vector<Case> casesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString prose = Prose.chopped(1); // the line break after "@" is its last
    std::vector<Case> cases;
    const QStringList entries = QString::fromUtf8(file.readAll()).split(u"\n=== "_s);
    for (const QString &entry : entries.sliced(1)) {
        const QString head = entry.section(u"\n--- text\n"_s, 0, 0);
        const QString body = entry.section(u"\n--- text\n"_s, 1);
        QStringList lines = body.section(u"\n--- headings\n"_s, 0, 0).split(u'\n');
        std::replace(lines.begin(), lines.end(), u"@"_s, prose);
        const QStringList headings =
            body.section(u"\n--- headings\n"_s, 1).split(u'\n', Qt::SkipEmptyParts);
        QStringList options = head.split(u'\n');
        const QString name = options.takeFirst();
        CleanerBoxes boxes{};
        QString after;
        for (const QString &option : options) {
            if (option.startsWith(u"after: "_s))
                after = option.mid(7);
            boxes[0] = boxes[0] || option == u"boxes: unwrapped, no blank lines"_s;
            boxes[3] = boxes[3] || option.startsWith(u"boxes: "_s);
        }
        const QString text = CleanText(normalizeLineBreaks(lines.join(u'\n')), boxes);
        cases.push_back({name, text, placed(text, headings, after)});
    }
    return cases;
}

TEST(HeadingDetector, FindsTheHeadingFormsAndSkipsTheTraps)
{
    const std::vector<Case> cases =
        casesOf(QString::fromUtf8(LEAFWRIGHT_TEST_DATA) + u"/headings.txt"_s);
    EXPECT_GE(cases.size(), 40u);
    for (const Case &c : cases)
        EXPECT_EQ(found(c.text), c.headings) << c.name.toStdString();
}

// A number written out is read as its value past the twentieth, in every language, so that
// chapters run on in sequence and a gap in their numbering shows.
TEST(HeadingDetector, ReadsNumbersWrittenOutAsTheirValues)
{
    const std::pair<QString, int> headings[] = {
        {u"CAPITOLO VENTUNESIMO"_s, 21},         {u"Capitolo trentottesimo"_s, 38},
        {u"CAPÍTULO TRIGÉSIMO PRIMERO"_s, 31},   {u"Parte vigésima segunda"_s, 22},
        {u"Capítulo décimo-terceiro"_s, 13},     {u"TWEEËNTWINTIGSTE HOOFDSTUK"_s, 22},
        {u"Een-en-dertigste hoofdstuk"_s, 31},   {u"CHAPITRE SOIXANTE ET ONZIÈME"_s, 71},
        {u"Chapitre quatre-vingt-unième"_s, 81}, {u"Chapitre trentième"_s, 30},
        {u"Einundvierzigstes Kapitel"_s, 41},    {u"CHAPTER FORTY-TWO"_s, 42},
        {u"CHAPITRE VINGT ET UNIÈME"_s, 21},     {u"Einunddreißigstes Kapitel"_s, 31},
        {u"Capítulo cuadragésimo primero"_s, 41}, {u"CAPITOLO VENTESIMOPRIMO"_s, 21},
    };
    for (const auto &[heading, value] : headings) {
        const QList<FoundHeading> rows = FindHeadings(u"\n\n"_s + heading + u"\n\n"_s + Prose);
        ASSERT_EQ(rows.size(), 1) << heading.toStdString();
        EXPECT_EQ(rows[0].number, value) << heading.toStdString();
    }
}

// The books of every corpus folder scored by the corpus's own scorer (its truth/score.py, run by
// scripts/score-headings.sh on the batch tool's chapters): each folder's mean and lowest F1 are
// printed and held to their floors, and a book whose floor is its own only ever rises. A rule
// that helps one book must not cost the others of any folder.
TEST(HeadingDetector, ScoresEveryFolderOfTheCorpus)
{
    if (!QFile::exists(corpusDir() + u"/truth/score.py"_s))
        GTEST_SKIP() << "no corpus scorer in " << corpusDir().toStdString();
    // Each folder's floors for its mean and its lowest book.
    const std::map<QString, std::pair<double, double>> folders = {
        {u"corpus/"_s, {0.99, 0.99}}, {u"shapes/"_s, {0.99, 0.97}},
        {u"kinds/"_s, {0.99, 0.98}},  {u"all"_s, {0.99, 0.97}}};
    // Books still short of the folder's usual floor: OCR numerals and titles the layout misses.
    const std::map<QString, double> ownFloors = {
        {u"dickinson-poems2"_s, 0.97}, {u"pg2591"_s, 0.98}, {u"pg2000"_s, 0.99},
        {u"fr-Verne-Hateras"_s, 0.99}, {u"aesop"_s, 0.99},
    };
    QProcess score;
    score.start(QString::fromUtf8(LEAFWRIGHT_SOURCE_DIR) + u"/scripts/score-headings.sh"_s,
                {u"--cli"_s, QString::fromUtf8(LEAFWRIGHT_CLI), u"--corpus"_s, corpusDir()});
    ASSERT_TRUE(score.waitForFinished(600000));
    const QString report = QString::fromUtf8(score.readAllStandardOutput());
    ASSERT_EQ(score.exitCode(), 0) << score.readAllStandardError().toStdString();
    std::printf("%s", qPrintable(report));

    static const QRegularExpression book(u"^  (\\S+) +(\\S+) +F1 ([0-9.]+)$"_s,
                                         QRegularExpression::MultilineOption);
    int scored = 0;
    for (const QRegularExpressionMatch &row : book.globalMatch(report)) {
        const auto own = ownFloors.find(row.captured(2));
        EXPECT_GE(row.captured(3).toDouble(), own != ownFloors.end() ? own->second : 0.99)
            << row.captured(0).toStdString();
        ++scored;
    }
    EXPECT_GE(scored, 30) << "books with a chapter table";
    static const QRegularExpression folder(
        u"^(\\S+) +\\d+ books: mean F1 ([0-9.]+), lowest ([0-9.]+)$"_s,
        QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch &row : folder.globalMatch(report)) {
        const auto [mean, lowest] = folders.at(row.captured(1));
        EXPECT_GE(row.captured(2).toDouble(), mean) << row.captured(0).toStdString();
        EXPECT_GE(row.captured(3).toDouble(), lowest) << row.captured(0).toStdString();
    }
}

} // namespace
