#include "headingwords.h"

#include <QLocale>
#include <QSet>
#include <QStringTokenizer>

#include <algorithm>
#include <array>

namespace {

constexpr HeadingWord SectionWords[] = {
    // Words that divide a book into chapters.
    {u"VOLUME", HeadingLevel::Part},
    {u"BOOK", HeadingLevel::Part},
    {u"PART", HeadingLevel::Part},
    {u"ACT", HeadingLevel::Part},
    {u"PHASE", HeadingLevel::Part},
    {u"LIVRE", HeadingLevel::Part},     // French
    {u"TOME", HeadingLevel::Part},      // French
    {u"PARTIE", HeadingLevel::Part},    // French
    {u"ACTE", HeadingLevel::Part},      // French
    {u"BAND", HeadingLevel::Part},      // German
    {u"BUCH", HeadingLevel::Part},      // German
    {u"TEIL", HeadingLevel::Part},      // German
    {u"ABTEILUNG", HeadingLevel::Part}, // German
    {u"AKT", HeadingLevel::Part},       // German
    {u"AUFZUG", HeadingLevel::Part},    // German
    {u"LIBRO", HeadingLevel::Part},     // Spanish, Italian
    {u"PARTE", HeadingLevel::Part},     // Spanish, Italian, Portuguese
    {u"TOMO", HeadingLevel::Part},      // Spanish
    {u"ACTO", HeadingLevel::Part},      // Spanish, Portuguese
    {u"ATTO", HeadingLevel::Part},      // Italian
    {u"LIVRO", HeadingLevel::Part},     // Portuguese
    {u"ATO", HeadingLevel::Part},       // Portuguese
    {u"BOEK", HeadingLevel::Part},      // Dutch
    {u"DEEL", HeadingLevel::Part},      // Dutch
    {u"BEDRIJF", HeadingLevel::Part},   // Dutch, an act
    {u"ЧАСТЬ", HeadingLevel::Part},     // Russian
    {u"КНИГА", HeadingLevel::Part},     // Russian, Ukrainian
    {u"ТОМ", HeadingLevel::Part},       // Russian, Ukrainian
    {u"ЧАСТИНА", HeadingLevel::Part},   // Ukrainian
    {u"CZESC", HeadingLevel::Part},     // Polish "Część"
    {u"KSIEGA", HeadingLevel::Part},    // Polish
    {u"TOM", HeadingLevel::Part},       // Polish
    {u"CAST", HeadingLevel::Part},      // Czech "Část"
    {u"DIL", HeadingLevel::Part},       // Czech
    {u"KNIHA", HeadingLevel::Part},     // Czech
    {u"ΜΕΡΟΣ", HeadingLevel::Part},     // Greek
    {u"ΒΙΒΛΙΟΝ", HeadingLevel::Part},   // Greek, older spelling
    {u"ΒΙΒΛΙΟ", HeadingLevel::Part},    // Greek
    {u"KISIM", HeadingLevel::Part},     // Turkish
    {u"KITAP", HeadingLevel::Part},     // Turkish
    {u"CILT", HeadingLevel::Part},      // Turkish
    // Words of chapters and the sections of a chapter.
    {u"CHAPTER", HeadingLevel::Chapter},
    {u"CHAP", HeadingLevel::Chapter},
    {u"SECTION", HeadingLevel::Chapter},
    {u"LETTER", HeadingLevel::Chapter},
    {u"DAY", HeadingLevel::Chapter},
    {u"STAVE", HeadingLevel::Chapter},
    {u"CANTO", HeadingLevel::Chapter},
    {u"SCENE", HeadingLevel::Chapter}, // English, French
    {u"ADVENTURE", HeadingLevel::Chapter},
    {u"STORY", HeadingLevel::Chapter},
    {u"TALE", HeadingLevel::Chapter},
    {u"LECTURE", HeadingLevel::Chapter},
    {u"EPISODE", HeadingLevel::Chapter},
    {u"ESSAY", HeadingLevel::Chapter},
    {u"SERMON", HeadingLevel::Chapter},
    {u"DISCOURSE", HeadingLevel::Chapter},
    {u"LESSON", HeadingLevel::Chapter},
    {u"FABLE", HeadingLevel::Chapter},
    {u"CHAPITRE", HeadingLevel::Chapter},  // French
    {u"KAPITEL", HeadingLevel::Chapter},   // German
    {u"SZENE", HeadingLevel::Chapter},     // German
    {u"AUFTRITT", HeadingLevel::Chapter},  // German
    {u"GESANG", HeadingLevel::Chapter},    // German
    {u"CAPITULO", HeadingLevel::Chapter},  // Spanish, Portuguese
    {u"ESCENA", HeadingLevel::Chapter},    // Spanish
    {u"CAPITOLO", HeadingLevel::Chapter},  // Italian
    {u"SCENA", HeadingLevel::Chapter},     // Italian
    {u"CENA", HeadingLevel::Chapter},      // Portuguese
    {u"HOOFDSTUK", HeadingLevel::Chapter}, // Dutch
    {u"TOONEEL", HeadingLevel::Chapter},   // Dutch, a scene
    {u"TONEEL", HeadingLevel::Chapter},    // Dutch, a scene in the newer spelling
    {u"ГЛАВА", HeadingLevel::Chapter},     // Russian
    {u"РОЗДІЛ", HeadingLevel::Chapter},    // Ukrainian
    {u"ROZDZIAL", HeadingLevel::Chapter},  // Polish
    {u"KAPITOLA", HeadingLevel::Chapter},  // Czech
    {u"ΚΕΦΑΛΑΙΟΝ", HeadingLevel::Chapter}, // Greek, older spelling
    {u"ΚΕΦΑΛΑΙΟ", HeadingLevel::Chapter},  // Greek
    {u"BOLUM", HeadingLevel::Chapter},     // Turkish "Bölüm"
    {u"PROLOGUE", HeadingLevel::FrontMatter},
    {u"EPILOGUE", HeadingLevel::BackMatter},
    {u"APPENDIX", HeadingLevel::BackMatter},
};

constexpr HeadingWord MatterWords[] = {
    {u"PREFACE", HeadingLevel::FrontMatter}, // English, French
    {u"FOREWORD", HeadingLevel::FrontMatter},
    {u"INTRODUCTION", HeadingLevel::FrontMatter}, // English, French
    {u"PROLOGUE", HeadingLevel::FrontMatter},     // English, French
    {u"PROEM", HeadingLevel::FrontMatter},
    {u"PRELUDE", HeadingLevel::FrontMatter},
    {u"ETYMOLOGY", HeadingLevel::FrontMatter},
    {u"EXTRACTS", HeadingLevel::FrontMatter},
    {u"DRAMATIS PERSON", HeadingLevel::FrontMatter}, // PERSONAE, PERSONÆ
    {u"PERSONS REPRESENTED", HeadingLevel::FrontMatter},
    {u"PERSONS OF THE PLAY", HeadingLevel::FrontMatter},
    {u"PERSONS IN THE PLAY", HeadingLevel::FrontMatter},
    {u"PERSONS OF THE DRAMA", HeadingLevel::FrontMatter},
    {u"THE PERSONS OF THE PLAY", HeadingLevel::FrontMatter},
    {u"THE PERSONS IN THE PLAY", HeadingLevel::FrontMatter},
    {u"THE PERSONS OF THE DRAMA", HeadingLevel::FrontMatter},
    {u"CHARACTERS", HeadingLevel::FrontMatter},
    {u"THE CHARACTERS", HeadingLevel::FrontMatter},
    {u"LES PERSONNAGES", HeadingLevel::FrontMatter}, // French
    {u"DIE PERSONEN", HeadingLevel::FrontMatter},    // German
    {u"AVANT-PROPOS", HeadingLevel::FrontMatter},    // French
    {u"AVERTISSEMENT", HeadingLevel::FrontMatter},   // French
    {u"PERSONNAGES", HeadingLevel::FrontMatter},     // French
    {u"EINLEITUNG", HeadingLevel::FrontMatter},      // German
    {u"VORREDE", HeadingLevel::FrontMatter},         // German
    {u"VORWORT", HeadingLevel::FrontMatter},         // German
    {u"PERSONEN", HeadingLevel::FrontMatter},        // German
    {u"PROLOGO", HeadingLevel::FrontMatter},         // Spanish, Italian, Portuguese
    {u"INTRODUCCION", HeadingLevel::FrontMatter},    // Spanish
    {u"PERSONAJES", HeadingLevel::FrontMatter},      // Spanish
    {u"PREFACIO", HeadingLevel::FrontMatter},        // Spanish, Portuguese
    {u"PREFAZIONE", HeadingLevel::FrontMatter},      // Italian
    {u"INTRODUZIONE", HeadingLevel::FrontMatter},    // Italian
    {u"PROEMIO", HeadingLevel::FrontMatter},         // Italian
    {u"PERSONAGGI", HeadingLevel::FrontMatter},      // Italian
    {u"INTRODUCAO", HeadingLevel::FrontMatter},      // Portuguese
    {u"PERSONAGENS", HeadingLevel::FrontMatter},     // Portuguese
    {u"VOORWOORD", HeadingLevel::FrontMatter},       // Dutch
    {u"INLEIDING", HeadingLevel::FrontMatter},       // Dutch
    {u"VOORREDE", HeadingLevel::FrontMatter},        // Dutch
    {u"VOORBERICHT", HeadingLevel::FrontMatter},     // Dutch
    {u"AVVERTENZA", HeadingLevel::FrontMatter},      // Italian
    {u"ADVERTENCIA", HeadingLevel::FrontMatter},     // Spanish, Portuguese
    {u"ПРЕДИСЛОВИЕ", HeadingLevel::FrontMatter},     // Russian
    {u"ВВЕДЕНИЕ", HeadingLevel::FrontMatter},        // Russian
    {u"ПРОЛОГ", HeadingLevel::FrontMatter},          // Russian, Ukrainian
    {u"ПЕРЕДМОВА", HeadingLevel::FrontMatter},       // Ukrainian
    {u"ВСТУП", HeadingLevel::FrontMatter},           // Ukrainian
    {u"PROLOG", HeadingLevel::FrontMatter},          // Polish, Czech, Turkish
    {u"PRZEDMOWA", HeadingLevel::FrontMatter},       // Polish
    {u"WSTEP", HeadingLevel::FrontMatter},           // Polish "Wstęp"
    {u"PREDMLUVA", HeadingLevel::FrontMatter},       // Czech "Předmluva"
    {u"UVOD", HeadingLevel::FrontMatter},            // Czech "Úvod"
    {u"ΠΡΟΛΟΓΟΣ", HeadingLevel::FrontMatter},        // Greek
    {u"ΕΙΣΑΓΩΓΗ", HeadingLevel::FrontMatter},        // Greek
    {u"ONSOZ", HeadingLevel::FrontMatter},           // Turkish "Önsöz"
    {u"GIRIS", HeadingLevel::FrontMatter},           // Turkish "Giriş"
    {u"EPILOGUE", HeadingLevel::BackMatter},         // English, French
    {u"CONCLUSION", HeadingLevel::BackMatter},       // English, French
    {u"AFTERWORD", HeadingLevel::BackMatter},
    {u"APPENDIX", HeadingLevel::BackMatter},
    {u"POSTSCRIPT", HeadingLevel::BackMatter},
    {u"INDEX", HeadingLevel::BackMatter},
    {u"FOOTNOTES", HeadingLevel::BackMatter},
    {u"NACHWORT", HeadingLevel::BackMatter},    // German
    {u"ANHANG", HeadingLevel::BackMatter},      // German
    {u"EPILOGO", HeadingLevel::BackMatter},     // Spanish, Italian, Portuguese
    {u"NAWOORD", HeadingLevel::BackMatter},     // Dutch
    {u"NASCHRIFT", HeadingLevel::BackMatter},   // Dutch
    {u"APPENDICE", HeadingLevel::BackMatter},   // Italian
    {u"APENDICE", HeadingLevel::BackMatter},    // Spanish, Portuguese
    {u"CONCLUSIONE", HeadingLevel::BackMatter}, // Italian
    {u"ЭПИЛОГ", HeadingLevel::BackMatter},      // Russian
    {u"ПОСЛЕСЛОВИЕ", HeadingLevel::BackMatter}, // Russian
    {u"ЗАКЛЮЧЕНИЕ", HeadingLevel::BackMatter},  // Russian
    {u"ЕПІЛОГ", HeadingLevel::BackMatter},      // Ukrainian
    {u"ПІСЛЯМОВА", HeadingLevel::BackMatter},   // Ukrainian
    {u"EPILOG", HeadingLevel::BackMatter},      // Polish, Czech, Turkish
    {u"POSLOWIE", HeadingLevel::BackMatter},    // Polish "Posłowie"
    {u"DOSLOV", HeadingLevel::BackMatter},      // Czech
    {u"ΕΠΙΛΟΓΟΣ", HeadingLevel::BackMatter},    // Greek
    {u"SONSOZ", HeadingLevel::BackMatter},      // Turkish "Sonsöz"
};

} // namespace

std::span<const HeadingWord> sectionWords()
{
    return SectionWords;
}

std::span<const HeadingWord> matterWords()
{
    return MatterWords;
}

namespace {

// A capital without its accents, in every script: "É" is "E", "Ё" "Е", "Ά" "Α", "İ" "I".
QChar unaccented(QChar upper)
{
    while (upper.unicode() >= 0xC0 && upper.decompositionTag() == QChar::Canonical) {
        // A Hangul syllable decomposes into letters, not into a letter and its marks: it stays.
        const QString parts = upper.decomposition();
        if (!parts.front().isLetter()
            || !std::all_of(parts.begin() + 1, parts.end(), [](QChar c) { return c.isMark(); })) {
            break;
        }
        upper = parts.front().toUpper();
    }
    // Letters struck through have no decomposition that would drop the stroke.
    switch (upper.unicode()) {
    case 0x0110: // Đ
        return u'D';
    case 0x0141: // Ł
        return u'L';
    case 0x00D8: // Ø
        return u'O';
    default:
        return upper;
    }
}

} // namespace

QString foldedForHeadings(QStringView line)
{
    QString folded(line.size(), Qt::Uninitialized);
    QChar *out = folded.data();
    for (const QChar c : line) {
        if (c.unicode() < 0x80) {
            *out++ = c.unicode() >= u'a' && c.unicode() <= u'z' ? QChar(c.unicode() - 32) : c;
            continue;
        }
        // QChar's upper case is the same everywhere: "ı" and "i" both become "I", as a
        // Turkish "KISIM" and "Kısım" need.
        *out++ = unaccented(c.toUpper());
    }
    return folded;
}

namespace {

// The names of the months and weekdays, full and shortened, folded, in the languages whose
// heading words the detector knows.
const QSet<QString> &calendarNames()
{
    static const QSet<QString> names = [] {
        const QLocale::Language languages[] = {
            QLocale::English, QLocale::French,    QLocale::German,    QLocale::Spanish,
            QLocale::Italian, QLocale::Portuguese, QLocale::Dutch,     QLocale::Russian,
            QLocale::Ukrainian, QLocale::Polish,  QLocale::Czech,     QLocale::Greek,
            QLocale::Turkish};
        QSet<QString> all;
        auto add = [&](const QString &name) {
            QString folded = foldedForHeadings(name);
            folded.remove(u'.');
            if (folded.size() > 1)
                all.insert(folded);
        };
        for (const QLocale::Language language : languages) {
            const QLocale locale(language);
            for (int month = 1; month <= 12; ++month) {
                for (const QLocale::FormatType format : {QLocale::LongFormat, QLocale::ShortFormat}) {
                    add(locale.monthName(month, format));
                    add(locale.standaloneMonthName(month, format));
                }
            }
            for (int day = 1; day <= 7; ++day) {
                add(locale.dayName(day, QLocale::LongFormat));
                add(locale.standaloneDayName(day, QLocale::LongFormat));
            }
        }
        return all;
    }();
    return names;
}

// The little words a date is written with around its day, month and year: "Am 4. Mai 1771",
// "den 10. Mai", "le 4 mai", "4 de mayo de 1890", "the 4th of May".
constexpr std::array<QStringView, 12> DateWords = {u"AM", u"DEN", u"DER", u"LE",  u"IL", u"EL",
                                                   u"DE", u"DEL", u"DI",  u"THE", u"OF", u"ON"};

} // namespace

bool readsAsDate(QStringView line)
{
    bool named = false; // a month or a weekday
    bool day = false;
    for (QStringView word : QStringTokenizer(line, u' ', Qt::SkipEmptyParts)) {
        while (!word.isEmpty() && (word.back() == u'.' || word.back() == u','))
            word.chop(1);
        if (word.isEmpty())
            continue;
        if (word.front().isDigit()) {
            // A day (3, 3rd, 3e, 3.) or a year (1858): nothing else in digits.
            qsizetype digits = 0;
            while (digits < word.size() && word[digits].isDigit())
                ++digits;
            const int number = word.first(digits).toInt();
            if (digits <= 2 && number >= 1 && number <= 31 && word.size() - digits <= 2) {
                day = true;
            } else if (digits != 4 || digits != word.size()) {
                return false;
            }
        } else if (calendarNames().contains(foldedForHeadings(word))) {
            named = true;
        } else if (std::find(DateWords.begin(), DateWords.end(), foldedForHeadings(word))
                   == DateWords.end()) {
            return false;
        }
    }
    return named && day;
}
