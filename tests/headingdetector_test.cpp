#include "chapters/headingdetector.h"

#include "book/textimport.h"
#include "cleaner/textcleaner.h"

#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

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

// The F1 score of the detector against a book's hand-made chapter table: a heading on a
// required row is a hit, one on an optional row counts for nothing, any other is a false one.
double scoreAgainstTruth(const QString &bookPath, const QString &truthPath, QString &report)
{
    QFile truthFile(truthPath);
    if (!truthFile.open(QIODevice::ReadOnly))
        return -1;
    std::map<int, bool> rows; // line (from 1) -> required
    const QList<QByteArray> truthLines = truthFile.readAll().split('\n');
    for (qsizetype i = 1; i < truthLines.size(); ++i) {
        const QList<QByteArray> fields = truthLines[i].split('\t');
        if (fields.size() >= 3)
            rows[fields[0].toInt()] = fields[2] == "yes";
    }
    const QString text = importTextFile(bookPath).value();
    std::set<int> foundLines;
    for (const FoundHeading &heading : FindHeadings(text))
        foundLines.insert(int(QStringView(text).first(heading.offset).count(u'\n')) + 1);
    int hits = 0;
    int falsePositives = 0;
    for (const int line : foundLines) {
        const auto row = rows.find(line);
        if (row == rows.end()) {
            ++falsePositives;
            report += u" false %1"_s.arg(line);
        } else if (row->second) {
            ++hits;
        }
    }
    int required = 0;
    for (const auto &[line, isRequired] : rows) {
        required += isRequired;
        if (isRequired && !foundLines.contains(line))
            report += u" missed %1"_s.arg(line);
    }
    const double precision = hits + falsePositives > 0 ? double(hits) / (hits + falsePositives) : 0;
    const double recall = required > 0 ? double(hits) / required : 0;
    return precision + recall > 0 ? 2 * precision * recall / (precision + recall) : 0;
}

// The books of every corpus folder scored as a set: each folder's mean and lowest F1 are
// printed and held to their floors, and a book whose floor is its own only ever rises. A rule
// that helps one book must not cost the others of any folder.
TEST(HeadingDetector, ScoresEveryFolderOfTheCorpus)
{
    struct Folder
    {
        const char *name;
        double meanFloor;
        double lowestFloor;
    };
    const Folder folders[] = {{"", 0.99, 0.99}, {"shapes/", 0.99, 0.97}, {"kinds/", 0.99, 0.98}};
    // Books still short of the folder's usual floor: OCR numerals and titles the layout misses.
    const std::map<QString, double> ownFloors = {
        {u"dickinson-poems2"_s, 0.97}, {u"pg2591"_s, 0.98}, {u"pg2000"_s, 0.99},
        {u"fr-Verne-Hateras"_s, 0.99}, {u"aesop"_s, 0.99},
    };
    if (corpusBooks().isEmpty())
        GTEST_SKIP() << "no corpus books in " << corpusDir().toStdString();
    double allSum = 0;
    double allLowest = 1;
    int allBooks = 0;
    for (const Folder &folder : folders) {
        const QString dir = corpusDir() + u'/' + QString::fromLatin1(folder.name);
        const QStringList books = QDir(dir).entryList({u"*.txt"_s}, QDir::Files, QDir::Name);
        double sum = 0;
        double lowest = 1;
        int scored = 0;
        for (const QString &file : books) {
            const QString name = QFileInfo(file).completeBaseName();
            const QString truth = dir + u"truth/"_s + name + u".tsv"_s;
            if (!QFileInfo::exists(truth))
                continue;
            QString report;
            const double f1 = scoreAgainstTruth(dir + file, truth, report);
            const auto own = ownFloors.find(name);
            EXPECT_GE(f1, own != ownFloors.end() ? own->second : 0.99)
                << folder.name << name.toStdString() << report.toStdString();
            std::printf("  %-10s %-20s F1 %.4f\n", folder.name[0] ? folder.name : "corpus/",
                        qPrintable(name), f1);
            sum += f1;
            lowest = std::min(lowest, f1);
            ++scored;
        }
        if (scored == 0)
            continue;
        std::printf("%-10s %2d books: mean F1 %.4f, lowest %.4f\n",
                    folder.name[0] ? folder.name : "corpus/", scored, sum / scored, lowest);
        EXPECT_GE(sum / scored, folder.meanFloor) << folder.name;
        EXPECT_GE(lowest, folder.lowestFloor) << folder.name;
        allSum += sum;
        allLowest = std::min(allLowest, lowest);
        allBooks += scored;
    }
    std::printf("all        %2d books: mean F1 %.4f, lowest %.4f\n", allBooks, allSum / allBooks,
                allLowest);
    EXPECT_GE(allSum / allBooks, 0.99);
}

} // namespace
