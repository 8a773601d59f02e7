#include "cleaner/storablecharacters.h"

#include "testfiles.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(StorableCharacters, EachCharacterTakesItsNearestStorableForm)
{
    const struct
    {
        const char *name;
        QString text;
        QString storable;
        qsizetype replaced;
    } cases[] = {
        {"Cyrillic, transliterated; ë and ž are storable", u"Лев Толстой, ёж"_s,
         u"Lev Tolstoj, ëž"_s, 12},
        {"Greek, accents kept where the code page has them", u"Σωκράτης"_s, u"Sokrátes"_s, 8},
        {"Polish and Hungarian letters lose their marks", u"Łódź, Erdős"_s, u"Lódz, Erdos"_s, 3},
        {"a ligature", u"\uFB01nal"_s, u"final"_s, 1},
        {"full-width letters and digits", u"\uFF21\uFF22\uFF11"_s, u"AB1"_s, 3},
        {"CJK", u"中文"_s, u"zhong wén"_s, 2},
        {"an emoji is one question mark", u"ok \U0001F600!"_s, u"ok ?!"_s, 1},
        {"a combining accent joins its letter", u"e\u0301te\u0301"_s, u"été"_s, 2},
        {"a lone surrogate", u"a"_s + QChar(0xD800) + u"b"_s, u"a?b"_s, 1},
        {"what the code page holds never changes", u"é — “x” … ½ € ™ ‘y’ Ÿ"_s,
         u"é — “x” … ½ € ™ ‘y’ Ÿ"_s, 0},
        {"ISO 9 for Cyrillic; line breaks stay", u"Я\r\nI"_s, u"Â\r\nI"_s, 1},
    };
    for (const auto &c : cases) {
        const StorableText result = MakeStorable(c.text);
        EXPECT_EQ(result.text, c.storable) << c.name;
        EXPECT_EQ(result.replaced, c.replaced) << c.name;
    }
}

} // namespace
