#include "storablecharacters.h"

#include "book/codepage.h"

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

// Plain forms for what ICU leaves without one.
QStringView plainForm(char16_t c)
{
    switch (c) {
    case 0x2264:
        return u"<=";
    case 0x2265:
        return u">=";
    case 0x2260:
        return u"!=";
    case 0x2248:
        return u"~";
    case 0x2212:
        return u"-";
    case 0x2217:
        return u"*";
    case 0x22C5:
        return u"\u00B7";
    case 0x22EF:
        return u"...";
    case 0x2208:
        return u" in ";
    case 0x2211:
        return u"Sum";
    case 0x221E:
        return u"infinity";
    case 0x2192:
        return u"->";
    case 0x2190:
        return u"<-";
    case 0x2194:
        return u"<->";
    case 0x21D2:
        return u"=>";
    case 0x21D0:
        return u"<=";
    case 0x21D4:
        return u"<=>";
    case 0x21A9:
        return u"<-";
    case 0x2191:
        return u"^";
    case 0x300C:
    case 0x300D:
    case 0x300E:
    case 0x300F:
        return u"\"";
    case 0x3001:
        return u",";
    case 0x3002:
        return u".";
    case 0x30FB:
        return u"\u00B7";
    case 0x30FC:
        return u"-";
    case 0x060C:
        return u",";
    case 0x061B:
        return u";";
    case 0x061F:
        return u"?";
    case 0x2E3A:
        return u"--";
    case 0x2E3B:
        return u"---";
    }
    return {};
}

struct StorableForm
{
    QString text;
    qsizetype lost = 0; // characters that became "?"
};

// The run as ICU's transforms leave it, with a "?" for each character still not storable.
// Runs go through one by one: in a longer text every replacement ICU makes moves the rest of it.
StorableForm storableForm(CodePage::Id codePage, QStringView run)
{
    QString prepared;
    prepared.reserve(run.size());
    for (const QChar c : run) {
        const QStringView plain = plainForm(c.unicode());
        if (plain.isEmpty())
            prepared += c;
        else
            prepared += plain;
    }
    icu::UnicodeString transformed(reinterpret_cast<const char16_t *>(prepared.utf16()),
                                   int32_t(prepared.size()));
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
        } else {
            form.text.append(u'?');
            ++form.lost;
            if (isSurrogatePair(result, i))
                ++i;
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
