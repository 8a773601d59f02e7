// Decides what each found heading is (part, chapter, front or back matter) and the title its
// chapter row gets.

#include "detectorpage.h"

#include "chaptertable.h"
#include "headingwords.h"
#include "straymarks.h"

#include <QHash>
#include <QSet>

using namespace Qt::StringLiterals;

namespace HeadingDetection {

namespace {

QString titleCased(const QString &word)
{
    return word.left(1) + word.mid(1).toLower();
}

// The section word as the heading line writes it, for the labels of the headings it holds:
// "Díl" for "DÍL 2", "Kapitel" for "Erstes Kapitel", where the word read is "DIL", "KAPITEL".
QString writtenWord(QStringView line, const QString &word)
{
    for (qsizetype at = 0; at < line.size();) {
        while (at < line.size() && !line[at].isLetter())
            ++at;
        qsizetype end = at;
        while (end < line.size() && line[end].isLetter())
            ++end;
        const QStringView written = line.sliced(at, end - at);
        if (written.size() == word.size() && foldedForHeadings(written) == word)
            return titleCased(written.toString());
        at = end;
    }
    return titleCased(word); // "CHAPTER" for "CHAP."
}

// The heading as written and its title lines, whitespace collapsed, without the note marks and
// stray brackets their lines end in.
QString writtenTitle(const Page &page, const Candidate &heading)
{
    QString title = withoutStrayMarks(page.text(heading.line)).toString();
    for (qsizetype line = heading.titleFrom; line < heading.titleTo; ++line)
        title += u' ' + withoutStrayMarks(page.text(line)).toString();
    return title.simplified();
}

} // namespace

// Levels: a part word holds chapters only if some chapter follows one of its kind (else its
// headings are the chapters); a front or back word holds the chapters numbered from 1 straight
// under it when chapters came before it; other front and back headings are front before the
// first chapter, back after the last, chapters between.
void assignLevels(std::vector<Candidate> &headings)
{
    QSet<QString> holdingWords;
    for (std::size_t i = 0; i + 1 < headings.size(); ++i) {
        const HeadingLine &read = headings[i].read;
        const HeadingLine &next = headings[i + 1].read;
        if (isPartWord(read)
            && (isChapterish(next) || (isPartWord(next) && next.word != read.word))) {
            holdingWords.insert(read.word);
        }
    }
    qsizetype firstChapter = -1;
    qsizetype lastChapter = -1;
    for (std::size_t i = 0; i < headings.size(); ++i) {
        const HeadingLine &read = headings[i].read;
        const bool chapter =
            isChapterish(read) || (isPartWord(read) && !holdingWords.contains(read.word));
        headings[i].level = chapter ? HeadingLevel::Chapter : read.level;
        if (chapter) {
            if (firstChapter < 0)
                firstChapter = qsizetype(i);
            lastChapter = qsizetype(i);
        }
    }
    for (std::size_t i = 0; i < headings.size(); ++i) {
        const HeadingLine &read = headings[i].read;
        if (!isMatter(read))
            continue;
        const qsizetype at = qsizetype(i);
        const bool holds = i + 1 < headings.size() && isChapterish(headings[i + 1].read)
                           && headings[i + 1].read.number == 1 && firstChapter >= 0
                           && firstChapter < at;
        if (holds)
            headings[i].level = HeadingLevel::Part;
        else if (firstChapter < 0)
            headings[i].level = read.level;
        else if (at < firstChapter)
            headings[i].level = HeadingLevel::FrontMatter;
        else if (at > lastChapter)
            headings[i].level = HeadingLevel::BackMatter;
        else
            headings[i].level = HeadingLevel::Chapter;
    }
}

// Where numbers restart in every part, a title names its part ("Book 2, CHAPTER III"), and the
// part its own enclosing part when the parts restart too, so that no two rows read alike. The
// same holds for sections numbered afresh in every chapter.
std::vector<QString> titles(const Page &page, const std::vector<Candidate> &headings)
{
    const std::size_t count = headings.size();
    // The kinds that hold each kind: those its first heading (number 1) stands straight under.
    // Front and back matter holds nothing; an epilogue that holds chapters is a part.
    QHash<QString, QSet<QString>> holders;
    for (std::size_t i = 1; i < count; ++i) {
        const Candidate &above = headings[i - 1];
        const HeadingLine &read = headings[i].read;
        if (read.number == 1 && above.read.word != read.word
            && (above.level == HeadingLevel::Part || above.level == HeadingLevel::Chapter)) {
            holders[read.word].insert(above.read.word);
        }
    }
    for (const Candidate &heading : headings) {
        if (!heading.read.opens.isEmpty())
            holders[heading.read.opens].insert(heading.read.word);
    }
    // The nearest heading above each one of a kind that holds its kind.
    std::vector<qsizetype> enclosing(count, -1);
    QHash<QString, qsizetype> lastOfWord;
    for (std::size_t i = 0; i < count; ++i) {
        const QSet<QString> &kinds = holders[headings[i].read.word];
        for (const QString &kind : kinds) {
            const qsizetype at = lastOfWord.value(kind, -1);
            enclosing[i] = std::max(enclosing[i], at);
        }
        lastOfWord.insert(headings[i].read.word, qsizetype(i));
    }
    // A kind restarts when its number falls back with another part between.
    QSet<QString> restarting;
    QHash<QString, std::size_t> previous;
    for (std::size_t i = 0; i < count; ++i) {
        const HeadingLine &read = headings[i].read;
        if (read.number == 0)
            continue;
        if (const auto before = previous.constFind(read.word); before != previous.constEnd()) {
            const std::size_t b = *before;
            if (read.number <= headings[b].read.number && enclosing[i] >= 0
                && enclosing[i] != enclosing[b]) {
                restarting.insert(read.word);
            }
        }
        previous.insert(read.word, i);
    }
    std::vector<QString> labels(count);
    std::vector<QString> result(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Candidate &heading = headings[i];
        const qsizetype outer = enclosing[i];
        const bool named = restarting.contains(heading.read.word) && outer >= 0;
        const QString prefix = named ? labels[outer] + u", "_s : QString();
        QString own = heading.read.word.startsWith(u'#')
                          ? QString()
                          : writtenWord(page.text(heading.line), heading.read.word);
        if (heading.read.number > 0)
            own = (own + u' ' + QString::number(heading.read.number)).trimmed();
        // A piece known by its title alone is named by it: "AT THE BAY, II".
        const QString title = writtenTitle(page, heading);
        labels[i] = prefix + (own.isEmpty() ? title : own);
        result[i] = shortenedTitle(prefix + title);
    }
    return result;
}

} // namespace HeadingDetection
