#include "storablecharacters.h"

#include "book/codepage.h"

#include <unicode/translit.h>
#include <unicode/uniset.h>
#include <unicode/unistr.h>

#include <QHash>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

bool holds(char16_t unit)
{
    // Most books are nearly all ASCII and Latin-1, which the code page holds as they are.
    return unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF) || CodePage::holds(unit);
}

// The characters no byte of the code page stands for.
icu::UnicodeSet unstorableSet()
{
    icu::UnicodeSet storable;
    for (char16_t unit = 0; unit < 0x2200; ++unit) {
        if (holds(unit))
            storable.add(unit);
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
    Transforms()
    {
        const icu::UnicodeSet unstorable = unstorableSet();
        add("NFC", nullptr);
        for (const char *id : {"NFKC", "Any-Latin", "Latin-ASCII"})
            add(id, &unstorable);
    }

    void apply(icu::UnicodeString &text) const
    {
        for (const auto &step : m_steps)
            step->transliterate(text);
    }

private:
    void add(const char *id, const icu::UnicodeSet *filter)
    {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> step(icu::Transliterator::createInstance(
            icu::UnicodeString::fromUTF8(id), UTRANS_FORWARD, status));
        // Without ICU's data the step is skipped; what it would have replaced becomes "?".
        if (U_FAILURE(status) || !step)
            return;
        if (filter)
            step->adoptFilter(filter->clone());
        m_steps.push_back(std::move(step));
    }

    std::vector<std::unique_ptr<icu::Transliterator>> m_steps;
};

const Transforms &transforms()
{
    static const Transforms instance;
    return instance;
}

bool isSurrogatePair(QStringView text, qsizetype at)
{
    return text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate();
}

// The run as ICU's transforms leave it, with a "?" for each character still not storable.
// Runs go through one by one: in a longer text every replacement ICU makes moves the rest of it.
QString storableForm(QStringView run)
{
    icu::UnicodeString transformed(reinterpret_cast<const char16_t *>(run.utf16()),
                                   int32_t(run.size()));
    transforms().apply(transformed);
    const QStringView result(transformed.getBuffer(), transformed.length());
    QString form;
    form.reserve(result.size());
    for (qsizetype i = 0; i < result.size(); ++i) {
        if (holds(result[i].unicode())) {
            form.append(result[i]);
        } else {
            form.append(u'?');
            if (isSurrogatePair(result, i))
                ++i;
        }
    }
    return form;
}

} // namespace

StorableText MakeStorable(const QString &text, OffsetMap *moves)
{
    const QStringView whole(text);
    const auto isStorable = [](QChar c) { return holds(c.unicode()); };
    if (std::all_of(whole.begin(), whole.end(), isStorable))
        return {text, 0};

    // Every run of characters the code page cannot hold is transformed on its own, as ICU's
    // filtered transforms treat it anyway, and each different run only once: a whole Cyrillic
    // book holds far fewer different words than characters.
    StorableText result;
    result.text.reserve(text.size());
    QHash<QStringView, QString> forms;
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
            if (!holds(run[i].unicode())) {
                ++result.replaced;
                if (isSurrogatePair(run, i))
                    ++i;
            }
        }
        auto form = forms.constFind(run);
        if (form == forms.cend())
            form = forms.insert(run, storableForm(run));
        result.text.append(whole.sliced(at, start - at));
        result.text.append(*form);
        if (moves)
            moves->replace(start, run, *form);
        at = end;
    }
    result.text.append(whole.sliced(at));
    return result;
}
