// Writes the inputs the fuzz targets start from: small books like those the tests build, and
// texts with the headings, quotes, indents and line breaks the program looks for.
//
//   make_fuzz_inputs FOLDER   (FOLDER/<target>/ for each target)

#include "book/bookfile.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

namespace {

void write(const QString &folder, const QString &name, const QByteArray &bytes)
{
    QDir().mkpath(folder);
    QFile file(folder + u'/' + name);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

const QByteArray Texts[] = {
    "Contents\r\nChapter 1\r\nChapter 2\r\n\r\nChapter 1\r\nIt was a dark night.\r\n",
    "BOOK ONE\r\nCHAPTER I\r\n\r\n  \x93Well,\x94 she said, \x93it's John's.\x94\r\n\tIndented\r\n",
    "Prologue\r\n1\r\nOne\r\n12\r\nTwelve\r\nVII\r\nSeven\r\nEpilogue\r\nIndex\r\n",
    "Chapter Twenty-one\r\nChapter One Hundren and one\r\nPart 2 Day 3 Letter 4\r\n",
    "a\r\n\r\n\r\nb  c   d\r\n   e<PAR>f`g'h\"s\r\n",
    "one\ntwo\rthree\r\n",
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2)
        return 2;
    const QString root = QString::fromLocal8Bit(argv[1]);

    int n = 0;
    for (const QByteArray &text : Texts) {
        const QString name = u"text%1"_s.arg(++n);
        Book book{u"Title"_s,
                  u"Author"_s,
                  u"Synopsis\r\nline"_s,
                  {{u"Chapter 1"_s, u" 0"_s}, {u"Two"_s, u"12"_s}},
                  QString::fromLatin1(text)};
        write(root + u"/fuzz_loadbook"_s, name, serializeBook(book));
        write(root + u"/fuzz_textimport"_s, name, text);
        const QString utf16 = QString::fromLatin1(text);
        write(root + u"/fuzz_scan"_s, name,
              char(n)
                  + QByteArray(reinterpret_cast<const char *>(utf16.utf16()), utf16.size() * 2));
        write(root + u"/fuzz_headings"_s, name,
              QByteArray(reinterpret_cast<const char *>(utf16.utf16()), utf16.size() * 2));
        write(root + u"/fuzz_cleaner"_s, name, char(0x3F) + text);
        write(root + u"/fuzz_replace"_s, name,
              text
                  + "\xFF"
                    "chapter"
                    "\xFF"
                    "Part");
    }
    write(root + u"/fuzz_loadbook"_s, u"empty"_s, serializeBook(Book{}));
    return 0;
}
