#include "textimport.h"

#include "codepage.h"
#include "fileio.h"
#include "textlines.h"

#include <QStringDecoder>

#include <cstring>

namespace {

constexpr char16_t CR = u'\r';
constexpr char16_t LF = u'\n';

// Whether a LF stands without a CR before it, or a CR without a LF after it.
bool needsLineBreakChange(QStringView text)
{
    return text.startsWith(LF) || text.endsWith(CR)
           || findPair(text, 0, [](char16_t c, char16_t next) {
                  return ((c != CR) & (next == LF)) | ((c == CR) & (next != LF));
              }) >= 0;
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

} // namespace

QString normalizeLineBreaks(const QString &text, OffsetMap *moves)
{
    if (!needsLineBreakChange(text))
        return text;

    // At most every unit is a lone break that doubles.
    QString result(text.size() * 2, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    const auto *in = reinterpret_cast<const char16_t *>(text.constData());
    const char16_t *end = in + text.size();
    while (in < end) {
        const char16_t unit = *in++;
        if (unit == CR || unit == LF) {
            if (unit == CR && in < end && *in == LF)
                ++in;
            else if (moves)
                moves->replace(in - 1 - reinterpret_cast<const char16_t *>(text.constData()), 1, 2);
            *out++ = CR;
            *out++ = LF;
        } else {
            *out++ = unit;
        }
    }
    result.truncate(out - reinterpret_cast<const char16_t *>(result.constData()));
    return result;
}

bool isValidUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = p + bytes.size();
    while (p < end) {
        // Plain ASCII eight bytes at a time: most books are almost all ASCII.
        while (end - p >= 8) {
            quint64 block;
            std::memcpy(&block, p, sizeof block);
            if (block & 0x8080808080808080ull)
                break;
            p += 8;
        }
        if (p == end)
            break;

        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int length;
        unsigned char low = 0x80;  // bounds of the second byte, to refuse overlong forms,
        unsigned char high = 0xBF; // surrogates and code points above U+10FFFF
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (end - p < length || p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i < length; ++i) {
            if (!isContinuation(p[i]))
                return false;
        }
        p += length;
    }
    return true;
}

QString utf8ToText(QByteArrayView bytes)
{
    // QString::fromUtf8 would drop a byte-order mark at the start as well; here it is a
    // character like any other.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

QString decodeTextFile(QByteArrayView bytes)
{
    static constexpr QByteArrayView ByteOrderMark("\xEF\xBB\xBF");
    if (bytes.startsWith(ByteOrderMark))
        return normalizeLineBreaks(utf8ToText(bytes.sliced(ByteOrderMark.size())));
    if (isValidUtf8(bytes))
        return normalizeLineBreaks(utf8ToText(bytes));
    return normalizeLineBreaks(CodePage::decode(CodePage::Western, bytes));
}

Result<QString> importTextFile(const QString &path)
{
    Result<QByteArray> bytes = readWholeFile(path);
    if (!bytes)
        return bytes.error();
    return decodeTextFile(bytes.value());
}
