// A .txt file of any bytes imports to a text whose line breaks are all CR LF; any bytes survive
// the code page both ways; valid UTF-8 survives UTF-8 both ways.

#include "fuzzcheck.h"

#include "book/codepage.h"
#include "book/textimport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    const QString text = decodeTextFile(bytes);
    FUZZ_CHECK(!hasLoneLineBreak(text));
    FUZZ_CHECK(normalizeLineBreaks(text) == text);

    FUZZ_CHECK(CodePage::encode(CodePage::Western, CodePage::decode(CodePage::Western, bytes))
               == bytes);
    if (isValidUtf8(bytes))
        FUZZ_CHECK(utf8ToText(bytes).toUtf8() == bytes);
    return 0;
}
