#include "chapterscan.h"

#include "firstoccurrences.h"

#include "book/uppercase.h"

using namespace Qt::StringLiterals;

namespace {

const QString FrontMatterHeadings[] = {u"Contents"_s, u"Preface"_s, u"Introduction"_s,
                                       u"Prologue"_s};
const QString SectionWords[] = {u"Volume"_s, u"Book"_s, u"Part"_s,   u"Section"_s,
                                u"Letter"_s, u"Day"_s,  u"Chapter"_s};
const QString BackMatterHeadings[] = {u"Epilogue"_s, u"Index"_s};

const QString LineBreak = u"\r\n"_s;

bool isLineStyle(HeadingStyle style)
{
    return style == HeadingStyle::LineDigits || style == HeadingStyle::LineRoman;
}

QString searchPattern(HeadingStyle style, const QString &word, int n, const NumberTables &tables)
{
    switch (style) {
    case HeadingStyle::Digits:
        return word + u' ' + QString::number(n);
    case HeadingStyle::TwoDigits:
        return word + u' ' + QString::number(n).rightJustified(2, u'0');
    case HeadingStyle::RomanNumerals:
        return word + u' ' + tables.RomanNumerals[n];
    case HeadingStyle::Words:
        return word + u' ' + tables.NumberWords[n];
    case HeadingStyle::HyphenatedWords:
        return word + u' ' + tables.HyphenatedNumberWords[n];
    case HeadingStyle::LineDigits:
        return LineBreak + QString::number(n);
    case HeadingStyle::LineRoman:
        return LineBreak + tables.RomanNumerals[n];
    }
    Q_UNREACHABLE();
}

// One search of the sequence, and what the progress bar shows while it runs.
struct Search
{
    QString pattern;
    int steps;
    bool afterLineBreak; // the heading starts after the pattern's CR LF
    int number;          // for numbered headings, the number; otherwise 0
};

QList<Search> searchSequence(const ScanOptions &options, const NumberTables &tables)
{
    QList<Search> searches;
    int steps = 0;
    for (const QString &heading : FrontMatterHeadings)
        searches.append({heading, ++steps, false, 0});
    const bool lineStyle = isLineStyle(options.style);
    for (int n = 1; n <= NumberTables::Highest; ++n) {
        ++steps;
        for (const QString &word : SectionWords)
            searches.append({searchPattern(options.style, word, n, tables), steps, lineStyle, n});
    }
    for (const QString &heading : BackMatterHeadings)
        searches.append({heading, ++steps, false, 0});
    return searches;
}

ChapterEntry entryAt(const QString &text, qsizetype start, qsizetype length, bool wholeLine)
{
    if (wholeLine) {
        // A heading on the last line, with no line break after it, takes the rest of the text.
        qsizetype end = text.indexOf(LineBreak, start);
        if (end < 0)
            end = text.size();
        length = end - start;
    }
    return {text.mid(start, length), QString::number(start)};
}

} // namespace

QList<ChapterEntry> ScanChapters(const QString &text, const ScanOptions &options,
                                 const NumberTables &tables, const ScanProgress &progress)
{
    const QList<Search> searches = searchSequence(options, tables);
    QList<QString> patterns;
    patterns.reserve(searches.size());
    for (const Search &search : searches)
        patterns.append(upperCasedPerUnit(search.pattern));
    const QList<qsizetype> found = FirstOccurrences(patterns).in(upperCasedPerUnit(text));

    QList<ChapterEntry> entries;
    int numberFoundOnLine = 0; // a line style takes at most one heading per number
    for (qsizetype i = 0; i < searches.size(); ++i) {
        const Search &search = searches[i];
        if (search.afterLineBreak && search.number == numberFoundOnLine)
            continue;
        if (progress)
            progress(search.steps, u"Searching for "_s + search.pattern + u"..."_s);
        const qsizetype at = found[i];
        if (at < 0)
            continue;
        if (search.afterLineBreak) {
            entries.append(entryAt(text, at + LineBreak.size(),
                                   search.pattern.size() - LineBreak.size(),
                                   options.grabWholeLine));
            numberFoundOnLine = search.number;
        } else {
            entries.append(entryAt(text, at, search.pattern.size(), options.grabWholeLine));
        }
    }
    if (progress)
        progress(ScanSteps, QString());
    return entries;
}
