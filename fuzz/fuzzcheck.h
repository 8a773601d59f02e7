#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstdio>
#include <cstdlib>

// A property that must hold for every input: when it does not, the fuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// True when text has a CR or LF that is not part of a CR LF pair.
inline bool hasLoneLineBreak(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n')
            return true;
        if (text[i] == u'\r') {
            if (i + 1 == text.size() || text[i + 1] != u'\n')
                return true;
            ++i;
        }
    }
    return false;
}
