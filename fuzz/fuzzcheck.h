#pragma once

#include "chapters/chaptertable.h"
#include "import/epubimport.h"

#include <QByteArrayView>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>

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
    return text.count(u'\r') != text.count(u'\n') || text.count(u"\r\n") != text.count(u'\n');
}

// Input bytes as UTF-16 units, two bytes each, so that every character can reach the code under
// test, those that upper-case to ASCII (U+0131, U+017F) and surrogates included.
inline QString utf16Text(const uint8_t *data, size_t size)
{
    QString text(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data, size / 2 * 2);
    return text;
}

// What every reader gives for any bytes: a refusal in one line that names the file, or a book
// whose text and synopsis have CR LF line breaks only, whose every chapter lies inside the text
// under a title that fits its field, and whose table fits a book file.
inline void checkImported(const Result<ImportedBook> &read, const QString &path)
{
    if (!read) {
        FUZZ_CHECK(read.error().message().startsWith(path + QStringLiteral(": ")));
        FUZZ_CHECK(!read.error().problem.isEmpty() && !read.error().problem.contains(u'\n'));
        return;
    }
    const Book &book = read.value().book;
    FUZZ_CHECK(!hasLoneLineBreak(book.text));
    FUZZ_CHECK(!hasLoneLineBreak(book.synopsis));
    FUZZ_CHECK(book.chapters.size() <= MaxChapterRows);
    for (const ChapterEntry &row : book.chapters) {
        const qint32 offset = chapterOffset(row);
        FUZZ_CHECK(offset >= 0 && offset <= book.text.size());
        FUZZ_CHECK(row.title.size() <= ChapterTitleLength);
    }
}
