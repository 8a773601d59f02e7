#include "bookformat.h"

#include "book/bookfile.h"

#include <QByteArray>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// What a file's name says it is; a text file when it says nothing.
FileKind kindByName(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    const QString name = QFileInfo(path).fileName().toLower();
    if (name.endsWith(u".fb2.zip"_s) || suffix == u"fbz"_s)
        return {BookFormat::FictionBookZip, {}};
    struct Extension
    {
        const char16_t *suffix;
        BookFormat format;
    };
    static const Extension ByName[] = {
        {u"epub", BookFormat::Epub},         {u"fb2", BookFormat::FictionBook},
        {u"mobi", BookFormat::Kindle},       {u"azw", BookFormat::Kindle},
        {u"azw3", BookFormat::Kindle},       {u"prc", BookFormat::Kindle},
        {u"docx", BookFormat::WordDocument}, {u"odt", BookFormat::OpenDocument},
        {u"md", BookFormat::Markdown},       {u"markdown", BookFormat::Markdown},
        {u"pdf", BookFormat::Pdf},
    };
    for (const Extension &extension : ByName) {
        if (suffix == QStringView(extension.suffix))
            return {extension.format, {}};
    }
    return {BookFormat::Text, {}};
}

// A ZIP archive's entry names stand in it as they are, so its kind shows in its bytes: the
// mimetype entry an EPUB book or an OpenDocument starts with, a Word document's main part, a
// FictionBook's file.
FileKind kindOfArchive(const QString &path, QByteArrayView bytes)
{
    if (bytes.contains("application/epub+zip") || bytes.contains("META-INF/container.xml"))
        return {BookFormat::Epub, {}};
    if (bytes.contains("application/vnd.oasis.opendocument.text"))
        return {BookFormat::OpenDocument, {}};
    if (bytes.contains("word/document.xml"))
        return {BookFormat::WordDocument, {}};
    if (bytes.contains(".fb2"))
        return {BookFormat::FictionBookZip, {}};
    // An archive that shows none of these but is named as one of them is that format's
    // reader's to refuse, with what it lacks.
    const FileKind named = kindByName(path);
    const BookFormat packed[] = {BookFormat::Epub, BookFormat::WordDocument,
                                 BookFormat::OpenDocument, BookFormat::FictionBookZip};
    if (std::find(std::begin(packed), std::end(packed), named.format) != std::end(packed))
        return named;
    return {BookFormat::Refused, u"a ZIP archive"_s};
}

} // namespace

FileKind kindOfBook(const QString &path, QByteArrayView bytes)
{
    // Whatever it is called: a file the book file reader takes whole is one.
    if (bytes.size() >= BookFileHeader::Size
        && parseBook(bytes, path, TextLineBreaks::AsStored, CodePage::Western)) {
        return {BookFormat::BookFile, {}};
    }
    if (bytes.startsWith("PK\x03\x04"))
        return kindOfArchive(path, bytes);
    // A Kindle book is a Palm database whose type and creator stand at byte 60.
    if (bytes.size() > 68) {
        const QByteArrayView type = bytes.sliced(60, 8);
        if (type == QByteArrayView("BOOKMOBI") || type == QByteArrayView("TEXtREAd"))
            return {BookFormat::Kindle, {}};
    }
    if (bytes.startsWith("%PDF-"))
        return {BookFormat::Pdf, {}};
    struct Signature
    {
        QByteArrayView start;
        const char16_t *what;
    };
    static const Signature Refused[] = {
        {"\x89PNG", u"an image"},           {"\xFF\xD8\xFF", u"an image"},
        {"GIF8", u"an image"},              {"{\\rtf", u"an RTF document"},
        {"\xD0\xCF\x11\xE0", u"an old Word document"},
        {"\x1F\x8B", u"a gzip archive"},    {"Rar!", u"a RAR archive"},
        {"7z\xBC\xAF", u"a 7-Zip archive"},
    };
    for (const Signature &signature : Refused) {
        if (bytes.startsWith(signature.start))
            return {BookFormat::Refused, QString::fromUtf16(signature.what)};
    }

    const QString suffix = QFileInfo(path).suffix().toLower();
    const QByteArray head =
        bytes.first(std::min<qsizetype>(bytes.size(), 2048)).toByteArray().toLower();
    if (head.contains("<fictionbook"))
        return {BookFormat::FictionBook, {}};
    if (head.contains("<html") || head.contains("<!doctype html") || suffix == u"html"_s
        || suffix == u"htm"_s || suffix == u"xhtml"_s) {
        return {BookFormat::Html, {}};
    }
    // The content told nothing: the name says what the file should be, and that format's
    // reader says what is wrong with it.
    return kindByName(path);
}

QString formatName(BookFormat format)
{
    switch (format) {
    case BookFormat::Text:
        return u"a text file"_s;
    case BookFormat::Markdown:
        return u"a Markdown text"_s;
    case BookFormat::Epub:
        return u"an EPUB book"_s;
    case BookFormat::Html:
        return u"a web page"_s;
    case BookFormat::FictionBook:
    case BookFormat::FictionBookZip:
        return u"a FictionBook"_s;
    case BookFormat::Kindle:
        return u"a Kindle book"_s;
    case BookFormat::WordDocument:
        return u"a Word document"_s;
    case BookFormat::OpenDocument:
        return u"an OpenDocument text"_s;
    case BookFormat::Pdf:
        return u"a PDF document"_s;
    case BookFormat::BookFile:
        return u"a book file"_s;
    case BookFormat::Refused:
        break;
    }
    return {};
}
