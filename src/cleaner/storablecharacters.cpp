#include "storablecharacters.h"

#include "book/codepage.h"

#include "plainforms.h"

#include <unicode/translit.h>
#include <unicode/uniset.h>
#include <unicode/unistr.h>

#include <QHash>

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <vector>

namespace {

// Whether the code page holds the character as it is, or decomposed as a book in it is written.
bool isStorable(CodePage::Id codePage, char32_t character)
{
    // Most books are nearly all ASCII, which every code page holds as it is.
    return character < 0x80 || CodePage::holdsLetter(codePage, character);
}

// The characters no byte of the code page stands for, nor a letter and marks it holds.
icu::UnicodeSet unstorableSet(CodePage::Id codePage)
{
    icu::UnicodeSet storable;
    for (char32_t character = 0; character < 0x10000; ++character) {
        if (!QChar::isSurrogate(character) && isStorable(codePage, character))
            storable.add(UChar32(character));
    }
    storable.complement();
    storable.freeze();
    return storable;
}

// ICU's transforms, each but the first kept to the characters the code page cannot hold, so
// that a character one step made storable is left alone by the next. The first composes a
// letter and the combining accent after it ("e" and U+0301 to "é"), which every later step
// would otherwise see apart.
class Transforms
{
public:
    explicit Transforms(CodePage::Id codePage)
    {
        const icu::UnicodeSet unstorable = unstorableSet(codePage);
        add(create("NFC"), nullptr);
        for (const char *id : {"NFKC", "Any-Latin"})
            add(create(id), &unstorable);
        // ICU writes an Indic avagraha, the sign of an elided "a", as a comma above the vowel
        // before it, which Latin-ASCII would drop with that vowel's accents. In plain letters
        // it is an apostrophe: "so'ham".
        UParseError where;
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> apostrophe(icu::Transliterator::createFromRules(
            u"AvagrahaApostrophe", u"\\u0315 > \\' ;", UTRANS_FORWARD, where, status));
        add(U_SUCCESS(status) ? std::move(apostrophe) : nullptr, &unstorable);
        add(create("Latin-ASCII"), &unstorable);
    }

    void apply(icu::UnicodeString &text) const
    {
        for (const auto &step : m_steps)
            step->transliterate(text);
    }

private:
    static std::unique_ptr<icu::Transliterator> create(const char *id)
    {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> step(icu::Transliterator::createInstance(
            icu::UnicodeString::fromUTF8(id), UTRANS_FORWARD, status));
        return U_SUCCESS(status) ? std::move(step) : nullptr;
    }

    // Without ICU's data a step is skipped; what it would have replaced becomes "?".
    void add(std::unique_ptr<icu::Transliterator> step, const icu::UnicodeSet *filter)
    {
        if (!step)
            return;
        if (filter)
            step->adoptFilter(filter->clone());
        m_steps.push_back(std::move(step));
    }

    std::vector<std::unique_ptr<icu::Transliterator>> m_steps;
};

// Made once for each code page a book is cleaned in: ICU takes a while to make its transforms.
const Transforms &transforms(CodePage::Id codePage)
{
    static std::array<std::once_flag, 10> made;
    static std::array<std::unique_ptr<const Transforms>, 10> instances;
    const auto ids = CodePage::all();
    const auto index = std::size_t(std::find(ids.begin(), ids.end(), codePage) - ids.begin());
    std::call_once(made.at(index),
                   [&] { instances.at(index) = std::make_unique<const Transforms>(codePage); });
    return *instances.at(index);
}

bool isSurrogatePair(QStringView text, qsizetype at)
{
    return text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate();
}

struct StorableForm
{
    QString text;
    qsizetype lost = 0; // characters that became "?"
};

// The run as ICU's transforms leave it, each character still not storable in its plain form,
// or a "?" where it has none. Runs go through one by one: in a longer text every replacement
// ICU makes moves the rest of it.
StorableForm storableForm(CodePage::Id codePage, QStringView run)
{
    const auto holdsAll = [codePage](const QString &text) {
        return std::all_of(text.begin(), text.end(),
                           [codePage](QChar c) { return CodePage::holds(codePage, c.unicode()); });
    };
    // ICU writes an accent standing alone ("˝", "˘") as a space with the accent to go on a
    // letter, which no code page holds; the mark a keyboard has for it is nearer.
    QString accented = run.toString();
    for (QChar &c : accented) {
        if (c.category() != QChar::Symbol_Modifier)
            continue;
        if (const std::optional<QString> plain = plainForm(c.unicode());
            plain && plain->size() == 1 && holdsAll(*plain)) {
            c = plain->front();
        }
    }
    icu::UnicodeString transformed(reinterpret_cast<const char16_t *>(accented.utf16()),
                                   int32_t(accented.size()));
    transforms(codePage).apply(transformed);
    // A letter the code page holds only decomposed is written so.
    const QString result = CodePage::heldForm(
        codePage,
        QString(reinterpret_cast<const QChar *>(transformed.getBuffer()), transformed.length()));
    StorableForm form;
    form.text.reserve(result.size());
    for (qsizetype i = 0; i < result.size(); ++i) {
        if (CodePage::holds(codePage, result[i].unicode())) {
            form.text.append(result[i]);
            continue;
        }
        char32_t character = result[i].unicode();
        if (isSurrogatePair(result, i)) {
            character = QChar::surrogateToUcs4(result[i], result[i + 1]);
            ++i;
        }
        const std::optional<QString> plain = plainForm(character);
        if (plain && holdsAll(*plain)) {
            form.text.append(*plain);
        } else if (QChar::isMark(character) && !form.text.isEmpty()
                   && !form.text.back().isSpace()) {
            // An accent ICU left on a letter or sign belongs to it: the letter, or its "?",
            // stands for both. One on a space stands alone.
        } else {
            form.text.append(u'?');
            ++form.lost;
        }
    }
    return form;
}

} // namespace

StorableText MakeStorable(CodePage::Id codePage, const QString &text, OffsetMap *moves)
{
    const QStringView whole(text);
    const auto isStorable = [codePage](QChar c) {
        return c.unicode() < 0x80 || CodePage::holds(codePage, c.unicode());
    };
    if (std::all_of(whole.begin(), whole.end(), isStorable))
        return {text, 0};

    // Every run of characters the code page cannot hold is transformed on its own, as ICU's
    // filtered transforms treat it anyway, and each different run only once: a whole Cyrillic
    // book holds far fewer different words than characters.
    StorableText result;
    result.text.reserve(text.size());
    QHash<QStringView, StorableForm> forms;
    qsizetype at = 0;
    for (;;) {
        qsizetype start =
            std::find_if_not(whole.begin() + at, whole.end(), isStorable) - whole.begin();
        if (start == whole.size())
            break;
        const qsizetype end =
            std::find_if(whole.begin() + start, whole.end(), isStorable) - whole.begin();
        // A combining accent belongs to the letter before it, so that "e" and U+0301 become "é".
        if (start > at && whole[start].isMark())
            --start;
        const QStringView run = whole.sliced(start, end - start);
        for (qsizetype i = 0; i < run.size(); ++i) {
            if (!isStorable(run[i])) {
                ++result.replaced;
                if (isSurrogatePair(run, i))
                    ++i;
            }
        }
        auto form = forms.constFind(run);
        if (form == forms.cend())
            form = forms.insert(run, storableForm(codePage, run));
        result.lost += form->lost;
        result.text.append(whole.sliced(at, start - at));
        result.text.append(form->text);
        if (moves)
            moves->replace(start, run, form->text);
        at = end;
    }
    result.text.append(whole.sliced(at));
    return result;
}
