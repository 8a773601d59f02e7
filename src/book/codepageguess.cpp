#include "codepageguess.h"

#include <QHash>

#include <unicode/normalizer2.h>
#include <unicode/ucsdet.h>
#include <unicode/ulocdata.h>
#include <unicode/uniset.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

namespace CodePage {
namespace {

// When two code pages do equally well, the one a reader of the language is likelier to have:
// Western first, then by how many people read each.
constexpr std::array<Id, 10> Preference = {
    Id::Windows1252, Id::Windows1250, Id::Windows1251, Id::Windows1253, Id::Windows1254,
    Id::Windows1257, Id::Windows1255, Id::Windows1256, Id::Windows1258, Id::Windows874,
};

// ---- From the text ----

qsizetype heldLetters(Id codePage, const QHash<char32_t, qsizetype> &letters, qsizetype ascii)
{
    qsizetype held = ascii;
    for (auto it = letters.cbegin(); it != letters.cend(); ++it) {
        if (holdsLetter(codePage, it.key()))
            held += it.value();
    }
    return held;
}

// ---- From the bytes ----

// The languages whose letters each code page was made for, by their ICU locale.
struct Languages
{
    Id codePage;
    std::initializer_list<const char *> locales;
};

const std::array<Languages, 10> &languagesOfCodePages()
{
    static const std::array<Languages, 10> languages = {{
        {Id::Windows1252,
         {"fr", "de", "es", "it", "pt", "nl", "sv", "da", "nb", "fi", "is", "ca", "gl", "eu",
          "ga"}},
        {Id::Windows1250, {"pl", "cs", "sk", "hu", "sl", "hr", "ro", "sq", "bs"}},
        {Id::Windows1251, {"ru", "uk", "be", "bg", "sr", "mk"}},
        {Id::Windows1253, {"el"}},
        {Id::Windows1254, {"tr", "az"}},
        {Id::Windows1257, {"lt", "lv", "et"}},
        {Id::Windows1255, {"he", "yi"}},
        {Id::Windows1256, {"ar", "fa", "ur"}},
        {Id::Windows1258, {"vi"}},
        {Id::Windows874, {"th"}},
    }};
    return languages;
}

// Which bytes, and which pairs of a byte and a combining mark after it, read in one code page
// as letters of one language.
struct LanguageReading
{
    std::array<bool, 256> letterBytes{};
    std::array<bool, 256> latinBytes{};              // letters of the Latin script
    std::vector<std::pair<quint16, bool>> markPairs; // (first byte << 8 | mark byte), reads so
    icu::UnicodeSet letters;
};

struct CodePageReading
{
    Id codePage;
    std::vector<LanguageReading> languages;
    std::vector<unsigned char> markBytes; // the bytes that are combining marks
};

icu::UnicodeSet exemplarLetters(const char *locale)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<ULocaleData, decltype(&ulocdata_close)> data(ulocdata_open(locale, &status),
                                                                 &ulocdata_close);
    if (U_FAILURE(status))
        return {};
    USet *set = ulocdata_getExemplarSet(data.get(), nullptr, USET_CASE_INSENSITIVE,
                                        ULOCDATA_ES_STANDARD, &status);
    if (U_FAILURE(status) || !set)
        return {};
    icu::UnicodeSet letters(*icu::UnicodeSet::fromUSet(set));
    uset_close(set);
    return letters;
}

const std::vector<CodePageReading> &readings()
{
    static const std::vector<CodePageReading> all = [] {
        std::vector<CodePageReading> built;
        for (const Languages &languages : languagesOfCodePages()) {
            CodePageReading reading{languages.codePage, {}, {}};
            QByteArray bytes(256, Qt::Uninitialized);
            for (int byte = 0; byte < 256; ++byte)
                bytes[byte] = char(byte);
            const QString characters = decode(languages.codePage, bytes);
            for (int byte = 0x80; byte < 256; ++byte) {
                if (characters[byte].isMark())
                    reading.markBytes.push_back(static_cast<unsigned char>(byte));
            }
            for (const char *locale : languages.locales) {
                LanguageReading language;
                language.letters = exemplarLetters(locale);
                for (int byte = 0x80; byte < 256; ++byte) {
                    const QChar c = characters[byte];
                    // A code page's own marks (Hebrew points, Arabic vowel signs, Vietnamese
                    // tones) belong to the letters they sit on, which the other scripts' code
                    // pages would read as letters of their own.
                    language.letterBytes[byte] =
                        c.isMark() || (c.isLetter() && language.letters.contains(c.unicode()));
                    language.latinBytes[byte] = c.script() == QChar::Script_Latin;
                }
                reading.languages.push_back(std::move(language));
            }
            built.push_back(std::move(reading));
        }
        return built;
    }();
    return all;
}

// The letter a byte and the combining mark after it make, or 0 when they make none.
char32_t composed(Id codePage, unsigned char first, unsigned char mark)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2 *nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status))
        return 0;
    const char pair[2] = {char(first), char(mark)};
    const QString decoded = decode(codePage, QByteArrayView(pair, 2));
    const UChar32 letter = nfc->composePair(decoded[0].unicode(), decoded[1].unicode());
    return letter < 0 ? 0 : char32_t(letter);
}

bool isAsciiLetter(unsigned char byte)
{
    return (byte | 0x20) >= 'a' && (byte | 0x20) <= 'z';
}

struct ByteCounts
{
    std::array<qsizetype, 256> bytes{};
    // How often each byte stands right before or after an ASCII letter, in one word with it.
    std::array<qsizetype, 256> besideAscii{};
    // How often each byte stands right before each byte that is a mark in some code page.
    QHash<quint16, qsizetype> beforeMarks;
};

ByteCounts countBytes(std::initializer_list<QByteArrayView> parts)
{
    std::array<bool, 256> isMark{};
    for (const CodePageReading &reading : readings()) {
        for (const unsigned char byte : reading.markBytes)
            isMark[byte] = true;
    }
    ByteCounts counts;
    for (const QByteArrayView part : parts) {
        unsigned char previous = ' ';
        bool previousBeside = false; // whether the byte before, above 0x80, was counted so
        for (const char c : part) {
            const auto byte = static_cast<unsigned char>(c);
            ++counts.bytes[byte];
            if (byte >= 0x80) {
                previousBeside = isAsciiLetter(previous);
                counts.besideAscii[byte] += previousBeside;
            } else if (previous >= 0x80 && !previousBeside && isAsciiLetter(byte)) {
                ++counts.besideAscii[previous];
            }
            if (isMark[byte])
                ++counts.beforeMarks[quint16(previous << 8 | byte)];
            previous = byte;
        }
    }
    return counts;
}

// How many of the bytes above 0x80 read as letters of the one language of the code page that
// reads the most of them. A letter of another script than Latin in one word with ASCII letters
// is no word of that language but a Western letter read in the wrong code page, and counts
// against it.
qsizetype lettersOfOneLanguage(const CodePageReading &reading, const ByteCounts &counts)
{
    qsizetype best = 0;
    for (const LanguageReading &language : reading.languages) {
        qsizetype letters = 0;
        for (int byte = 0x80; byte < 256; ++byte) {
            if (!language.letterBytes[byte])
                continue;
            letters += language.latinBytes[byte]
                           ? counts.bytes[byte]
                           : counts.bytes[byte] - 2 * counts.besideAscii[byte];
        }
        // A base letter and a tone after it (Vietnamese) read as the one letter they make.
        for (auto it = counts.beforeMarks.cbegin(); it != counts.beforeMarks.cend(); ++it) {
            const auto first = static_cast<unsigned char>(it.key() >> 8);
            const auto mark = static_cast<unsigned char>(it.key() & 0xFF);
            if (std::find(reading.markBytes.begin(), reading.markBytes.end(), mark)
                == reading.markBytes.end()) {
                continue;
            }
            const char32_t letter = composed(reading.codePage, first, mark);
            if (letter != 0 && language.letters.contains(UChar32(letter)))
                letters += it.value();
        }
        best = std::max(best, letters);
    }
    return best;
}

// The code pages ICU's charset detector names, each with its confidence: it knows the letter
// sequences of the languages of most code pages, and tells apart scripts whose letters all read
// as some language's somewhere (Greek bytes read as Cyrillic letters in Windows-1251). It reads
// the lines that hold letters beyond ASCII, as many as make a fair sample.
QHash<Id, int> detectorConfidence(std::initializer_list<QByteArrayView> parts)
{
    constexpr qsizetype Sample = 256 * 1024;
    QByteArray sample;
    for (const QByteArrayView part : parts) {
        for (qsizetype start = 0; start < part.size() && sample.size() < Sample;) {
            qsizetype end = part.indexOf('\n', start);
            end = end < 0 ? part.size() : end + 1;
            const QByteArrayView line = part.sliced(start, end - start);
            if (std::any_of(line.begin(), line.end(), [](char c) { return c & 0x80; }))
                sample.append(line);
            start = end;
        }
    }
    static const std::pair<const char *, Id> Names[] = {
        {"windows-1250", Id::Windows1250}, {"windows-1251", Id::Windows1251},
        {"windows-1252", Id::Windows1252}, {"windows-1253", Id::Windows1253},
        {"windows-1254", Id::Windows1254}, {"windows-1255", Id::Windows1255},
        {"windows-1256", Id::Windows1256}, {"ISO-8859-1", Id::Windows1252},
        {"ISO-8859-2", Id::Windows1250},   {"ISO-8859-7", Id::Windows1253},
        {"ISO-8859-8", Id::Windows1255},   {"ISO-8859-8-I", Id::Windows1255},
        {"ISO-8859-9", Id::Windows1254},
    };
    QHash<Id, int> confidence;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UCharsetDetector, decltype(&ucsdet_close)> detector(ucsdet_open(&status),
                                                                        &ucsdet_close);
    ucsdet_setText(detector.get(), sample.constData(), int32_t(sample.size()), &status);
    int32_t count = 0;
    const UCharsetMatch **matches = ucsdet_detectAll(detector.get(), &count, &status);
    if (U_FAILURE(status))
        return confidence;
    for (int32_t i = 0; i < count; ++i) {
        UErrorCode matchStatus = U_ZERO_ERROR;
        const char *name = ucsdet_getName(matches[i], &matchStatus);
        const int32_t sure = ucsdet_getConfidence(matches[i], &matchStatus);
        if (U_FAILURE(matchStatus) || !name)
            continue;
        for (const auto &[known, id] : Names) {
            if (std::strcmp(name, known) == 0)
                confidence[id] = std::max(confidence.value(id), int(sure));
        }
    }
    return confidence;
}

} // namespace

Id guessFromText(std::initializer_list<QStringView> parts)
{
    QHash<char32_t, qsizetype> letters; // beyond ASCII, which every code page holds
    qsizetype ascii = 0;
    for (const QStringView part : parts) {
        for (qsizetype i = 0; i < part.size(); ++i) {
            const char16_t unit = part[i].unicode();
            if (unit < 0x80) {
                ascii += QChar::isLetter(unit);
                continue;
            }
            char32_t character = unit;
            if (QChar::isHighSurrogate(unit) && i + 1 < part.size()
                && part[i + 1].isLowSurrogate()) {
                character = QChar::surrogateToUcs4(unit, part[++i].unicode());
            }
            if (QChar::isLetter(character))
                ++letters[character];
        }
    }
    if (letters.isEmpty())
        return Western;

    qsizetype total = ascii;
    for (const qsizetype count : letters)
        total += count;
    const qsizetype western = heldLetters(Western, letters, ascii);
    Id best = Western;
    qsizetype bestHeld = western;
    for (const Id codePage : Preference) {
        const qsizetype held = heldLetters(codePage, letters, ascii);
        if (held > bestHeld) {
            best = codePage;
            bestHeld = held;
        }
    }
    return bestHeld - western > total / 1000 ? best : Western;
}

Id guessFromText(const Book &book)
{
    QString titles;
    for (const ChapterEntry &chapter : book.chapters)
        titles += chapter.title;
    return guessFromText({book.title, book.author, book.synopsis, titles, book.text});
}

Id guessFromBytes(std::initializer_list<QByteArrayView> parts)
{
    const ByteCounts counts = countBytes(parts);
    if (std::all_of(counts.bytes.begin() + 0x80, counts.bytes.end(),
                    [](qsizetype count) { return count == 0; })) {
        return Western;
    }
    QHash<Id, qsizetype> letters;
    qsizetype most = 0;
    for (const CodePageReading &reading : readings()) {
        letters[reading.codePage] = lettersOfOneLanguage(reading, counts);
        most = std::max(most, letters[reading.codePage]);
    }
    // Western unless another reads clearly more: a tenth more, and a few letters besides.
    const qsizetype western = letters[Western];
    if (most <= western + western / 10 + 2)
        return Western;

    // Where several read nearly as many, the letter sequences of their languages decide.
    std::vector<Id> close;
    for (const Id codePage : Preference) {
        if (letters[codePage] * 10 >= most * 9)
            close.push_back(codePage);
    }
    if (close.size() == 1)
        return close.front();
    const QHash<Id, int> confidence = detectorConfidence(parts);
    Id best = close.front();
    for (const Id codePage : close) {
        if (confidence.value(codePage) > confidence.value(best))
            best = codePage;
    }
    return best;
}

} // namespace CodePage
