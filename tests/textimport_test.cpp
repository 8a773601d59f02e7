#include "book/textimport.h"

#include "testfiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct DecodeCase
{
    const char *name;
    QByteArray bytes;
    QString text;
};

QString u16(const char16_t *text)
{
    return QString::fromUtf16(text);
}

TEST(TextImport, ChoosesUtf8OrWindows1252AndMakesLineBreaksCrLf)
{
    const DecodeCase cases[] = {
        {"ascii", "plain text", u16(u"plain text")},
        {"empty", "", QString()},
        {"utf-8 without mark", "caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D",
         u16(u"caf\u00E9 \u201Cq\u201D")},
        {"utf-8 with mark",
         "\xEF\xBB\xBF"
         "caf\xC3\xA9",
         u16(u"caf\u00E9")},
        {"only the mark", "\xEF\xBB\xBF", QString()},
        {"a second mark is a character", "\xEF\xBB\xBF\xEF\xBB\xBFx", QChar(0xFEFF) + u16(u"x")},
        {"mark, then invalid bytes",
         "\xEF\xBB\xBF"
         "a\x93z",
         u16(u"a\uFFFDz")},
        {"four-byte utf-8", "\xF0\x9F\x98\x80", u16(u"\U0001F600")},
        {"windows-1252 quotes", "\x93quoted\x94 caf\xE9", u16(u"\u201Cquoted\u201D caf\u00E9")},
        // Byte strings that look like UTF-8 but are not: read byte by byte instead.
        {"overlong slash", "a\xC0\xAF", u16(u"a\u00C0\u00AF")},
        {"encoded surrogate", "\xED\xA0\x80", u16(u"\u00ED\u00A0\u20AC")},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", u16(u"\u00F4\u0090\u20AC\u20AC")},
        {"cut at the end", "ok\xE2\x80", u16(u"ok\u00E2\u20AC")},
        {"lone continuation", "\x80", u16(u"\u20AC")},
        {"utf-8 late in a long ascii run", QByteArray(1000, 'a') + "\xC3\xA9",
         QString(1000, u'a') + u16(u"\u00E9")},
        {"windows-1252 late in a long ascii run", QByteArray(1000, 'a') + "\xE9",
         QString(1000, u'a') + u16(u"\u00E9")},
        // Line breaks of every kind become CR LF, each exactly one break.
        {"lone LF", "a\nb\n", u16(u"a\r\nb\r\n")},
        {"lone CR", "a\rb\r", u16(u"a\r\nb\r\n")},
        {"CR LF kept", "a\r\nb", u16(u"a\r\nb")},
        {"CR CR LF", "a\r\r\nb", u16(u"a\r\n\r\nb")},
        {"LF CR", "a\n\rb", u16(u"a\r\n\r\nb")},
        {"breaks in windows-1252", "\x93\n\r", u16(u"\u201C\r\n\r\n")},
    };
    for (const DecodeCase &c : cases)
        EXPECT_EQ(decodeTextFile(c.bytes), c.text) << c.name;
}

TEST(TextImport, ReadsAFileOrNamesTheFileThatCannotBeRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.txt"));
    writeBytes(path, "one\ntwo");
    const Result<QString> text = importTextFile(path);
    ASSERT_TRUE(text.ok());
    EXPECT_EQ(text.value(), QStringLiteral("one\r\ntwo"));

    for (const QString &bad : {dir.filePath(QStringLiteral("missing.txt")), dir.path()}) {
        const Result<QString> failed = importTextFile(bad);
        ASSERT_FALSE(failed.ok());
        EXPECT_TRUE(failed.error().message().startsWith(bad))
            << failed.error().message().toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing.txt"))));
}

} // namespace
