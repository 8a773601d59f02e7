#include "textencoding.h"

#include "book/codepage.h"
#include "book/textimport.h"

#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The bytes as text in the named encoding, by ICU's converters; what the encoding cannot read
// becomes U+FFFD.
QString decodedAs(QByteArrayView bytes, const char *encoding)
{
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UConverter, void (*)(UConverter *)> converter(
        ucnv_open(encoding, &status), ucnv_close);
    if (U_FAILURE(status))
        return CodePage::decode(CodePage::Western, bytes);
    // No encoding writes a character in fewer bytes than UTF-16 units, but for the one-byte
    // ones, which need as many units as bytes.
    QString text(bytes.size() + 1, Qt::Uninitialized);
    const int32_t length =
        ucnv_toUChars(converter.get(), reinterpret_cast<UChar *>(text.data()), int32_t(text.size()),
                      bytes.data(), int32_t(bytes.size()), &status);
    if (U_FAILURE(status))
        return CodePage::decode(CodePage::Western, bytes);
    text.truncate(length);
    return text;
}

// The encoding ICU's detector is confident of, or nothing: a high confidence, or on a short
// text (where the detector is never sure) a middling one well ahead of the next guess. It
// reads the start of the text, which tells as much as the whole.
QByteArray detectedEncoding(QByteArrayView bytes)
{
    constexpr qsizetype Sample = 256 * 1024;
    constexpr int32_t Confident = 60, Middling = 30, Lead = 15;
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UCharsetDetector, void (*)(UCharsetDetector *)> detector(
        ucsdet_open(&status), ucsdet_close);
    if (U_FAILURE(status))
        return {};
    ucsdet_setText(detector.get(), bytes.data(), int32_t(std::min(bytes.size(), Sample)), &status);
    int32_t count = 0;
    const UCharsetMatch **matches = ucsdet_detectAll(detector.get(), &count, &status);
    if (U_FAILURE(status) || count == 0)
        return {};
    const int32_t best = ucsdet_getConfidence(matches[0], &status);
    const int32_t next = count > 1 ? ucsdet_getConfidence(matches[1], &status) : 0;
    if (best < Confident && (best < Middling || best - next < Lead))
        return {};
    const char *name = ucsdet_getName(matches[0], &status);
    return U_FAILURE(status) || !name ? QByteArray() : QByteArray(name);
}

} // namespace

DecodedText decodeAnyText(QByteArrayView bytes)
{
    struct Mark
    {
        QByteArrayView bytes;
        const char *encoding;
    };
    // UTF-32 LE's mark begins with UTF-16 LE's, so it is looked for first.
    static const Mark Marks[] = {
        {QByteArrayView("\xFF\xFE\0\0", 4), "UTF-32LE"},
        {QByteArrayView("\0\0\xFE\xFF", 4), "UTF-32BE"},
        {QByteArrayView("\xFF\xFE", 2), "UTF-16LE"},
        {QByteArrayView("\xFE\xFF", 2), "UTF-16BE"},
    };
    static constexpr QByteArrayView Utf8Mark("\xEF\xBB\xBF");
    if (bytes.startsWith(Utf8Mark))
        return {normalizeLineBreaks(utf8ToText(bytes.sliced(Utf8Mark.size()))), {}};
    for (const Mark &mark : Marks) {
        if (bytes.startsWith(mark.bytes)) {
            return {normalizeLineBreaks(decodedAs(bytes.sliced(mark.bytes.size()), mark.encoding)),
                    QString::fromLatin1(mark.encoding)};
        }
    }
    if (isValidUtf8(bytes))
        return {normalizeLineBreaks(utf8ToText(bytes)), {}};

    const QByteArray detected = detectedEncoding(bytes);
    const QByteArray lower = detected.toLower();
    if (detected.isEmpty() || lower == "iso-8859-1" || lower == "windows-1252")
        return {normalizeLineBreaks(CodePage::decode(CodePage::Western, bytes)), {}};
    return {normalizeLineBreaks(decodedAs(bytes, detected.constData())),
            QString::fromLatin1(detected)};
}

bool looksBinary(QByteArrayView bytes)
{
    // Tabs, line breaks, form feeds and the old end-of-file mark are a text's own.
    constexpr qsizetype Sample = 64 * 1024;
    const QByteArrayView sample = bytes.first(std::min(bytes.size(), Sample));
    const qsizetype controls = std::count_if(sample.begin(), sample.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f'
                && byte != 0x1A)
               || byte == 0x7F;
    });
    // A few stray ones are damage; one in fifty is no text.
    return controls * 50 > sample.size();
}
