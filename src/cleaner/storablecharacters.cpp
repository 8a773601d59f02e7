#include "storablecharacters.h"

#include "book/codepage.h"

#include <unicode/translit.h>
#include <unicode/uniset.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

bool holds(char16_t unit)
{
    return CodePage::holds(unit);
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

// Characters, not units: a surrogate pair is one character.
qsizetype countUnstorable(QStringView text)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (holds(text[i].unicode()))
            continue;
        ++count;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    }
    return count;
}

// One "?" for each character still not storable.
QString questionMarksForTheRest(const icu::UnicodeString &text)
{
    QString result;
    result.reserve(text.length());
    const qsizetype size = text.length();
    const char16_t *units = text.getBuffer();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = units[i];
        if (holds(unit)) {
            result.append(QChar(unit));
            continue;
        }
        result.append(u'?');
        if (QChar::isHighSurrogate(unit) && i + 1 < size && QChar::isLowSurrogate(units[i + 1]))
            ++i;
    }
    return result;
}

} // namespace

StorableText MakeStorable(const QString &text)
{
    const auto firstUnstorable =
        std::find_if_not(text.cbegin(), text.cend(), [](QChar c) { return holds(c.unicode()); });
    if (firstUnstorable == text.cend())
        return {text, 0};

    // Only the part from the first character that needs a change on goes through ICU.
    const qsizetype from = firstUnstorable - text.cbegin();
    // A combining accent belongs to the letter before it.
    const qsizetype start = from > 0 && firstUnstorable->isMark() ? from - 1 : from;
    const QStringView tail = QStringView(text).sliced(start);
    icu::UnicodeString transformed(reinterpret_cast<const char16_t *>(tail.utf16()),
                                   int32_t(tail.size()));
    transforms().apply(transformed);
    return {text.first(start) + questionMarksForTheRest(transformed), countUnstorable(tail)};
}
