#include "headingline.h"

#include "headingwords.h"
#include "numbertables.h"
#include "ordinalwords.h"
#include "straymarks.h"

#include <QStringTokenizer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

using Form = HeadingLine::Form;

// Longer lines are prose, however they begin, unless they are in capitals: a long title in
// capitals on one line, as unwrapping leaves it.
constexpr qsizetype LongestHeading = 120;
constexpr qsizetype LongestHeadingInCapitals = 240;
// A section word and number with the chapter's summary after it, on one line as unwrapping
// leaves it: as long as six lines of print.
constexpr qsizetype LongestSummaryHeading = 480;
// A front or back matter heading is a few words.
constexpr qsizetype LongestNamedHeading = 60;

bool isLetterAt(QStringView text, qsizetype at)
{
    return at < text.size() && text[at].isLetter();
}

// Words as headings write them: "Chapter" or "CHAPTER", never "chapter" or "cHAPTER".
bool headingCase(QStringView words)
{
    for (QStringView word : QStringTokenizer(words, u' ', Qt::SkipEmptyParts)) {
        if (!word.front().isUpper())
            return false;
        bool lower = false;
        bool upper = false;
        for (const QChar c : word.sliced(1)) {
            lower = lower || c.isLower();
            upper = upper || c.isUpper();
        }
        if (lower && upper)
            return false;
    }
    return !words.isEmpty();
}

qsizetype skipSpaces(QStringView text, qsizetype at)
{
    while (at < text.size() && text[at].isSpace())
        ++at;
    return at;
}

bool isDash(QChar c)
{
    return c == u'-' || c == u'\u2014' || c == u'\u2013';
}

// The full stop after a number; some texts set an acute accent in its place ("1´ V ZÁZEMÍ").
bool isStop(QChar c)
{
    return c == u'.' || c == u'\u00B4';
}

// Whether what follows a heading's number on its line is nothing, or its full stop alone.
bool endsHeading(QStringView rest)
{
    rest = rest.trimmed();
    return rest.isEmpty() || (rest.size() == 1 && isStop(rest.front()));
}

// The title part after a number or a word: nothing, or a separator (".", ":", dashes, ")") and
// a title, or spaces and a title. A title never opens in lower case, which would make the line
// a sentence ("Chapter 5 was the last"). Returns false for anything else ("chapter 13, verse").
bool readTitleRest(QStringView rest, bool &titled)
{
    // A note's mark right after the number or word belongs to neither: "XVIII(*)", "IV.[1]".
    for (const QStringView mark : {u"(*)", u"[*]", u"*"}) {
        if (rest.startsWith(mark)) {
            rest = rest.sliced(mark.size());
            break;
        }
    }
    if (rest.size() > 2 && (rest.front() == u'[' || rest.front() == u'(')) {
        const qsizetype close = rest.indexOf(rest.front() == u'[' ? u']' : u')');
        if (close > 1 && close <= 4
            && std::all_of(rest.begin() + 1, rest.begin() + close,
                           [](QChar c) { return c.isDigit(); }))
            rest = rest.sliced(close + 1);
    }
    qsizetype at = 0;
    bool separated = false;
    while (at < rest.size()) {
        const QChar c = rest[at];
        if (isStop(c) || c == u':' || c == u')' || isDash(c)) {
            separated = true;
            ++at;
        } else if (c.isSpace()) {
            ++at;
        } else {
            break;
        }
    }
    if (at == rest.size()) {
        titled = false;
        return true;
    }
    // After dashes or a colon a title may open in lower case ("Book the Second--the Golden
    // Thread"); a sentence never has them there.
    const bool dashed = separated
                        && (rest.first(at).contains(u':') || isDash(rest[at - 1])
                            || rest.first(at).trimmed().endsWith(u'-'));
    if (at == 0 || (rest[at].isLower() && !dashed))
        return false;
    // A title in brackets closes them at the line's end: "Chapter I [The Beginning]".
    const bool bracketed =
        (rest[at] == u'[' && rest.back() == u']') || (rest[at] == u'(' && rest.back() == u')');
    if (!separated && !rest[at].isLetterOrNumber() && rest[at] != u'"' && rest[at] != u'\u201C'
        && rest[at] != u'\'' && rest[at] != u'\u2018' && rest[at] != u'_' && !bracketed) {
        return false;
    }
    titled = true;
    return true;
}

// Digits without a leading zero (an image placeholder "0023m" is no heading), up to three.
NumberRead readDigits(QStringView text)
{
    qsizetype length = 0;
    while (length < text.size() && text[length].isDigit() && length < 4)
        ++length;
    if (length == 0 || length > 3 || text[0] == u'0' || isLetterAt(text, length))
        return {};
    return {text.first(length).toInt(), length};
}

// A Roman numeral's letter in capitals, or 0. Russian and Ukrainian texts often type X, I and C
// with the Cyrillic letters that look the same ("ГЛАВА ХIV").
char16_t romanLetter(QChar upper)
{
    switch (upper.unicode()) {
    case u'I':
    case u'V':
    case u'X':
    case u'L':
    case u'C':
        return upper.unicode();
    case u'\u0406': // І
        return u'I';
    case u'\u0425': // Х
        return u'X';
    case u'\u0421': // С
        return u'C';
    default:
        return 0;
    }
}

// An upper-case Roman numeral ending at a word boundary; lower case too when allowLower.
NumberRead readRoman(QStringView original, QStringView upper, bool allowLower)
{
    qsizetype length = 0;
    while (length < upper.size() && romanLetter(upper[length]) != 0)
        ++length;
    if (length == 0 || isLetterAt(upper, length))
        return {};
    QString letters(length, Qt::Uninitialized);
    for (qsizetype i = 0; i < length; ++i)
        letters[i] = romanLetter(upper[i]);
    const QStringView written = original.first(length);
    const bool allUpper = written == upper.first(length);
    const bool allLower = allowLower && written.toString().toLower() == written;
    if (!allUpper && !allLower)
        return {};
    const int value = romanNumeralValue(letters);
    return value > 0 ? NumberRead{value, length} : NumberRead{};
}

// The number after a section word: digits, a Roman numeral, words, an ordinal, or "the" and
// an ordinal ("Book the Second"). Words must start with a capital.
NumberRead readSectionNumber(QStringView original, QStringView upper)
{
    if (const NumberRead digits = readDigits(upper); digits.length > 0)
        return digits;
    if (const NumberRead roman = readRoman(original, upper, true); roman.length > 0)
        return roman;
    qsizetype at = 0;
    if (upper.startsWith(u"THE ")) {
        at = skipSpaces(upper, 4);
        if (at == upper.size() || !original[at].isUpper())
            return {};
        if (const auto ordinal = readOrdinalWords(upper.sliced(at)))
            return {ordinal->value, at + ordinal->length};
        // "Chapter the Last": a heading in the sequence that carries no number of its own.
        if (upper.sliced(at).startsWith(u"LAST") && !isLetterAt(upper, at + 4))
            return {0, at + 4};
        return {};
    }
    // "CHAPITRE PREMIER", "Capítulo primero", "Глава первая": other languages' ordinals, in any
    // case.
    if (const auto ordinal = readForeignOrdinal(upper))
        return *ordinal;
    if (original.isEmpty())
        return {};
    std::optional<NumberRead> words = readOrdinalWords(upper);
    if (!words)
        words = readNumberWords(upper);
    if (!words)
        return {};
    // English writes the number in lower case only where it ends the heading ("Chapter one."),
    // never before a title as prose would ("Chapter one of the treaty says").
    if (!original.front().isUpper() && !endsHeading(original.sliced(words->length)))
        return {};
    return {words->value, words->length};
}

// One page in a reference: digits, a numeral in small letters, or the book's end.
qsizetype pageTokenEnd(QStringView text, qsizetype at)
{
    if (text.sliced(at).startsWith(u"end"))
        return at + 3;
    // Four digits are a year ("BOOK FIVE: 1806 - 07"), seldom a page.
    constexpr qsizetype MostPageDigits = 3;
    const qsizetype start = at;
    while (at < text.size() && text[at].isDigit())
        ++at;
    if (at - start > MostPageDigits)
        return start;
    if (at == start) {
        while (at < text.size() && QStringView(u"ivxlc").contains(text[at]))
            ++at;
    }
    return at;
}

} // namespace

qsizetype colonPageReference(QStringView line)
{
    const qsizetype colon = line.lastIndexOf(u':');
    if (colon <= 0)
        return -1;
    qsizetype at = skipSpaces(line, colon + 1);
    qsizetype end = pageTokenEnd(line, at);
    if (end == at)
        return -1;
    at = skipSpaces(line, end);
    if (at < line.size() && isDash(line[at])) {
        at = skipSpaces(line, at + 1);
        end = pageTokenEnd(line, at);
        if (end == at)
            return -1;
        at = skipSpaces(line, end);
    }
    return at == line.size() ? colon : -1;
}

namespace {

// A line that ends in a page number ("Heading to Chapter I.      1", "Preface ... ix") after a
// run of spaces or dotted leaders, or a page reference after a colon: an entry of a contents
// list or a list of illustrations.
bool endsInPageNumber(QStringView line)
{
    if (colonPageReference(line) > 0)
        return true;
    qsizetype end = line.size();
    qsizetype at = end;
    while (at > 0 && (line[at - 1].isDigit() || QStringView(u"ivxlcIVXLC").contains(line[at - 1])))
        --at;
    if (at == end || at == 0 || end - at > 6)
        return false;
    if (!line.sliced(at).front().isDigit() && !line[at].isLower())
        return false; // upper-case letters: a numeral heading, not a page
    qsizetype gap = at;
    while (gap > 0 && (line[gap - 1].isSpace() || line[gap - 1] == u'.'))
        --gap;
    const QStringView leader = line.sliced(gap, at - gap);
    const bool spaced = leader.endsWith(u"   ");
    const bool dotted = leader.count(u'.') >= 3;
    return gap > 0 && (spaced || dotted);
}

HeadingLine numbered(QStringView word, HeadingLevel level, int number, bool titled)
{
    return {Form::Numbered, word.toString(), number, level, titled, {}};
}

// The rest of "Primera parte del ingenioso hidalgo": the word "of" as the Romance languages
// write it, then a title that does not end as a sentence.
bool ofTheBook(QStringView rest)
{
    static const QStringView Words[] = {u"de", u"del", u"della", u"dello", u"des", u"du",
                                        u"di", u"do",  u"da",    u"dos",   u"das"};
    const QStringView trimmed = rest.trimmed();
    if (rest.isEmpty() || !rest.front().isSpace() || trimmed.endsWith(u'.'))
        return false;
    const qsizetype space = trimmed.indexOf(u' ');
    return space > 0 && std::any_of(std::begin(Words), std::end(Words), [&](QStringView word) {
               return trimmed.first(space) == word;
           });
}

// "CHAPTER XII. Title", "Book the Second", "Stave One".
std::optional<HeadingLine> readNumbered(QStringView original, QStringView upper)
{
    // Every line that opens with a capital is tried, so the words are compared only where the
    // line's first word is as long as they are.
    qsizetype firstWord = 0;
    while (isLetterAt(upper, firstWord))
        ++firstWord;
    for (const HeadingWord &section : sectionWords()) {
        const qsizetype wordLength = section.word.size();
        if (wordLength != firstWord || !upper.startsWith(section.word)
            || !headingCase(original.first(wordLength))) {
            continue;
        }
        qsizetype at = wordLength;
        if (section.word == u"CHAP" && at < upper.size() && upper[at] == u'.')
            ++at;
        const qsizetype numberAt = skipSpaces(upper, at);
        if (numberAt == at)
            return std::nullopt;
        const NumberRead number =
            readSectionNumber(original.sliced(numberAt), upper.sliced(numberAt));
        if (number.length == 0)
            return std::nullopt;
        bool titled = false;
        if (!readTitleRest(original.sliced(numberAt + number.length), titled))
            return std::nullopt;
        const QStringView word = section.word == u"CHAP" ? u"CHAPTER" : section.word;
        HeadingLine read = numbered(word, section.level, number.value, titled);
        if (titled && section.level == HeadingLevel::Part) {
            // "ACT I. SCENE I.": the first of the sections the part holds opens on its line.
            qsizetype titleAt = numberAt + number.length;
            while (titleAt < upper.size() && (upper[titleAt] == u'.' || upper[titleAt].isSpace()))
                ++titleAt;
            const auto inner = readNumbered(original.sliced(titleAt), upper.sliced(titleAt));
            if (inner && inner->number == 1 && inner->word != read.word)
                read.opens = inner->word;
        }
        return read;
    }
    return std::nullopt;
}

// "FIRST EPILOGUE", "The Second Book", "Erstes Kapitel", "PREMIÈRE PARTIE"; in other languages
// also an ordinal before a word of the book's own: "Erstes Welttheater: Süd-Amerika".
std::optional<HeadingLine> readOrdinalFirst(QStringView original, QStringView upper)
{
    qsizetype at = 0;
    if (upper.startsWith(u"THE "))
        at = skipSpaces(upper, 4);
    if (at >= original.size() || !original[at].isUpper())
        return std::nullopt;
    auto ordinal = readForeignOrdinal(upper.sliced(at));
    const bool foreign = ordinal.has_value();
    if (!foreign) {
        // An English heading's second word opens with a capital ("First Epilogue"), which most
        // lines of prose do not have there: they go no further.
        qsizetype next = at;
        while (next < upper.size() && (upper[next].isLetter() || upper[next] == u'-'))
            ++next;
        next = skipSpaces(upper, next);
        if (next >= original.size() || !original[next].isUpper())
            return std::nullopt;
        ordinal = readOrdinalWords(upper.sliced(at));
    }
    if (!ordinal)
        return std::nullopt;
    const qsizetype wordAt = skipSpaces(upper, at + ordinal->length);
    if (wordAt == at + ordinal->length)
        return std::nullopt;
    if (foreign) {
        qsizetype end = wordAt;
        while (isLetterAt(upper, end))
            ++end;
        const bool known = std::any_of(
            sectionWords().begin(), sectionWords().end(), [&](const HeadingWord &section) {
                return section.word == upper.sliced(wordAt, end - wordAt);
            });
        // A section word misspelt by one letter ("Viertes Kapital") is still that word.
        const QStringView coined = upper.sliced(wordAt, end - wordAt);
        for (const HeadingWord &section : sectionWords()) {
            if (known || section.word.size() < 6 || section.word.size() != coined.size())
                continue;
            qsizetype differences = 0;
            for (qsizetype i = 0; i < coined.size(); ++i)
                differences += coined[i] != section.word[i];
            if (differences == 1) {
                bool titled = false;
                if (!readTitleRest(original.sliced(end), titled))
                    return std::nullopt;
                return numbered(section.word, section.level, ordinal->value, titled);
            }
        }
        bool titled = false;
        if (!known && end > wordAt + 2 && headingCase(original.sliced(wordAt, end - wordAt))
            && readTitleRest(original.sliced(end), titled)) {
            HeadingLine read = numbered(upper.sliced(wordAt, end - wordAt), HeadingLevel::Part,
                                        ordinal->value, titled);
            read.coined = true;
            return read;
        }
    }
    for (const HeadingWord &section : sectionWords()) {
        const qsizetype end = wordAt + section.word.size();
        if (upper[wordAt] != section.word.front() || !upper.sliced(wordAt).startsWith(section.word)
            || isLetterAt(upper, end)) {
            continue;
        }
        if (!headingCase(original.sliced(wordAt, section.word.size()))) {
            // Other languages write the word in lower case after their ordinal, alone
            // ("Première partie", "Eerste hoofdstuk.") or before the book's own title
            // ("Primera parte del ingenioso hidalgo", "Seconda parte della storia").
            if (foreign && endsHeading(original.sliced(end)))
                return numbered(section.word, section.level, ordinal->value, false);
            if (foreign && ofTheBook(original.sliced(end)))
                return numbered(section.word, section.level, ordinal->value, true);
            continue;
        }
        bool titled = false;
        if (!readTitleRest(original.sliced(end), titled))
            return std::nullopt;
        return numbered(section.word, section.level, ordinal->value, titled);
    }
    return std::nullopt;
}

// "PREFACE", "TRANSLATOR'S PREFACE", "The Preface", "Preface to the Second Edition".
std::optional<HeadingLine> readNamed(QStringView original, QStringView upper)
{
    if (original.size() > LongestNamedHeading)
        return std::nullopt;
    qsizetype at = 0;
    if (upper.startsWith(u"THE ")) {
        at = skipSpaces(upper, 4);
    } else {
        // A possessive first word: "AUTHOR'S", "Translator’s".
        qsizetype end = 0;
        while (end < upper.size() && upper[end].isLetter())
            ++end;
        if (end > 0 && end + 2 < upper.size() && (upper[end] == u'\'' || upper[end] == u'\u2019')
            && upper[end + 1] == u'S' && upper[end + 2] == u' ') {
            at = skipSpaces(upper, end + 2);
        }
    }
    for (const HeadingWord &matter : matterWords()) {
        const QStringView rest = upper.sliced(at);
        if (rest.isEmpty() || rest.front() != matter.word.front() || !rest.startsWith(matter.word)
            || !headingCase(original.sliced(at, matter.word.size())))
            continue;
        qsizetype end = at + matter.word.size();
        if (matter.word.endsWith(u"PERSON")) { // PERSONAE, PERSONÆ
            while (isLetterAt(upper, end))
                ++end;
        }
        if (isLetterAt(upper, end))
            continue;
        const QStringView after = original.sliced(end);
        bool titled = false;
        const bool to = after.startsWith(u" to ") || after.startsWith(u" TO ");
        if (!to && !readTitleRest(after, titled))
            continue;
        return HeadingLine{Form::Named, matter.word.toString(), 0, matter.level, titled || to, {}};
    }
    return std::nullopt;
}

// "7", "XII.", "I. THE PERIOD", "1.--Title".
std::optional<HeadingLine> readNumberFirst(QStringView original, QStringView upper)
{
    NumberRead number = readDigits(upper);
    bool roman = false;
    if (number.length == 0) {
        number = readRoman(original, upper, false);
        roman = true;
    }
    if (number.length == 0)
        return std::nullopt;
    const QString family = roman ? u"#R"_s : u"#"_s;
    const QStringView rest = original.sliced(number.length);
    if (rest.isEmpty() || (rest.size() == 1 && isStop(rest.front())))
        return HeadingLine{Form::Bare, family, number.value, HeadingLevel::Chapter, false, {}};
    if (!isStop(rest.front()))
        return std::nullopt;
    bool titled = false;
    if (!readTitleRest(rest, titled) || !titled)
        return std::nullopt;
    return HeadingLine{Form::NumberedTitle,   family + u'.', number.value,
                       HeadingLevel::Chapter, true,          {}};
}

// A heading set between ornaments: "— I —", "- 12 -", "[ IV ]". Empty for anything else.
QStringView undecorated(QStringView line)
{
    const QChar first = line.front();
    const QChar last = line.back();
    const bool dashes = isDash(first) && isDash(last);
    if (line.size() < 3 || !(dashes || (first == u'[' && last == u']')))
        return {};
    qsizetype from = 1;
    qsizetype to = line.size() - 1;
    while (from < to && (line[from].isSpace() || (dashes && isDash(line[from]))))
        ++from;
    while (to > from && (line[to - 1].isSpace() || (dashes && isDash(line[to - 1]))))
        --to;
    return line.sliced(from, to - from);
}

// Whether a summary goes on into a second sentence, as a paragraph of prose that happens to
// open with a section word does ("BOOK I. (FOLIO), CHAPTER V. (RAZOR-BACK).—Of this whale
// little is known. I have seen him..."). A stop after a short word ("Mr. Pickwick", "St.
// Peter") or a numeral ("CHAPTER IV. The") ends no sentence.
bool secondSentence(QStringView summary)
{
    constexpr qsizetype LongestAbbreviation = 3;
    qsizetype wordLength = 0;
    bool numeral = true;
    for (qsizetype i = 0; i + 2 < summary.size(); ++i) {
        const QChar c = summary[i];
        if (c.isLetter()) {
            numeral = numeral && QStringView(u"IVXLCivxlc").contains(c);
            ++wordLength;
            continue;
        }
        if (QStringView(u".!?").contains(c) && summary[i + 1].isSpace() && summary[i + 2].isUpper()
            && wordLength > LongestAbbreviation && !numeral) {
            return true;
        }
        wordLength = 0;
        numeral = true;
    }
    return false;
}

// "Inferno: Canto I": a name in capitals and a colon before a section word and its number.
std::optional<HeadingLine> readNamePrefixed(QStringView original, QStringView upper)
{
    constexpr qsizetype LongestName = 30;
    const qsizetype colon = original.first(std::min(original.size(), LongestName)).indexOf(u':');
    if (colon <= 0 || !headingCase(original.first(colon)))
        return std::nullopt;
    for (const QChar c : original.first(colon)) {
        if (!c.isLetter() && c != u' ')
            return std::nullopt;
    }
    const qsizetype at = skipSpaces(upper, colon + 1);
    if (at == colon + 1)
        return std::nullopt;
    return readNumbered(original.sliced(at), upper.sliced(at));
}

} // namespace

HeadingLine readHeadingLine(QStringView line)
{
    const QStringView original = withoutStrayMarks(line);
    if (original.isEmpty() || original.size() > LongestSummaryHeading)
        return {};
    if (original.size() > LongestHeadingInCapitals
        || (original.size() > LongestHeading
            && std::any_of(original.begin(), original.end(),
                           [](QChar c) { return c.isLower(); }))) {
        // Only a section word, its number and a summary run on so long ("Capítulo VI. Del
        // donoso y grande escrutinio que..."); their first words say so. A line that names the
        // word again is a list of contents run together.
        constexpr qsizetype Opening = 40;
        const QStringView opening = original.first(Opening);
        if (!opening.front().isUpper())
            return {};
        const auto read = readNumbered(opening, foldedForHeadings(opening));
        if (!read || !read->titled
            || foldedForHeadings(original).indexOf(read->word, read->word.size()) >= 0
            || secondSentence(original.sliced(read->word.size()))) {
            return {};
        }
        return *read;
    }
    const QChar first = original.front();
    if (!first.isUpper() && !first.isDigit()) {
        const QStringView inner = undecorated(original);
        if (inner.isEmpty() || (isDash(inner.front()) || inner.front() == u'['))
            return {};
        const HeadingLine read = readHeadingLine(inner);
        return read.form == Form::Bare || read.form == Form::Numbered ? read : HeadingLine{};
    }
    if (endsInPageNumber(original))
        return {Form::ListEntry, {}, 0, HeadingLevel::Chapter, false, {}};
    const QString upper = foldedForHeadings(original);
    if (auto read = readNumberFirst(original, upper))
        return *read;
    if (auto read = readNumbered(original, upper))
        return *read;
    if (auto read = readOrdinalFirst(original, upper))
        return *read;
    if (auto read = readNamed(original, upper))
        return *read;
    if (auto read = readNamePrefixed(original, upper))
        return *read;
    return {};
}
