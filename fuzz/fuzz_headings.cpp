// The heading detector on any text: every heading starts a line inside the text, they come in
// text order, and every title fits the chapter table.

#include "fuzzcheck.h"

#include "book/textimport.h"
#include "chapters/chaptertable.h"
#include "chapters/headingdetector.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 8192)
        return 0;
    const QString text = normalizeLineBreaks(utf16Text(data, size));
    qsizetype previous = -1;
    for (const FoundHeading &heading : FindHeadings(text)) {
        FUZZ_CHECK(heading.offset > previous && heading.offset < text.size());
        FUZZ_CHECK(heading.offset == 0 || text[heading.offset - 1] == u'\n');
        FUZZ_CHECK(heading.title.size() <= ChapterTitleLength);
        FUZZ_CHECK(text.mid(heading.offset).startsWith(heading.line));
        FUZZ_CHECK(!heading.number || *heading.number > 0);
        previous = heading.offset;
    }
    return 0;
}
