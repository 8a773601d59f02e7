#include "codepage.h"

#include <QHash>

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

using namespace Qt::StringLiterals;

namespace CodePage {
namespace {

struct Description
{
    Id id;
    const char16_t *language;
};

// By the language's name, as the File > Code Page menu lists them.
constexpr std::array<Description, 10> Descriptions = {{
    {Id::Windows1256, u"Arabic"},
    {Id::Windows1257, u"Baltic"},
    {Id::Windows1250, u"Central European"},
    {Id::Windows1251, u"Cyrillic"},
    {Id::Windows1253, u"Greek"},
    {Id::Windows1255, u"Hebrew"},
    {Id::Windows874, u"Thai"},
    {Id::Windows1254, u"Turkish"},
    {Id::Windows1258, u"Vietnamese"},
    {Id::Windows1252, u"Western"},
}};

constexpr std::array<Id, Descriptions.size()> Ids = [] {
    std::array<Id, Descriptions.size()> ids{};
    for (std::size_t i = 0; i < Descriptions.size(); ++i)
        ids[i] = Descriptions[i].id;
    return ids;
}();

constexpr std::size_t indexOf(Id codePage)
{
    for (std::size_t i = 0; i < Ids.size(); ++i) {
        if (Ids[i] == codePage)
            return i;
    }
    return 0;
}

constexpr char Unrepresentable = '?';
constexpr quint16 NoByte = 0xFFFF;

// One code page's two directions: the character of every byte, and the byte of every UTF-16
// unit (NoByte where there is none), both read from ICU's converter once.
class Table
{
public:
    explicit Table(Id codePage)
    {
        m_bytes.fill(NoByte);
        UErrorCode status = U_ZERO_ERROR;
        const QByteArray converterName = name(codePage).toLatin1();
        std::unique_ptr<UConverter, decltype(&ucnv_close)> converter(
            ucnv_open(converterName.constData(), &status), &ucnv_close);
        if (U_SUCCESS(status)) {
            ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                                &status);
        }
        for (unsigned byte = 0; byte < 256; ++byte) {
            char16_t unit = char16_t(byte);
            if (U_SUCCESS(status)) {
                const char in = char(byte);
                UChar out[2];
                UErrorCode conversion = U_ZERO_ERROR;
                ucnv_reset(converter.get());
                const int32_t length = ucnv_toUChars(converter.get(), out, 2, &in, 1, &conversion);
                // ICU gives the Thai code page's unused bytes private characters that no font
                // shows; they are left undefined, as the code page's own table leaves them.
                if (U_SUCCESS(conversion) && length == 1
                    && u_charType(out[0]) != U_PRIVATE_USE_CHAR) {
                    unit = out[0];
                }
            }
            m_characters[byte] = unit;
            if (m_bytes[unit] == NoByte)
                m_bytes[unit] = quint16(byte);
            if (unit >= 0x80 && u_getCombiningClass(unit) != 0)
                m_holdsMarks = true;
        }
    }

    char16_t character(unsigned char byte) const { return m_characters[byte]; }
    quint16 byte(char16_t unit) const { return m_bytes[unit]; }
    bool holdsMarks() const { return m_holdsMarks; }

private:
    std::array<char16_t, 256> m_characters{};
    std::array<quint16, 0x10000> m_bytes{};
    bool m_holdsMarks = false;
};

const Table &table(Id codePage)
{
    // Built together on first use, before any thread of a conversion asks for one.
    static const auto tables = [] {
        std::vector<std::unique_ptr<const Table>> built;
        for (const Id id : Ids)
            built.push_back(std::make_unique<const Table>(id));
        return built;
    }();
    return *tables[indexOf(codePage)];
}

const icu::Normalizer2 *normalizer(const icu::Normalizer2 *(*instance)(UErrorCode &))
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2 *form = instance(status);
    return U_SUCCESS(status) ? form : nullptr;
}

// The character as the code page holds it: its base letter composed with as many of its marks
// as give a letter the code page has ("ệ" is "e", U+0323 and U+0302; Windows-1258 holds "ê"),
// then the other marks in their order. Empty when the code page holds the character as it is,
// or not even so.
QString decomposedHeld(const Table &page, char32_t character)
{
    const icu::Normalizer2 *nfd = normalizer(&icu::Normalizer2::getNFDInstance);
    const icu::Normalizer2 *nfc = normalizer(&icu::Normalizer2::getNFCInstance);
    icu::UnicodeString parts;
    if (!nfd || !nfc || !nfd->getDecomposition(UChar32(character), parts) || parts.length() < 2)
        return {};
    QString marks = QString(reinterpret_cast<const QChar *>(parts.getBuffer()), parts.length());
    char16_t base = marks[0].unicode();
    marks.remove(0, 1);
    if (QChar::isSurrogate(base))
        return {};
    for (bool composing = true; composing;) {
        composing = false;
        for (qsizetype i = 0; i < marks.size(); ++i) {
            // A mark reaches the base only past marks of other classes.
            const auto blocked = [&](QChar earlier) {
                return u_getCombiningClass(earlier.unicode())
                       == u_getCombiningClass(marks[i].unicode());
            };
            if (std::any_of(marks.begin(), marks.begin() + i, blocked))
                continue;
            const UChar32 letter = nfc->composePair(base, marks[i].unicode());
            if (letter >= 0 && letter <= 0xFFFF && page.byte(char16_t(letter)) != NoByte) {
                base = char16_t(letter);
                marks.remove(i, 1);
                composing = true;
                break;
            }
        }
    }
    if (page.byte(base) == NoByte)
        return {};
    for (const QChar mark : marks) {
        if (page.byte(mark.unicode()) == NoByte)
            return {};
    }
    return QChar(base) + marks;
}

bool isIdentity(char16_t unit)
{
    return unit < 0x80;
}

} // namespace

std::span<const Id> all()
{
    return Ids;
}

QString name(Id codePage)
{
    return u"windows-%1"_s.arg(int(codePage));
}

QString title(Id codePage)
{
    return u"%1 (Windows-%2)"_s.arg(QStringView(Descriptions[indexOf(codePage)].language))
        .arg(int(codePage));
}

std::optional<Id> parse(QStringView text)
{
    QStringView number = text.trimmed();
    for (const QStringView prefix : {u"windows-", u"cp"}) {
        if (number.startsWith(prefix, Qt::CaseInsensitive)) {
            number = number.sliced(prefix.size());
            break;
        }
    }
    bool ok = false;
    const int value = number.toInt(&ok);
    for (const Id id : Ids) {
        if (ok && int(id) == value)
            return id;
    }
    return std::nullopt;
}

bool holds(Id codePage, char16_t unit)
{
    return table(codePage).byte(unit) != NoByte;
}

void Unstorable::note(char32_t character)
{
    if (count++ == 0)
        first = character;
}

QString decode(Id codePage, QByteArrayView bytes)
{
    const Table &page = table(codePage);
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (const char byte : bytes)
        *out++ = page.character(static_cast<unsigned char>(byte));
    return text;
}

char *encodeInto(Id codePage, QStringView text, char *out, Unstorable *unstorable)
{
    const Table &page = table(codePage);
    const char16_t *units = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        // Most of a book is ASCII, which every code page holds as it is: blocks of it are tested
        // and copied whole, in loops of a fixed length that the compiler vectorises.
        constexpr qsizetype Block = 64;
        for (; i + Block <= size; i += Block, out += Block) {
            unsigned all = 0;
            for (qsizetype k = 0; k < Block; ++k)
                all |= units[i + k];
            if (all >= 0x80)
                break;
            char narrowed[Block]; // out may alias units as far as the compiler knows
            for (qsizetype k = 0; k < Block; ++k)
                narrowed[k] = char(units[i + k]);
            std::memcpy(out, narrowed, Block);
        }
        for (; i < size && isIdentity(units[i]); ++i)
            *out++ = char(units[i]);
        if (i == size)
            break;
        const char16_t unit = units[i];
        if (const quint16 byte = page.byte(unit); byte != NoByte) {
            *out++ = char(byte);
            continue;
        }
        *out++ = Unrepresentable;
        const bool pair =
            QChar::isHighSurrogate(unit) && i + 1 < size && QChar::isLowSurrogate(units[i + 1]);
        if (pair) {
            *out++ = Unrepresentable;
            ++i;
        }
        if (unstorable) {
            unstorable->note(pair ? QChar::surrogateToUcs4(unit, units[i]) : char32_t(unit));
        }
    }
    return out;
}

QByteArray encode(Id codePage, QStringView text, Unstorable *unstorable)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    encodeInto(codePage, text, bytes.data(), unstorable);
    return bytes;
}

Unstorable unstorableIn(Id codePage, QStringView text)
{
    Unstorable unstorable;
    encode(codePage, text, &unstorable);
    return unstorable;
}

QString describe(Id codePage, const Unstorable &unstorable)
{
    const char32_t first = unstorable.first;
    QString character = u"U+%1"_s.arg(uint(first), 4, 16, QChar(u'0')).toUpper();
    if (QChar::isPrint(first))
        character = u"\"%1\" (%2)"_s.arg(QString::fromUcs4(&first, 1), character);
    return u"%1 %2 cannot be stored in the Windows-%3 code page and %4 saved as \"?\"; the "
           "first is %5"_s.arg(unstorable.count)
               .arg(unstorable.count == 1 ? u"character"_s : u"characters"_s)
               .arg(int(codePage))
               .arg(unstorable.count == 1 ? u"was"_s : u"were"_s, character);
}

QString heldForm(Id codePage, const QString &text, OffsetMap *moves)
{
    const Table &page = table(codePage);
    if (!page.holdsMarks())
        return text;
    QString result;
    QHash<char16_t, QString> decomposed; // a book holds few different letters, many times over
    qsizetype copied = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < 0xC0 || page.byte(unit) != NoByte || QChar::isSurrogate(unit))
            continue;
        auto found = decomposed.constFind(unit);
        if (found == decomposed.cend())
            found = decomposed.insert(unit, decomposedHeld(page, unit));
        const QString &parts = *found;
        if (parts.isEmpty())
            continue;
        if (result.isEmpty())
            result.reserve(text.size() + text.size() / 8);
        result.append(QStringView(text).sliced(copied, i - copied));
        result.append(parts);
        if (moves)
            moves->replace(i, QStringView(text).sliced(i, 1), parts);
        copied = i + 1;
    }
    if (copied == 0)
        return text;
    result.append(QStringView(text).sliced(copied));
    return result;
}

bool holdsLetter(Id codePage, char32_t character)
{
    const Table &page = table(codePage);
    if (character <= 0xFFFF && page.byte(char16_t(character)) != NoByte)
        return true;
    return page.holdsMarks() && !decomposedHeld(page, character).isEmpty();
}

} // namespace CodePage
