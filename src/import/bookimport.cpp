#include "bookimport.h"

#include "ziparchive.h"

#include "book/fileio.h"
#include "book/textimport.h"

#include <QFileInfo>

#include <libxml/parser.h>

using namespace Qt::StringLiterals;

namespace {

enum class Format { Text, Epub, Html };

Format formatOf(const QString &path, const QString &recognised)
{
    // A file Open recognised by its bytes is read as what it is, whatever its name.
    if (recognised == u"an EPUB book"_s)
        return Format::Epub;
    if (recognised == u"a web page"_s)
        return Format::Html;
    if (recognised == u"a text file"_s)
        return Format::Text;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"epub"_s)
        return Format::Epub;
    if (suffix == u"html"_s || suffix == u"htm"_s || suffix == u"xhtml"_s)
        return Format::Html;
    return Format::Text;
}

} // namespace

Result<ImportedBook> importBook(const QString &path, const QString &recognised)
{
    const Format format = formatOf(path, recognised);
    if (format == Format::Text) {
        Result<QString> text = importTextFile(path);
        if (!text)
            return text.error();
        ImportedBook imported;
        imported.book.text = std::move(text).value();
        return imported;
    }

    // Such files are read whole into memory; none the program accepts is larger than what its
    // content may expand to.
    const QFileInfo info(path);
    if (info.isFile() && info.size() > ZipArchive::MaxContentBytes) {
        return FileError{path, u"is larger than %1 MB, more than any book needs; it was not "
                               "read"_s.arg(ZipArchive::MaxContentBytes / (1024 * 1024))};
    }
    const Result<QByteArray> bytes = readWholeFile(path);
    if (!bytes)
        return bytes.error();
    return format == Format::Epub ? readEpub(bytes.value(), path)
                                  : readHtmlBook(bytes.value(), path);
}

const QStringList &importedExtensions()
{
    static const QStringList extensions = {u"txt"_s,  u"text"_s, u"epub"_s,
                                           u"html"_s, u"htm"_s,  u"xhtml"_s};
    return extensions;
}

void prepareImport()
{
    xmlInitParser();
}
