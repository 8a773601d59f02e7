#include "book/codepage.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct CharacterCase
{
    unsigned char byte;
    char16_t character;
};

// The bytes whose character differs from their value, the five undefined ones and the ends of
// the identity ranges.
constexpr CharacterCase DecodeCases[] = {
    {0x00, 0x0000}, {0x7F, 0x007F}, {0x80, 0x20AC}, {0x81, 0x0081}, {0x82, 0x201A}, {0x85, 0x2026},
    {0x8D, 0x008D}, {0x8F, 0x008F}, {0x90, 0x0090}, {0x91, 0x2018}, {0x92, 0x2019}, {0x93, 0x201C},
    {0x94, 0x201D}, {0x96, 0x2013}, {0x97, 0x2014}, {0x99, 0x2122}, {0x9D, 0x009D}, {0x9F, 0x0178},
    {0xA0, 0x00A0}, {0xE9, 0x00E9}, {0xFF, 0x00FF},
};

TEST(CodePage, DecodesAndEncodesEachByteAsWindows1252)
{
    for (const CharacterCase &c : DecodeCases) {
        const char byte = char(c.byte);
        EXPECT_EQ(CodePage::decode(QByteArrayView(&byte, 1)), QString(QChar(c.character)))
            << "byte " << int(c.byte);
        EXPECT_EQ(CodePage::encode(QString(QChar(c.character))), QByteArray(1, byte))
            << "character " << int(c.character);
    }
}

TEST(CodePage, AnyBytesSurviveDecodeThenEncode)
{
    QByteArray every(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i)
        every[i] = char(i);
    EXPECT_EQ(CodePage::encode(CodePage::decode(every)), every);

    std::mt19937 random(1252);
    QByteArray noise(100000, Qt::Uninitialized);
    for (char &byte : noise)
        byte = char(random());
    EXPECT_EQ(CodePage::encode(CodePage::decode(noise)), noise);
}

struct UnstorableCase
{
    const char16_t *text;
    const char *bytes;
    qsizetype count;
    char32_t first;
};

const UnstorableCase UnstorableCases[] = {
    {u"plain", "plain", 0, 0},
    {u"\u201Cquoted\u201D \u2014 caf\u00E9", "\x93quoted\x94 \x97 caf\xE9", 0, 0},
    // C1 controls other than the five undefined bytes have no place in the code page.
    {u"a\u0080b", "a?b", 1, 0x80},
    {u"\u03A9 and \u0100", "? and ?", 2, 0x03A9},
    // Each unit of a pair becomes one "?", so offsets stay byte offsets; the pair counts once.
    {u"x\U0001F600y", "x??y", 1, 0x1F600},
    {u"\xD800z", "?z", 1, 0xD800},
};

TEST(CodePage, StoresUnrepresentableUnitsAsQuestionMarksAndTalliesThem)
{
    for (const UnstorableCase &c : UnstorableCases) {
        const QString text = QString::fromUtf16(c.text);
        CodePage::Unstorable unstorable;
        const QByteArray bytes = CodePage::encode(text, &unstorable);
        EXPECT_EQ(bytes, QByteArray(c.bytes)) << text.toStdString();
        EXPECT_EQ(bytes.size(), text.size());
        EXPECT_EQ(unstorable.count, c.count) << text.toStdString();
        if (c.count > 0) {
            EXPECT_EQ(unstorable.first, c.first) << text.toStdString();
        }
    }
}

} // namespace
