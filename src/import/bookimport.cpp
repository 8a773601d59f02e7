#include "bookimport.h"

#include "bookformat.h"
#include "documentimport.h"
#include "fictionbook.h"
#include "kindleimport.h"
#include "markdownimport.h"
#include "pdfimport.h"
#include "readlimits.h"
#include "textencoding.h"

#include "book/codepageguess.h"
#include "book/fileio.h"
#include "chapters/bookedits.h"

#include <QFileInfo>

#include <libxml/parser.h>

using namespace Qt::StringLiterals;

namespace {

Result<ImportedBook> readTextBook(QByteArrayView bytes, const QString &path)
{
    DecodedText decoded = decodeAnyText(bytes);
    // Text of two or four bytes a character has zero bytes throughout; anything else with
    // control bytes throughout is no text at all.
    const bool wide =
        decoded.encoding.startsWith(u"UTF-16"_s) || decoded.encoding.startsWith(u"UTF-32"_s);
    if (!wide && looksBinary(bytes)) {
        return FileError{path, u"holds binary data, not text; it is no book Leafwright can "
                               "import"_s};
    }
    ImportedBook imported;
    imported.book.text = std::move(decoded.text);
    imported.encoding = std::move(decoded.encoding);
    return imported;
}

} // namespace

// The file's content read by the reader of its format.
Result<ImportedBook> readByFormat(const QString &path)
{
    // Every file is read whole into memory; none the program accepts is larger than what a
    // book's content may expand to.
    const QFileInfo info(path);
    if (info.isFile() && info.size() > ReadLimits::MaxFileBytes) {
        return FileError{path, u"is larger than %1 MB, more than any book needs; it was not "
                               "read"_s.arg(ReadLimits::MaxFileBytes / (1024 * 1024))};
    }
    const Result<QByteArray> read = readWholeFile(path);
    if (!read)
        return read.error();
    const QByteArray &bytes = read.value();

    const FileKind kind = kindOfBook(path, bytes);
    // A web page, a FictionBook or Markdown is markup read whole; a text is its own text, and
    // the other formats bound what they inflate.
    const bool markup = kind.format == BookFormat::Html || kind.format == BookFormat::FictionBook
                        || kind.format == BookFormat::Markdown;
    if (markup && bytes.size() > ReadLimits::MaxMarkupBytes)
        return FileError{path, ReadLimits::tooMuchMarkup()};
    switch (kind.format) {
    case BookFormat::Text:
        return readTextBook(bytes, path);
    case BookFormat::Markdown:
        return readMarkdownBook(bytes, path);
    case BookFormat::Epub:
        return readEpub(bytes, path);
    case BookFormat::Html:
        return readHtmlBook(bytes, path);
    case BookFormat::FictionBook:
        return readFictionBook(bytes, path);
    case BookFormat::FictionBookZip:
        return readFictionBookZip(bytes, path);
    case BookFormat::Kindle:
        return readKindleBook(bytes, path);
    case BookFormat::WordDocument:
        return readWordDocument(bytes, path);
    case BookFormat::OpenDocument:
        return readOpenDocument(bytes, path);
    case BookFormat::Pdf:
        return readPdfBook(bytes, path);
    case BookFormat::BookFile:
        return FileError{path, u"is a book file, not a book to import; open it (File > Open, or "
                               "make --open)"_s};
    case BookFormat::Refused:
        break;
    }
    return FileError{path, u"is %1, not a book Leafwright can import"_s.arg(kind.what)};
}

Result<ImportedBook> importBook(const QString &path, std::optional<CodePage::Id> codePage)
{
    Result<ImportedBook> read = readByFormat(path);
    if (!read)
        return read;
    ImportedBook imported = std::move(read).value();
    const CodePage::Id chosen = codePage ? *codePage : CodePage::guessFromText(imported.book);
    imported.book = BookInCodePage(imported.book, chosen).book;
    return imported;
}

bool isImportedByName(const QString &path)
{
    static const QStringList Extensions = {
        u"txt"_s,  u"text"_s, u"epub"_s, u"html"_s, u"htm"_s,  u"xhtml"_s, u"fb2"_s, u"fbz"_s,
        u"mobi"_s, u"azw"_s,  u"azw3"_s, u"prc"_s,  u"docx"_s, u"odt"_s,   u"md"_s,  u"markdown"_s,
        u"pdf"_s};
    const QString name = QFileInfo(path).fileName().toLower();
    return Extensions.contains(QFileInfo(name).suffix()) || name.endsWith(u".fb2.zip"_s);
}

void prepareImport()
{
    xmlInitParser();
}
