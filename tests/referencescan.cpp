#include "referencescan.h"

#include "book/uppercase.h"

#include <cstring>

using namespace Qt::StringLiterals;

namespace {

// The upper-cased text one byte per unit for memmem(), whose skipping makes the many misses over
// a whole book affordable in the tests. Every pattern is ASCII, so a unit above 0xFF, which no
// pattern holds, may stand as any byte no pattern holds: NUL.
QByteArray searchBytes(const QString &upper)
{
    QByteArray bytes(upper.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < upper.size(); ++i)
        bytes[i] = upper[i].unicode() <= 0xFF ? char(upper[i].unicode()) : '\0';
    return bytes;
}

} // namespace

NumberTables numberTables()
{
    NumberTables tables;
    BuildRomanNumerals(tables);
    BuildNumberWords(tables);
    return tables;
}

QList<ChapterEntry> referenceScan(const QString &text, const ScanOptions &options)
{
    const NumberTables tables = numberTables();
    const QString searchText = upperCasedPerUnit(text);
    const int style = int(options.style);

    QList<ChapterEntry> entries;
    // 1-based position of the first occurrence from the first character, 0 when not found.
    const QByteArray bytes = searchBytes(searchText);
    auto search = [&](const QString &pattern) -> qsizetype {
        const QByteArray needle = upperCasedPerUnit(pattern).toLatin1(); // all ASCII
        const void *hit = memmem(bytes.constData(), size_t(bytes.size()), needle.constData(),
                                 size_t(needle.size()));
        return hit ? static_cast<const char *>(hit) - bytes.constData() + 1 : 0;
    };
    auto append = [&](qsizetype p, qsizetype length) {
        QString title;
        if (options.grabWholeLine) {
            const qsizetype lineEnd = text.indexOf(u"\r\n"_s, p - 1);
            title = text.mid(p - 1, (lineEnd < 0 ? text.size() : lineEnd) - (p - 1));
        } else {
            title = text.mid(p - 1, length);
        }
        entries.append({title, QString::number(p - 1)});
    };
    auto heading = [&](const QString &h) {
        if (const qsizetype p = search(h))
            append(p, h.size());
    };

    for (const QString &h : {u"Contents"_s, u"Preface"_s, u"Introduction"_s, u"Prologue"_s})
        heading(h);
    for (int n = 1; n <= 128; ++n) {
        const QString d = QString::number(n);
        const QString numbers[] = {d,
                                   d.size() == 1 ? u"0"_s + d : d,
                                   tables.RomanNumerals[n],
                                   tables.NumberWords[n],
                                   tables.HyphenatedNumberWords[n],
                                   d,
                                   tables.RomanNumerals[n]};
        for (const QString &w : {u"Volume"_s, u"Book"_s, u"Part"_s, u"Section"_s, u"Letter"_s,
                                 u"Day"_s, u"Chapter"_s}) {
            const QString pattern = (style <= 4 ? w + u" "_s : u"\r\n"_s) + numbers[style];
            const qsizetype p = search(pattern);
            if (p == 0)
                continue;
            if (style <= 4) {
                append(p, pattern.size());
                continue;
            }
            append(p + 2, pattern.size() - 2);
            break;
        }
    }
    for (const QString &h : {u"Epilogue"_s, u"Index"_s})
        heading(h);
    return entries;
}
