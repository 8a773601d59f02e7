// The clean-up boxes on any text: line breaks stay CR LF, and what a box promises holds after
// it: no tabs after box 4, no blank line after box 3, and box 3 run twice is box 3 run once.

#include "fuzzcheck.h"

#include "book/codepage.h"
#include "book/textimport.h"
#include "cleaner/textcleaner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0 || size > 8192)
        return 0;
    CleanerBoxes boxes{};
    for (int box = 0; box < CleanerBoxCount; ++box)
        boxes[box] = (data[0] >> box) & 1;
    const QString text = normalizeLineBreaks(CodePage::decode(
        QByteArrayView(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1))));

    const QString cleaned = CleanText(text, boxes);
    FUZZ_CHECK(!hasLoneLineBreak(cleaned));
    if (boxes[4])
        FUZZ_CHECK(!cleaned.contains(u'\t'));

    CleanerBoxes box3{};
    box3[3] = true;
    const QString once = CleanText(text, box3);
    FUZZ_CHECK(!once.contains(QStringLiteral("\r\n\r\n")));
    FUZZ_CHECK(CleanText(once, box3) == once);
    return 0;
}
