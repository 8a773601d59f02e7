#include "headingwords.h"

#include <QHash>
#include <QStringList>

#include <array>
#include <vector>

using namespace Qt::StringLiterals;

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
    {u"AVANT-PROPOS", HeadingLevel::FrontMatter},  // French
    {u"AVERTISSEMENT", HeadingLevel::FrontMatter}, // French
    {u"PERSONNAGES", HeadingLevel::FrontMatter},   // French
    {u"EINLEITUNG", HeadingLevel::FrontMatter},    // German
    {u"VORREDE", HeadingLevel::FrontMatter},       // German
    {u"VORWORT", HeadingLevel::FrontMatter},       // German
    {u"PERSONEN", HeadingLevel::FrontMatter},      // German
    {u"PROLOGO", HeadingLevel::FrontMatter},       // Spanish, Italian, Portuguese
    {u"INTRODUCCION", HeadingLevel::FrontMatter},  // Spanish
    {u"PERSONAJES", HeadingLevel::FrontMatter},    // Spanish
    {u"PREFACIO", HeadingLevel::FrontMatter},      // Spanish, Portuguese
    {u"PREFAZIONE", HeadingLevel::FrontMatter},    // Italian
    {u"INTRODUZIONE", HeadingLevel::FrontMatter},  // Italian
    {u"PROEMIO", HeadingLevel::FrontMatter},       // Italian
    {u"PERSONAGGI", HeadingLevel::FrontMatter},    // Italian
    {u"INTRODUCAO", HeadingLevel::FrontMatter},    // Portuguese
    {u"PERSONAGENS", HeadingLevel::FrontMatter},   // Portuguese
    {u"VOORWOORD", HeadingLevel::FrontMatter},     // Dutch
    {u"INLEIDING", HeadingLevel::FrontMatter},     // Dutch
    {u"EPILOGUE", HeadingLevel::BackMatter},       // English, French
    {u"CONCLUSION", HeadingLevel::BackMatter},     // English, French
    {u"AFTERWORD", HeadingLevel::BackMatter},
    {u"APPENDIX", HeadingLevel::BackMatter},
    {u"POSTSCRIPT", HeadingLevel::BackMatter},
    {u"INDEX", HeadingLevel::BackMatter},
    {u"FOOTNOTES", HeadingLevel::BackMatter},
    {u"NACHWORT", HeadingLevel::BackMatter}, // German
    {u"ANHANG", HeadingLevel::BackMatter},   // German
    {u"EPILOGO", HeadingLevel::BackMatter},  // Spanish, Italian, Portuguese
    {u"NAWOORD", HeadingLevel::BackMatter},  // Dutch
};

// Every written form of the ordinals, folded, with its value.
QHash<QString, int> ordinalForms()
{
    QHash<QString, int> ordinals;
    auto add = [&](const QString &word, int value) { ordinals.insert(word, value); };
    // Adjectives that take the gender's ending: "-O" masculine, "-A" feminine.
    auto addGendered = [&](const QString &masculine, int value) {
        add(masculine, value);
        if (masculine.endsWith(u'O'))
            add(masculine.chopped(1) + u'A', value);
    };

    // German: a stem and the ending the noun after it asks for (Erste, Erster, Erstes, Ersten).
    const QStringList germanUnits = {
        u"ERST"_s,      u"ZWEIT"_s,     u"DRITT"_s,     u"VIERT"_s,     u"FUNFT"_s,
        u"SECHST"_s,    u"SIEBENT"_s,   u"ACHT"_s,      u"NEUNT"_s,     u"ZEHNT"_s,
        u"ELFT"_s,      u"ZWOLFT"_s,    u"DREIZEHNT"_s, u"VIERZEHNT"_s, u"FUNFZEHNT"_s,
        u"SECHZEHNT"_s, u"SIEBZEHNT"_s, u"ACHTZEHNT"_s, u"NEUNZEHNT"_s, u"ZWANZIGST"_s};
    const QStringList germanCardinals = {u"EIN"_s,   u"ZWEI"_s,   u"DREI"_s, u"VIER"_s, u"FUNF"_s,
                                         u"SECHS"_s, u"SIEBEN"_s, u"ACHT"_s, u"NEUN"_s};
    QList<std::pair<QString, int>> germanStems;
    for (int i = 0; i < germanUnits.size(); ++i)
        germanStems.append({germanUnits[i], i + 1});
    germanStems.append({u"SIEBT"_s, 7});
    germanStems.append({u"FUENFT"_s, 5});
    germanStems.append({u"ZWOELFT"_s, 12});
    germanStems.append({u"DREISSIGST"_s, 30});
    germanStems.append({u"DREI\u00DFIGST"_s, 30});
    for (int unit = 0; unit < germanCardinals.size(); ++unit) {
        germanStems.append({germanCardinals[unit] + u"UNDZWANZIGST"_s, 21 + unit});
        germanStems.append({germanCardinals[unit] + u"UNDDREISSIGST"_s, 31 + unit});
    }
    for (const auto &[stem, value] : germanStems) {
        for (const QString &ending : {u"E"_s, u"ER"_s, u"ES"_s, u"EN"_s})
            add(stem + ending, value);
    }

    // French.
    const QStringList french = {
        u"PREMIER"_s,  u"DEUXIEME"_s,     u"TROISIEME"_s,    u"QUATRIEME"_s,    u"CINQUIEME"_s,
        u"SIXIEME"_s,  u"SEPTIEME"_s,     u"HUITIEME"_s,     u"NEUVIEME"_s,     u"DIXIEME"_s,
        u"ONZIEME"_s,  u"DOUZIEME"_s,     u"TREIZIEME"_s,    u"QUATORZIEME"_s,  u"QUINZIEME"_s,
        u"SEIZIEME"_s, u"DIX-SEPTIEME"_s, u"DIX-HUITIEME"_s, u"DIX-NEUVIEME"_s, u"VINGTIEME"_s};
    for (int i = 0; i < french.size(); ++i)
        add(french[i], i + 1);
    add(u"PREMIERE"_s, 1);
    add(u"SECOND"_s, 2);
    add(u"SECONDE"_s, 2);
    add(u"VINGT ET UNIEME"_s, 21);
    add(u"VINGT-ET-UNIEME"_s, 21);
    for (int unit = 2; unit <= 9; ++unit)
        add(u"VINGT-"_s + french[unit - 1], 20 + unit);
    add(u"TRENTIEME"_s, 30);

    // Spanish, Italian and Portuguese.
    const QStringList spanish = {u"PRIMERO"_s, u"SEGUNDO"_s, u"TERCERO"_s, u"CUARTO"_s,
                                 u"QUINTO"_s,  u"SEXTO"_s,   u"SEPTIMO"_s, u"OCTAVO"_s,
                                 u"NOVENO"_s,  u"DECIMO"_s};
    for (int i = 0; i < spanish.size(); ++i) {
        addGendered(spanish[i], i + 1);
        if (i < 9) {
            addGendered(u"DECIMO"_s + spanish[i], 11 + i);
            addGendered(u"DECIMO "_s + spanish[i], 11 + i);
            addGendered(u"VIGESIMO "_s + spanish[i], 21 + i);
        }
    }
    add(u"PRIMER"_s, 1);
    add(u"TERCER"_s, 3);
    addGendered(u"SETIMO"_s, 7);
    addGendered(u"DECIMOCTAVO"_s, 18);
    addGendered(u"UNDECIMO"_s, 11);
    addGendered(u"DUODECIMO"_s, 12);
    addGendered(u"VIGESIMO"_s, 20);
    const QStringList italian = {u"PRIMO"_s,          u"SECONDO"_s,         u"TERZO"_s,
                                 u"QUARTO"_s,         u"QUINTO"_s,          u"SESTO"_s,
                                 u"SETTIMO"_s,        u"OTTAVO"_s,          u"NONO"_s,
                                 u"DECIMO"_s,         u"UNDICESIMO"_s,      u"DODICESIMO"_s,
                                 u"TREDICESIMO"_s,    u"QUATTORDICESIMO"_s, u"QUINDICESIMO"_s,
                                 u"SEDICESIMO"_s,     u"DICIASSETTESIMO"_s, u"DICIOTTESIMO"_s,
                                 u"DICIANNOVESIMO"_s, u"VENTESIMO"_s};
    for (int i = 0; i < italian.size(); ++i)
        addGendered(italian[i], i + 1);
    const QStringList portuguese = {u"PRIMEIRO"_s, u"SEGUNDO"_s, u"TERCEIRO"_s, u"QUARTO"_s,
                                    u"QUINTO"_s,   u"SEXTO"_s,   u"SETIMO"_s,   u"OITAVO"_s,
                                    u"NONO"_s,     u"DECIMO"_s};
    for (int i = 0; i < portuguese.size(); ++i) {
        addGendered(portuguese[i], i + 1);
        if (i < 9) {
            addGendered(u"DECIMO "_s + portuguese[i], 11 + i);
            addGendered(u"VIGESIMO "_s + portuguese[i], 21 + i);
        }
    }

    // Dutch.
    const QStringList dutch = {
        u"EERSTE"_s,    u"TWEEDE"_s,      u"DERDE"_s,      u"VIERDE"_s,      u"VIJFDE"_s,
        u"ZESDE"_s,     u"ZEVENDE"_s,     u"ACHTSTE"_s,    u"NEGENDE"_s,     u"TIENDE"_s,
        u"ELFDE"_s,     u"TWAALFDE"_s,    u"DERTIENDE"_s,  u"VEERTIENDE"_s,  u"VIJFTIENDE"_s,
        u"ZESTIENDE"_s, u"ZEVENTIENDE"_s, u"ACHTTIENDE"_s, u"NEGENTIENDE"_s, u"TWINTIGSTE"_s};
    for (int i = 0; i < dutch.size(); ++i)
        add(dutch[i], i + 1);
    return ordinals;
}

bool isWordLetter(QChar c)
{
    return c.isLetter();
}

} // namespace

std::span<const HeadingWord> sectionWords()
{
    return SectionWords;
}

std::span<const HeadingWord> matterWords()
{
    return MatterWords;
}

QString foldedForHeadings(QStringView line)
{
    QString folded(line.size(), Qt::Uninitialized);
    QChar *out = folded.data();
    for (const QChar c : line) {
        if (c.unicode() < 0x80) {
            *out++ = c.unicode() >= u'a' && c.unicode() <= u'z' ? QChar(c.unicode() - 32) : c;
            continue;
        }
        QChar upper = c.toUpper();
        if (upper.unicode() >= 0xC0 && upper.decompositionTag() == QChar::Canonical) {
            const QChar base = upper.decomposition().front();
            if (base.unicode() < 0x80)
                upper = base;
        }
        *out++ = upper;
    }
    return folded;
}

namespace {

// The ordinals by the hash of their written form, so that a line's first words are looked up
// without copying them: every line that opens with a capital is tried.
class Ordinals
{
public:
    Ordinals()
    {
        const QHash<QString, int> forms = ordinalForms();
        for (auto it = forms.cbegin(); it != forms.cend(); ++it) {
            m_forms.push_back({it.key(), it.value()});
            m_longest = std::max(m_longest, it.key().size());
        }
        for (std::size_t i = 0; i < m_forms.size(); ++i)
            m_byHash.insert(qHash(QStringView(m_forms[i].first)), i);
    }

    std::optional<int> value(QStringView written) const
    {
        if (written.size() > m_longest)
            return std::nullopt;
        const size_t hash = qHash(written);
        for (auto it = m_byHash.constFind(hash); it != m_byHash.cend() && it.key() == hash; ++it) {
            if (m_forms[*it].first == written)
                return m_forms[*it].second;
        }
        return std::nullopt;
    }

private:
    std::vector<std::pair<QString, int>> m_forms;
    QMultiHash<size_t, std::size_t> m_byHash;
    qsizetype m_longest = 0;
};

} // namespace

std::optional<NumberRead> readForeignOrdinal(QStringView folded)
{
    static const Ordinals ordinals;
    // The longest of up to three words joined by a space or a hyphen.
    std::array<qsizetype, 3> ends{};
    qsizetype words = 0;
    qsizetype at = 0;
    while (words < 3) {
        const qsizetype start = at;
        while (at < folded.size() && isWordLetter(folded[at]))
            ++at;
        if (at == start)
            break;
        ends[words++] = at;
        if (at + 1 >= folded.size() || (folded[at] != u' ' && folded[at] != u'-')
            || !isWordLetter(folded[at + 1])) {
            break;
        }
        ++at;
    }
    for (qsizetype i = words - 1; i >= 0; --i) {
        if (const std::optional<int> value = ordinals.value(folded.first(ends[i])))
            return NumberRead{*value, ends[i]};
    }
    return std::nullopt;
}
