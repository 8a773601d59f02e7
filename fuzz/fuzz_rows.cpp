// Chapter rows through any clean-up and replacements: every row whose heading stayed stands on
// it or at the start of its line, every row whose heading went was removed.

#include "fuzzcheck.h"

#include "rowsfollowing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 4096)
        return 0;
    const QString problem =
        checkRowsFollowTheirHeadings(QByteArrayView(reinterpret_cast<const char *>(data), size));
    if (!problem.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(problem));
    FUZZ_CHECK(problem.isEmpty());
    return 0;
}
