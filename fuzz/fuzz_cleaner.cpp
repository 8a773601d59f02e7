// The clean-up boxes on any text: line breaks stay CR LF, and what a box promises holds after
// it: no tabs after box 4, no blank line after box 3, and box 3 run twice is box 3 run once;
// box 6 keeps one piece of the text as it was; after box 7 the code page holds every character,
// and a text it held already is unchanged.

#include "fuzzcheck.h"

#include "book/codepage.h"
#include "book/textimport.h"
#include "cleaner/storablecharacters.h"
#include "cleaner/textcleaner.h"
#include "referencecleaner.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0 || size > 8192)
        return 0;
    CleanerBoxes boxes{};
    for (int box = 0; box < CleanerBoxCount; ++box)
        boxes[box] = (data[0] >> box) & 1;
    const QString text = normalizeLineBreaks(
        CodePage::decode(CodePage::Western, QByteArrayView(reinterpret_cast<const char *>(data) + 1,
                                                           qsizetype(size - 1))));

    const QString cleaned = CleanText(text, boxes);
    FUZZ_CHECK(!hasLoneLineBreak(cleaned));
    if (boxes[4])
        FUZZ_CHECK(!cleaned.contains(u'\t'));

    // The one-pass boxes do what their steps, repeated until nothing changes, do.
    for (const int box : {0, 1, 3}) {
        CleanerBoxes one{};
        one[box] = true;
        FUZZ_CHECK(CleanText(text, one) == referenceCleanBox(box, text));
    }

    CleanerBoxes box3{};
    box3[3] = true;
    const QString once = CleanText(text, box3);
    FUZZ_CHECK(!once.contains(QStringLiteral("\r\n\r\n")));
    FUZZ_CHECK(CleanText(once, box3) == once);

    CleanerBoxes box6{};
    box6[GutenbergFrameBox] = true;
    FUZZ_CHECK(text.contains(CleanText(text, box6)));

    const QString anyText = normalizeLineBreaks(
        QString::fromUtf8(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1)));
    // In any code page, box 7 leaves only what the code page holds.
    const CodePage::Id codePage = CodePage::all()[size % CodePage::all().size()];
    const StorableText storable = MakeStorable(codePage, anyText);
    FUZZ_CHECK(std::all_of(storable.text.begin(), storable.text.end(),
                           [&](QChar c) { return CodePage::holds(codePage, c.unicode()); }));
    FUZZ_CHECK((storable.replaced == 0) == (storable.text == anyText));
    return 0;
}
