#include "ordinalwords.h"

#include "headingwords.h"

#include <QHash>
#include <QStringList>

#include <array>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The ordinals of a language whose forms follow from a few rules: its units and tens, how a
// ten and a unit make "twenty-first", and the endings of its genders.
struct OrdinalTable
{
    // The 1st to the 19th, as the language lists them (masculine, or the one form); empty where
    // only a compound says it (Turkish "ON BİRİNCİ").
    std::array<QStringView, 19> units;
    // The 10th to the 90th; the 10th only where a compound opens with it (Greek "ΔΕΚΑΤΟ
    // ΤΡΙΤΟ"), as units holds it otherwise.
    std::array<QStringView, 9> tens;
    // The cardinals 10 to 90 where one opens a compound in every gender ("ДВАДЦАТЬ ПЕРВАЯ", "ON
    // BİRİNCİ"); empty where the ordinal ten opens it and takes the unit's gender
    // ("DWUDZIESTA PIERWSZA").
    std::array<QStringView, 9> compoundTens;
    // A listed word in each of the language's genders, always in the same order, so that the
    // two words of a compound agree.
    QStringList (*genders)(QStringView listed);
};

// Masculine "ПЕРВЫЙ", "ВТОРОЙ", "ТРЕТИЙ"; feminine "ПЕРВАЯ", "ТРЕТЬЯ"; neuter "ПЕРВОЕ", "ТРЕТЬЕ".
QStringList russianGenders(QStringView masculine)
{
    const QString stem = masculine.chopped(2).toString();
    if (masculine.endsWith(u"ИЙ"))
        return {masculine.toString(), stem + u"ЬЯ"_s, stem + u"ЬЕ"_s};
    return {masculine.toString(), stem + u"АЯ"_s, stem + u"ОЕ"_s};
}

// "ПЕРШИЙ", "ПЕРША", "ПЕРШЕ"; "ТРЕТІЙ", "ТРЕТЯ", "ТРЕТЄ".
QStringList ukrainianGenders(QStringView masculine)
{
    const QString stem = masculine.chopped(2).toString();
    if (masculine.endsWith(u"ІЙ"))
        return {masculine.toString(), stem + u'Я', stem + u'Є'};
    return {masculine.toString(), stem + u'А', stem + u'Е'};
}

// "PIERWSZY", "PIERWSZA", "PIERWSZE"; "DRUGI", "DRUGA", "DRUGIE"; "TRZECI", "TRZECIA", "TRZECIE".
QStringList polishGenders(QStringView masculine)
{
    const QString word = masculine.toString();
    if (word.endsWith(u'Y'))
        return {word, word.chopped(1) + u'A', word.chopped(1) + u'E'};
    const bool hard = word.endsWith(u"GI") || word.endsWith(u"KI");
    return {word, (hard ? word.chopped(1) : word) + u'A', word + u'E'};
}

// "DRUHÝ", "DRUHÁ", "DRUHÉ"; "PRVNÍ" and "TŘETÍ" in all three.
QStringList czechGenders(QStringView masculine)
{
    const QString word = masculine.toString();
    if (word.endsWith(u'Ý'))
        return {word, word.chopped(1) + u'Á', word.chopped(1) + u'É'};
    return {word, word, word};
}

// Listed in the neuter of "ΚΕΦΑΛΑΙΟ", "ΜΕΡΟΣ" and "ΒΙΒΛΙΟ": "ΠΡΩΤΟ"; also "ΠΡΩΤΟΣ", "ΠΡΩΤΗ" and
// the older "ΠΡΩΤΟΝ".
QStringList greekGenders(QStringView neuter)
{
    const QString word = neuter.toString();
    return {word + u'Σ', word.chopped(1) + u'Η', word, word + u'Ν'};
}

QStringList oneForm(QStringView word)
{
    return {word.toString()};
}

constexpr OrdinalTable Russian = {
    {u"ПЕРВЫЙ", u"ВТОРОЙ", u"ТРЕТИЙ", u"ЧЕТВЁРТЫЙ", u"ПЯТЫЙ", u"ШЕСТОЙ", u"СЕДЬМОЙ", u"ВОСЬМОЙ",
     u"ДЕВЯТЫЙ", u"ДЕСЯТЫЙ", u"ОДИННАДЦАТЫЙ", u"ДВЕНАДЦАТЫЙ", u"ТРИНАДЦАТЫЙ", u"ЧЕТЫРНАДЦАТЫЙ",
     u"ПЯТНАДЦАТЫЙ", u"ШЕСТНАДЦАТЫЙ", u"СЕМНАДЦАТЫЙ", u"ВОСЕМНАДЦАТЫЙ", u"ДЕВЯТНАДЦАТЫЙ"},
    {u"", u"ДВАДЦАТЫЙ", u"ТРИДЦАТЫЙ", u"СОРОКОВОЙ", u"ПЯТИДЕСЯТЫЙ", u"ШЕСТИДЕСЯТЫЙ", u"СЕМИДЕСЯТЫЙ",
     u"ВОСЬМИДЕСЯТЫЙ", u"ДЕВЯНОСТЫЙ"},
    {u"", u"ДВАДЦАТЬ", u"ТРИДЦАТЬ", u"СОРОК", u"ПЯТЬДЕСЯТ", u"ШЕСТЬДЕСЯТ", u"СЕМЬДЕСЯТ",
     u"ВОСЕМЬДЕСЯТ", u"ДЕВЯНОСТО"},
    russianGenders,
};

// Ukrainian writes the apostrophe of "П'ЯТИЙ" three ways; addForm takes each.
constexpr OrdinalTable Ukrainian = {
    {u"ПЕРШИЙ", u"ДРУГИЙ", u"ТРЕТІЙ", u"ЧЕТВЕРТИЙ", u"П'ЯТИЙ", u"ШОСТИЙ", u"СЬОМИЙ", u"ВОСЬМИЙ",
     u"ДЕВ'ЯТИЙ", u"ДЕСЯТИЙ", u"ОДИНАДЦЯТИЙ", u"ДВАНАДЦЯТИЙ", u"ТРИНАДЦЯТИЙ", u"ЧОТИРНАДЦЯТИЙ",
     u"П'ЯТНАДЦЯТИЙ", u"ШІСТНАДЦЯТИЙ", u"СІМНАДЦЯТИЙ", u"ВІСІМНАДЦЯТИЙ", u"ДЕВ'ЯТНАДЦЯТИЙ"},
    {u"", u"ДВАДЦЯТИЙ", u"ТРИДЦЯТИЙ", u"СОРОКОВИЙ", u"П'ЯТДЕСЯТИЙ", u"ШІСТДЕСЯТИЙ", u"СІМДЕСЯТИЙ",
     u"ВІСІМДЕСЯТИЙ", u"ДЕВ'ЯНОСТИЙ"},
    {u"", u"ДВАДЦЯТЬ", u"ТРИДЦЯТЬ", u"СОРОК", u"П'ЯТДЕСЯТ", u"ШІСТДЕСЯТ", u"СІМДЕСЯТ",
     u"ВІСІМДЕСЯТ", u"ДЕВ'ЯНОСТО"},
    ukrainianGenders,
};

constexpr OrdinalTable Polish = {
    {u"PIERWSZY", u"DRUGI", u"TRZECI", u"CZWARTY", u"PIĄTY", u"SZÓSTY", u"SIÓDMY", u"ÓSMY",
     u"DZIEWIĄTY", u"DZIESIĄTY", u"JEDENASTY", u"DWUNASTY", u"TRZYNASTY", u"CZTERNASTY",
     u"PIĘTNASTY", u"SZESNASTY", u"SIEDEMNASTY", u"OSIEMNASTY", u"DZIEWIĘTNASTY"},
    {u"", u"DWUDZIESTY", u"TRZYDZIESTY", u"CZTERDZIESTY", u"PIĘĆDZIESIĄTY", u"SZEŚĆDZIESIĄTY",
     u"SIEDEMDZIESIĄTY", u"OSIEMDZIESIĄTY", u"DZIEWIĘĆDZIESIĄTY"},
    {},
    polishGenders,
};

constexpr OrdinalTable Czech = {
    {u"PRVNÍ", u"DRUHÝ", u"TŘETÍ", u"ČTVRTÝ", u"PÁTÝ", u"ŠESTÝ", u"SEDMÝ", u"OSMÝ", u"DEVÁTÝ",
     u"DESÁTÝ", u"JEDENÁCTÝ", u"DVANÁCTÝ", u"TŘINÁCTÝ", u"ČTRNÁCTÝ", u"PATNÁCTÝ", u"ŠESTNÁCTÝ",
     u"SEDMNÁCTÝ", u"OSMNÁCTÝ", u"DEVATENÁCTÝ"},
    {u"", u"DVACÁTÝ", u"TŘICÁTÝ", u"ČTYŘICÁTÝ", u"PADESÁTÝ", u"ŠEDESÁTÝ", u"SEDMDESÁTÝ",
     u"OSMDESÁTÝ", u"DEVADESÁTÝ"},
    {},
    czechGenders,
};

// Greek says 13th to 19th only as "ΔΕΚΑΤΟ ΤΡΙΤΟ", and 11th and 12th both ways.
constexpr OrdinalTable Greek = {
    {u"ΠΡΩΤΟ", u"ΔΕΥΤΕΡΟ", u"ΤΡΙΤΟ", u"ΤΕΤΑΡΤΟ", u"ΠΕΜΠΤΟ", u"ΕΚΤΟ", u"ΕΒΔΟΜΟ", u"ΟΓΔΟΟ", u"ΕΝΑΤΟ",
     u"ΔΕΚΑΤΟ", u"ΕΝΔΕΚΑΤΟ", u"ΔΩΔΕΚΑΤΟ"},
    {u"ΔΕΚΑΤΟ", u"ΕΙΚΟΣΤΟ", u"ΤΡΙΑΚΟΣΤΟ", u"ΤΕΣΣΑΡΑΚΟΣΤΟ", u"ΠΕΝΤΗΚΟΣΤΟ", u"ΕΞΗΚΟΣΤΟ",
     u"ΕΒΔΟΜΗΚΟΣΤΟ", u"ΟΓΔΟΗΚΟΣΤΟ", u"ΕΝΕΝΗΚΟΣΤΟ"},
    {},
    greekGenders,
};

// Turkish says 11th to 19th only as "ON BİRİNCİ".
constexpr OrdinalTable Turkish = {
    {u"BİRİNCİ", u"İKİNCİ", u"ÜÇÜNCÜ", u"DÖRDÜNCÜ", u"BEŞİNCİ", u"ALTINCI", u"YEDİNCİ",
     u"SEKİZİNCİ", u"DOKUZUNCU", u"ONUNCU"},
    {u"", u"YİRMİNCİ", u"OTUZUNCU", u"KIRKINCI", u"ELLİNCİ", u"ALTMIŞINCI", u"YETMİŞİNCİ",
     u"SEKSENİNCİ", u"DOKSANINCI"},
    {u"ON", u"YİRMİ", u"OTUZ", u"KIRK", u"ELLİ", u"ALTMIŞ", u"YETMİŞ", u"SEKSEN", u"DOKSAN"},
    oneForm,
};

// An apostrophe inside a word ("П'ЯТИЙ") as typewriters, typesetters and Unicode write it.
constexpr QStringView Apostrophes = u"'\u2019\u02BC";

bool isApostrophe(QChar c)
{
    return Apostrophes.contains(c);
}

// Tables are written in each language's own spelling and folded here, so that a word is found
// however foldedForHeadings writes the line that holds it.
void addForm(QHash<QString, int> &ordinals, const QString &word, int value)
{
    const QString folded = foldedForHeadings(word);
    ordinals.insert(folded, value);
    if (folded.contains(u'\'')) {
        for (const QChar apostrophe : Apostrophes.sliced(1))
            ordinals.insert(QString(folded).replace(u'\'', apostrophe), value);
    }
}

void addTableForms(QHash<QString, int> &ordinals, const OrdinalTable &table)
{
    for (int n = 1; n < 20; ++n) {
        if (!table.units[n - 1].isEmpty()) {
            for (const QString &form : table.genders(table.units[n - 1]))
                addForm(ordinals, form, n);
        }
    }
    for (int ten = 1; ten < 10; ++ten) {
        const QStringView tens = table.tens[ten - 1];
        const QStringView cardinal = table.compoundTens[ten - 1];
        if (ten > 1) {
            for (const QString &form : table.genders(tens))
                addForm(ordinals, form, 10 * ten);
        }
        for (int unit = 1; unit < 10; ++unit) {
            const QStringList units = table.genders(table.units[unit - 1]);
            if (!cardinal.isEmpty()) {
                for (const QString &form : units)
                    addForm(ordinals, cardinal.toString() + u' ' + form, 10 * ten + unit);
            } else if (!tens.isEmpty()) {
                const QStringList tenForms = table.genders(tens);
                for (qsizetype gender = 0; gender < units.size(); ++gender)
                    addForm(ordinals, tenForms[gender] + u' ' + units[gender], 10 * ten + unit);
            }
        }
    }
}

// Every written form of the ordinals, folded, with its value.
QHash<QString, int> ordinalForms()
{
    QHash<QString, int> ordinals;
    auto add = [&](const QString &word, int value) { addForm(ordinals, word, value); };
    // Adjectives that take the gender's ending: "-O" masculine, "-A" feminine.
    auto addGendered = [&](const QString &masculine, int value) {
        add(masculine, value);
        if (masculine.endsWith(u'O'))
            add(masculine.chopped(1) + u'A', value);
    };

    // German: a stem and the ending the noun after it asks for (Erste, Erster, Erstes, Ersten).
    const QStringList germanUnits = {u"ERST"_s,      u"ZWEIT"_s,     u"DRITT"_s,     u"VIERT"_s,
                                     u"FUNFT"_s,     u"SECHST"_s,    u"SIEBENT"_s,   u"ACHT"_s,
                                     u"NEUNT"_s,     u"ZEHNT"_s,     u"ELFT"_s,      u"ZWOLFT"_s,
                                     u"DREIZEHNT"_s, u"VIERZEHNT"_s, u"FUNFZEHNT"_s, u"SECHZEHNT"_s,
                                     u"SIEBZEHNT"_s, u"ACHTZEHNT"_s, u"NEUNZEHNT"_s};
    const QStringList germanCardinals = {u"EIN"_s,   u"ZWEI"_s,   u"DREI"_s, u"VIER"_s, u"FUNF"_s,
                                         u"SECHS"_s, u"SIEBEN"_s, u"ACHT"_s, u"NEUN"_s};
    QList<std::pair<QString, int>> germanStems;
    for (int i = 0; i < germanUnits.size(); ++i)
        germanStems.append({germanUnits[i], i + 1});
    germanStems.append({u"SIEBT"_s, 7});
    germanStems.append({u"FUENFT"_s, 5});
    germanStems.append({u"ZWOELFT"_s, 12});
    // Older spellings, as nineteenth-century translations print them.
    germanStems.append({u"SECHSZEHNT"_s, 16});
    germanStems.append({u"SIEBENZEHNT"_s, 17});
    const QStringList germanTens = {u"ZWANZIGST"_s, u"DREISSIGST"_s, u"VIERZIGST"_s,
                                    u"FUNFZIGST"_s, u"SECHZIGST"_s,  u"SIEBZIGST"_s,
                                    u"ACHTZIGST"_s, u"NEUNZIGST"_s};
    for (int ten = 0; ten < germanTens.size(); ++ten) {
        const int value = 20 + 10 * ten;
        germanStems.append({germanTens[ten], value});
        for (int unit = 0; unit < germanCardinals.size(); ++unit)
            germanStems.append(
                {germanCardinals[unit] + u"UND"_s + germanTens[ten], value + 1 + unit});
    }
    for (const auto &[stem, value] : germanStems) {
        for (const QString &ending : {u"E"_s, u"ER"_s, u"ES"_s, u"EN"_s}) {
            add(stem + ending, value);
            if (stem.contains(u"SS"))
                add(QString(stem).replace(u"SS"_s, u"\u00DF"_s) + ending, value);
        }
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
    // "VINGT ET UNIEME", "TRENTE-DEUXIEME", "SOIXANTE ET ONZIEME" (sixty and eleventh),
    // "QUATRE-VINGT-DIXIEME" (four twenties and tenth).
    const QStringList frenchTens = {u"VINGT"_s, u"TRENTE"_s, u"QUARANTE"_s, u"CINQUANTE"_s,
                                    u"SOIXANTE"_s};
    for (int value = 21; value < 100; ++value) {
        const bool onSixty = value >= 60 && value < 80;
        const QString cardinal = value >= 80 ? u"QUATRE-VINGT"_s
                                 : onSixty   ? u"SOIXANTE"_s
                                             : frenchTens[value / 10 - 2];
        const int rest = value - (value >= 80 ? 80 : onSixty ? 60 : value / 10 * 10);
        if (rest == 0) {
            add((value == 80 ? cardinal : cardinal.chopped(1)) + u"IEME"_s, value);
            continue;
        }
        // "And first" is "et unième", not "et premier".
        const QString ordinal = rest == 1 ? u"UNIEME"_s : french[rest - 1];
        if ((rest == 1 || rest == 11) && value < 80) {
            add(cardinal + u" ET "_s + ordinal, value);
            add(cardinal + u"-ET-"_s + ordinal, value);
        } else {
            add(cardinal + u'-' + ordinal, value);
        }
    }
    // Spanish, Italian and Portuguese: their own first to tenth, and the learned tens all three
    // share before them, joined or not ("DECIMOCTAVO", "VIGESIMO PRIMERO", "TRIGESIMO-TERZO").
    const QStringList spanish = {u"PRIMERO"_s, u"SEGUNDO"_s, u"TERCERO"_s, u"CUARTO"_s,
                                 u"QUINTO"_s,  u"SEXTO"_s,   u"SEPTIMO"_s, u"OCTAVO"_s,
                                 u"NOVENO"_s,  u"DECIMO"_s};
    const QStringList portuguese = {u"PRIMEIRO"_s, u"SEGUNDO"_s, u"TERCEIRO"_s, u"QUARTO"_s,
                                    u"QUINTO"_s,   u"SEXTO"_s,   u"SETIMO"_s,   u"OITAVO"_s,
                                    u"NONO"_s,     u"DECIMO"_s};
    const QStringList italian = {u"PRIMO"_s,          u"SECONDO"_s,         u"TERZO"_s,
                                 u"QUARTO"_s,         u"QUINTO"_s,          u"SESTO"_s,
                                 u"SETTIMO"_s,        u"OTTAVO"_s,          u"NONO"_s,
                                 u"DECIMO"_s,         u"UNDICESIMO"_s,      u"DODICESIMO"_s,
                                 u"TREDICESIMO"_s,    u"QUATTORDICESIMO"_s, u"QUINDICESIMO"_s,
                                 u"SEDICESIMO"_s,     u"DICIASSETTESIMO"_s, u"DICIOTTESIMO"_s,
                                 u"DICIANNOVESIMO"_s, u"VENTESIMO"_s};
    // Spanish spells the fortieth and fiftieth its own way.
    const std::pair<QString, int> learnedTens[] = {
        {u"DECIMO"_s, 10},        {u"VIGESIMO"_s, 20},     {u"TRIGESIMO"_s, 30},
        {u"QUADRAGESIMO"_s, 40},  {u"CUADRAGESIMO"_s, 40}, {u"QUINQUAGESIMO"_s, 50},
        {u"QUINCUAGESIMO"_s, 50}, {u"SEXAGESIMO"_s, 60},   {u"SEPTUAGESIMO"_s, 70},
        {u"OCTOGESIMO"_s, 80},    {u"NONAGESIMO"_s, 90}};
    for (const QStringList *units : {&spanish, &portuguese, &italian}) {
        for (int unit = 1; unit <= units->size(); ++unit)
            addGendered(units->at(unit - 1), unit);
        for (const auto &[tens, value] : learnedTens) {
            addGendered(tens, value);
            for (int unit = 1; unit <= 9; ++unit) {
                const QString &ordinal = units->at(unit - 1);
                for (const QString &joint : {u""_s, u" "_s, u"-"_s}) {
                    add(tens + joint + ordinal, value + unit);
                    add(tens.chopped(1) + u'A' + joint + ordinal.chopped(1) + u'A', value + unit);
                }
            }
        }
    }
    add(u"PRIMER"_s, 1);
    add(u"TERCER"_s, 3);
    addGendered(u"DECIMOCTAVO"_s, 18);
    addGendered(u"SETIMO"_s, 7);
    addGendered(u"UNDECIMO"_s, 11);
    addGendered(u"DUODECIMO"_s, 12);
    // Italian's own 21st to 99th: "VENTUNESIMO", "TRENTADUESIMO", "QUARANTOTTESIMO", and in
    // older print the ordinal ten before the ordinal unit, "VENTESIMOPRIMO", "TRENTESIMO TERZO".
    const QStringList italianTens = {u"VENTI"_s,    u"TRENTA"_s,   u"QUARANTA"_s, u"CINQUANTA"_s,
                                     u"SESSANTA"_s, u"SETTANTA"_s, u"OTTANTA"_s,  u"NOVANTA"_s};
    const QStringList italianUnits = {u"UNESIMO"_s,     u"DUESIMO"_s,    u"TREESIMO"_s,
                                      u"QUATTRESIMO"_s, u"CINQUESIMO"_s, u"SEIESIMO"_s,
                                      u"SETTESIMO"_s,   u"OTTESIMO"_s,   u"NOVESIMO"_s};
    for (int ten = 2; ten <= 9; ++ten) {
        const QString &cardinal = italianTens[ten - 2];
        const QString tens = cardinal.chopped(1) + u"ESIMO"_s;
        addGendered(tens, 10 * ten);
        for (int unit = 1; unit <= 9; ++unit) {
            for (const QString &joint : {u""_s, u" "_s}) {
                add(tens + joint + italian[unit - 1], 10 * ten + unit);
                add(tens.chopped(1) + u'A' + joint + italian[unit - 1].chopped(1) + u'A',
                    10 * ten + unit);
            }
            // The ten's last vowel gives way to a unit that opens with one.
            const bool vowel = unit == 1 || unit == 8;
            addGendered((vowel ? cardinal.chopped(1) : cardinal) + italianUnits[unit - 1],
                        10 * ten + unit);
        }
    }

    // Dutch, and its 21st to 99th as the unit and the ordinal ten: "EENENTWINTIGSTE",
    // "TWEEËNDERTIGSTE", in older print "EEN-EN-TWINTIGSTE".
    const QStringList dutch = {u"EERSTE"_s,      u"TWEEDE"_s,     u"DERDE"_s,      u"VIERDE"_s,
                               u"VIJFDE"_s,      u"ZESDE"_s,      u"ZEVENDE"_s,    u"ACHTSTE"_s,
                               u"NEGENDE"_s,     u"TIENDE"_s,     u"ELFDE"_s,      u"TWAALFDE"_s,
                               u"DERTIENDE"_s,   u"VEERTIENDE"_s, u"VIJFTIENDE"_s, u"ZESTIENDE"_s,
                               u"ZEVENTIENDE"_s, u"ACHTTIENDE"_s, u"NEGENTIENDE"_s};
    for (int i = 0; i < dutch.size(); ++i)
        add(dutch[i], i + 1);
    const QStringList dutchUnits = {u"EEN"_s, u"TWEE"_s,  u"DRIE"_s, u"VIER"_s, u"VIJF"_s,
                                    u"ZES"_s, u"ZEVEN"_s, u"ACHT"_s, u"NEGEN"_s};
    const QStringList dutchTens = {u"TWINTIGSTE"_s, u"DERTIGSTE"_s,  u"VEERTIGSTE"_s,
                                   u"VIJFTIGSTE"_s, u"ZESTIGSTE"_s,  u"ZEVENTIGSTE"_s,
                                   u"TACHTIGSTE"_s, u"NEGENTIGSTE"_s};
    for (int ten = 2; ten <= 9; ++ten) {
        add(dutchTens[ten - 2], 10 * ten);
        for (int unit = 1; unit <= 9; ++unit) {
            for (const QString &joint : {u"EN"_s, u"-EN-"_s, u" EN "_s})
                add(dutchUnits[unit - 1] + joint + dutchTens[ten - 2], 10 * ten + unit);
        }
    }

    for (const OrdinalTable *table : {&Russian, &Ukrainian, &Polish, &Czech, &Greek, &Turkish})
        addTableForms(ordinals, *table);
    return ordinals;
}

// A word's letters from at: an apostrophe between two letters is one of them ("П'ЯТИЙ").
qsizetype wordEnd(QStringView folded, qsizetype at)
{
    const qsizetype start = at;
    while (at < folded.size()
           && (folded[at].isLetter()
               || (at > start && isApostrophe(folded[at]) && at + 1 < folded.size()
                   && folded[at + 1].isLetter()))) {
        ++at;
    }
    return at;
}

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
        at = wordEnd(folded, at);
        if (at == start)
            break;
        ends[words++] = at;
        if (at + 1 >= folded.size() || (folded[at] != u' ' && folded[at] != u'-')
            || !folded[at + 1].isLetter()) {
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
