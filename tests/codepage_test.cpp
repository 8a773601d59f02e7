// Book files in the code page of the reader's language: every byte read and written back in each,
// a sentence of each language saved and opened in its own, the guesses on import and on open,
// and box 7 keeping what the book's code page holds.

#include "book/bookfile.h"
#include "book/codepage.h"
#include "book/codepageguess.h"
#include "cleaner/textcleaner.h"
#include "import/bookimport.h"

#include "testfiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <numeric>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using CodePage::Id;

namespace {

QByteArray everyByte()
{
    QByteArray every(256, Qt::Uninitialized);
    std::iota(every.begin(), every.end(), char(0));
    return every;
}

} // namespace

// Each code page's own letters where its table puts them; a byte it leaves undefined reads as
// the character of the same value (Windows-1252's five, Greek's 0xD2, the Thai bytes ICU gives
// private characters); every byte string reads and writes back to itself, and every unit no byte
// reads as is written "?".
TEST(CodePage, EveryByteReadsAndWritesBackInEveryCodePage)
{
    const struct
    {
        Id codePage;
        QByteArray bytes;
        QString characters;
    } cases[] = {
        {Id::Windows1252, "\x80\x81\x8D\x8F\x90\x9D\x9F\xE9",
         u"\u20AC\u0081\u008D\u008F\u0090\u009D\u0178\u00E9"_s},
        {Id::Windows1250, "\xB3\xB9\x9C\xBF\xE8\xF8", u"łąśżčř"_s},
        {Id::Windows1251, "\xC0\xFF\xA8\xB8\xB2\x98", u"АяЁёІ\u0098"_s},
        {Id::Windows1253, "\xC1\xDC\xF9\xD2\xFF", u"Αάω\u00D2\u00FF"_s},
        {Id::Windows1254, "\xD0\xDD\xDE\xF0\xFD\xFE", u"ĞİŞğış"_s},
        {Id::Windows1255, "\xE0\xFA\xC8\xA4", u"את\u05B8\u20AA"_s},
        {Id::Windows1256, "\xC7\xE1\xE9\x81", u"الé\u067E"_s},
        {Id::Windows1257, "\xE0\xEB\xF8\xFB", u"ąėųū"_s},
        {Id::Windows1258, "\xEC\xD2\xF5\xFD\xF0\xC3", u"\u0301\u0309ơưđĂ"_s},
        {Id::Windows874, "\xA1\xE0\xDB\xFF\x80", u"กเ\u00DB\u00FF\u20AC"_s},
    };
    for (const auto &[codePage, bytes, characters] : cases) {
        SCOPED_TRACE(CodePage::name(codePage).toStdString());
        EXPECT_EQ(CodePage::decode(codePage, bytes), characters);
        EXPECT_EQ(CodePage::encode(codePage, characters), bytes);

        const QString ofBytes = CodePage::decode(codePage, everyByte());
        EXPECT_EQ(CodePage::encode(codePage, ofBytes), everyByte());
        for (uint unit = 0; unit <= 0xFFFF; ++unit) {
            const bool held = ofBytes.contains(QChar(unit));
            ASSERT_EQ(CodePage::holds(codePage, char16_t(unit)), held) << unit;
            if (!held && !QChar::isSurrogate(unit)) {
                ASSERT_EQ(CodePage::encode(codePage, QString(QChar(unit))), "?") << unit;
            }
        }
    }
    EXPECT_EQ(CodePage::parse(u"1251"), Id::Windows1251);
    EXPECT_EQ(CodePage::parse(u"Windows-874"), Id::Windows874);
    EXPECT_EQ(CodePage::parse(u"CP1258"), Id::Windows1258);
    EXPECT_EQ(CodePage::parse(u"1259"), std::nullopt);
    EXPECT_EQ(CodePage::parse(u"utf-8"), std::nullopt);
}

// A sentence of each language is imported (from UTF-8) into its own code page, saved with every
// letter kept, and opened again in that code page; Vietnamese holds its tones apart in the text
// too. A Western sentence with curly quotes and accents stays Western both ways.
TEST(CodePage, ALanguageIsSavedAndOpenedInItsOwnCodePage)
{
    const std::pair<Id, QString> cases[] = {
        {Id::Windows1251, u"В начале июля, в чрезвычайно жаркое время, под вечер, один молодой "
                          "человек вышел из своей каморки на улицу."_s},
        {Id::Windows1251, u"Він їхав через поле, і вітер співав йому пісню про далеку "
                          "батьківщину, де ґанок біля хати."_s},
        {Id::Windows1250, u"Litwo! Ojczyzno moja! ty jesteś jak zdrowie. Ile cię trzeba cenić, "
                          "ten tylko się dowie, kto cię stracił. Zażółć gęślą jaźń."_s},
        {Id::Windows1250, u"Příliš žluťoučký kůň úpěl ďábelské ódy. Čeština patří mezi "
                          "západoslovanské jazyky."_s},
        {Id::Windows1253, u"Η ελληνική γλώσσα είναι μία από τις αρχαιότερες γλώσσες της "
                          "Ευρώπης, με ιστορία τριών χιλιετιών."_s},
        {Id::Windows1254, u"Türkçe, Türkiye Cumhuriyeti'nin resmî dilidir. Günümüzde yaklaşık "
                          "seksen milyon kişinin ana dili olan Türkçe, ağırlıklı olarak "
                          "Anadolu'da konuşulur."_s},
        {Id::Windows1255, u"עברית היא שפה שמית ממשפחת השפות האפרו-אסיאתיות. היא השפה הרשמית של "
                          "מדינת ישראל."_s},
        {Id::Windows1256, u"اللغة العربية هي أكثر اللغات السامية تحدثا، وإحدى أكثر اللغات "
                          "انتشارا في العالم."_s},
        // Points and vowel signs, which the other scripts' code pages read as letters.
        {Id::Windows1255,
         u"\u05D1\u05B0\u05BC\u05E8\u05B5\u05D0\u05E9\u05C1\u05B4\u05D9\u05EA "
         "\u05D1\u05B8\u05BC\u05E8\u05B8\u05D0 \u05D0\u05B1\u05DC\u05B9\u05D4\u05B4"
         "\u05D9\u05DD \u05D0\u05B5\u05EA \u05D4\u05B7\u05E9\u05B8\u05BC\u05C1"
         "\u05DE\u05B7\u05D9\u05B4\u05DD \u05D5\u05B0\u05D0\u05B5\u05EA "
         "\u05D4\u05B8\u05D0\u05B8\u05E8\u05B6\u05E5."_s},
        {Id::Windows1256, u"\u0628\u0650\u0633\u0652\u0645\u0650 \u0627\u0644\u0644\u0651"
                          "\u064E\u0647\u0650 \u0627\u0644\u0631\u0651\u064E\u062D\u0652"
                          "\u0645\u064E\u0646\u0650 \u0627\u0644\u0631\u0651\u064E\u062D"
                          "\u0650\u064A\u0645\u0650. \u0627\u0644\u0652\u062D\u064E\u0645"
                          "\u0652\u062F\u064F \u0644\u0650\u0644\u0651\u064E\u0647\u0650 "
                          "\u0631\u064E\u0628\u0651\u0650 \u0627\u0644\u0652\u0639\u064E"
                          "\u0627\u0644\u064E\u0645\u0650\u064A\u0646\u064E."_s},
        {Id::Windows1257, u"Lietuvių kalba yra viena iš dviejų gyvųjų baltų kalbų. Ja kalba apie "
                          "tris milijonus žmonių, daugiausia Lietuvoje. Čia gyvenę žmonės "
                          "išsaugojo senąją kalbą, o rašoma ji lotyniškomis raidėmis su "
                          "nosinėmis ir paukščiukais."_s},
        {Id::Windows1258, u"Tiếng Việt là ngôn ngữ chính thức của Việt Nam. Người Việt viết chữ "
                          "Quốc ngữ bằng chữ cái Latinh với nhiều dấu thanh."_s},
        {Id::Windows874, u"ภาษาไทยเป็นภาษาราชการของประเทศไทย และเป็นภาษาแม่ของชาวไทย"_s},
        {Id::Windows1252,
         u"\u00AB L\u2019\u00E9t\u00E9 dernier, \u00E0 No\u00EBl, \u00E7a m\u2019a "
         "co\u00FBt\u00E9 cher \u00BB, dit-elle. \u201CGr\u00F6\u00DFere "
         "\u00DCbungen\u201D \u2014 se\u00F1or."_s},
        {Id::Windows1252, u"Plain English, nothing more."_s},
    };
    QTemporaryDir dir;
    for (const auto &[codePage, sentence] : cases) {
        SCOPED_TRACE(sentence.toStdString());
        const QString source = dir.filePath(u"book.txt"_s);
        writeBytes(source, sentence.toUtf8());
        const Result<ImportedBook> imported = importBook(source);
        ASSERT_TRUE(imported);
        Book book = imported.value().book;
        EXPECT_EQ(book.codePage, codePage);
        EXPECT_EQ(book.text, CodePage::heldForm(codePage, sentence));
        EXPECT_EQ(book.text.normalized(QString::NormalizationForm_C),
                  sentence.normalized(QString::NormalizationForm_C));

        const QString saved = dir.filePath(u"book.vlm"_s);
        const Result<CodePage::Unstorable> written = SaveBook(book, saved);
        ASSERT_TRUE(written);
        EXPECT_EQ(written.value().count, 0);
        const Result<Book> opened = LoadBook(saved);
        ASSERT_TRUE(opened);
        EXPECT_EQ(opened.value().codePage, codePage);
        EXPECT_EQ(opened.value().text, book.text);
    }
}

// A book in one script with a few words of another stays in its own code page; a Western book
// whose only letters beyond ASCII would read as well in another code page stays Western.
TEST(CodePage, GuessesPreferWesternOnATie)
{
    const QString english =
        u"It was the best of times, it was the worst of times. "_s.repeated(400);
    const std::pair<QString, Id> texts[] = {
        {english + u"\u03BB\u03CC\u03B3\u03BF\u03C2"_s, Id::Windows1252},
        {english + u"\u0141\u00F3d\u017A"_s, Id::Windows1252},
        {u"caf\u00E9 na\u00EFve"_s, Id::Windows1252},
        {QString(), Id::Windows1252},
    };
    for (const auto &[text, codePage] : texts)
        EXPECT_EQ(CodePage::guessFromText({text}), codePage) << text.toStdString();

    const std::pair<QByteArray, Id> bytes[] = {
        {"caf\xE9 \x93quoted\x94 \x85", Id::Windows1252},
        {"\xE8 \xF8", Id::Windows1252},
        {QByteArray("Plain ASCII.\r\n"), Id::Windows1252},
    };
    for (const auto &[stored, codePage] : bytes)
        EXPECT_EQ(CodePage::guessFromBytes({stored}), codePage) << stored.toStdString();
}

// The real books of the corpus, imported with nothing chosen, are Western books, and so are the
// book files made of them when they are opened again, the chapter records' offsets whatever
// bytes they hold.
TEST(CodePage, EveryCorpusBookStaysWestern)
{
    QStringList books = corpusBooks();
    const QString epubs = corpusDir() + u"/epub/"_s;
    for (const QString &name : QDir(epubs).entryList({u"*.epub"_s}, QDir::Files))
        books << epubs + name;
    for (const QString &path : books) {
        const Result<ImportedBook> imported = importBook(path);
        ASSERT_TRUE(imported) << path.toStdString();
        const Book &book = imported.value().book;
        EXPECT_EQ(book.codePage, Id::Windows1252) << path.toStdString();
        const Result<Book> opened = parseBook(serializeBook(book), path);
        ASSERT_TRUE(opened);
        EXPECT_EQ(opened.value().codePage, Id::Windows1252) << path.toStdString();
    }
}

// Box 7 replaces only what the book's code page cannot hold, by its nearest form in that code
// page, and its report names the code page.
TEST(CodePage, Box7KeepsWhatTheBooksCodePageHolds)
{
    const struct
    {
        Id codePage;
        QString text;
        QString storable;
    } cases[] = {
        {Id::Windows1251, u"Лев Толстой — «Война и мир», ½"_s,
         u"Лев Толстой — «Война и мир», 1/2"_s},
        {Id::Windows1252, u"Лев Толстой"_s, u"Lev Tolstoj"_s},
        {Id::Windows1250, u"Łódź à “x” ß"_s, u"Łódź a “x” ß"_s},
        {Id::Windows1253, u"Σωκράτης, Łódź"_s, u"Σωκράτης, Lodz"_s},
        {Id::Windows1258, u"Việt e\u0301 Ł"_s, u"Vi\u00EA\u0323t e\u0301 L"_s},
        {Id::Windows1255, u"\uFB2A\u05DC\u05D5\u05DD"_s, u"\u05E9\u05C1\u05DC\u05D5\u05DD"_s},
    };
    CleanerBoxes box7{};
    box7[StorableCharactersBox] = true;
    for (const auto &[codePage, text, storable] : cases) {
        SCOPED_TRACE(text.toStdString());
        const CleanOutcome outcome = Clean(text, box7, codePage);
        EXPECT_EQ(outcome.text, storable);
        EXPECT_EQ(CodePage::unstorableIn(codePage, outcome.text).count, 0);
        EXPECT_TRUE(describeClean(outcome, box7)
                        .join(u' ')
                        .contains(u"in Windows-%1 cannot hold"_s.arg(int(codePage))));
    }
}
