#include "kindleimport.h"

#include "htmlmarkup.h"
#include "htmltext.h"
#include "readlimits.h"
#include "tocnavigation.h"

#include <mobi.h>

#include <QtEndian>

#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// More text than any book holds, which a damaged header may claim.

struct MobiFree
{
    void operator()(MOBIData *m) const { mobi_free(m); }
    void operator()(MOBIRawml *rawml) const { mobi_free_rawml(rawml); }
    void operator()(std::FILE *file) const { std::fclose(file); }
    void operator()(char *text) const { std::free(text); }
};

// One of the book's metadata, which libmobi hands over as UTF-8.
QString metadata(char *value)
{
    const std::unique_ptr<char, MobiFree> owned(value);
    return owned ? collapsedLabel(QString::fromUtf8(owned.get())) : QString();
}

// Whether the Palm database's records lie inside the file, and no index (a table of contents,
// for one) claims more entries than the file could hold. libmobi sizes each record by the next
// one's place and an index's entry table by its claimed count, and would otherwise ask for the
// gigabytes a crafted header claims.
bool fitsInFile(QByteArrayView bytes)
{
    constexpr qsizetype ListStart = 78, EntrySize = 8;
    if (bytes.size() < ListStart + 2)
        return false;
    const qsizetype count = qFromBigEndian<quint16>(bytes.data() + 76);
    if (count == 0 || ListStart + count * EntrySize + 2 > bytes.size())
        return false;
    QList<qsizetype> starts;
    qsizetype previous = ListStart + count * EntrySize;
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype offset = qFromBigEndian<quint32>(bytes.data() + ListStart + i * EntrySize);
        if (offset < previous || offset > bytes.size())
            return false;
        starts.append(offset);
        previous = offset;
    }
    // Each entry takes at least its place in the entry table and a byte or two of its own.
    constexpr qsizetype SmallestEntry = 4;
    for (qsizetype i = 0; i < count; ++i) {
        const QByteArrayView record = bytes.sliced(
            starts[i], (i + 1 < count ? starts[i + 1] : bytes.size()) - starts[i]);
        if (!record.startsWith("INDX") || record.size() < 40)
            continue;
        const qsizetype header = qFromBigEndian<quint32>(record.data() + 4);
        const bool describesIndex =
            header <= record.size() - 4 && record.sliced(header).startsWith("TAGX");
        if (describesIndex
            && qFromBigEndian<quint32>(record.data() + 36) > bytes.size() / SmallestEntry)
            return false;
    }
    return true;
}

// The name libmobi's table of contents gives the HTML part numbered uid.
QString partName(std::size_t uid)
{
    return u"part%1.html"_s.arg(uid, 5, 10, QChar(u'0'));
}

} // namespace

Result<ImportedBook> readKindleBook(QByteArrayView bytes, const QString &path)
{
    if (!fitsInFile(bytes))
        return FileError{path, u"is not a Kindle book that can be read: it is damaged"_s};
    // libmobi reads from a stream; the bytes are already in memory.
    const std::unique_ptr<std::FILE, MobiFree> stream(
        fmemopen(const_cast<char *>(bytes.data()), std::size_t(bytes.size()), "rb"));
    const std::unique_ptr<MOBIData, MobiFree> book(mobi_init());
    if (!stream || !book || bytes.isEmpty())
        return FileError{path, u"is not a Kindle book that can be read"_s};
    if (mobi_load_file(book.get(), stream.get()) != MOBI_SUCCESS)
        return FileError{path, u"is not a Kindle book that can be read: it is damaged"_s};
    if (mobi_is_encrypted(book.get()))
        return FileError{path, u"is protected by DRM (its text is encrypted) and cannot be read"_s};
    // The book's HTML parts, one after another, under the names libmobi's table of contents
    // links to; where libmobi cannot rebuild them, its markup as stored, which for books of the
    // older kind is that page already.
    BookDocuments documents;
    bool anyPart = false;
    auto addPart = [&](const QString &name, QByteArrayView markup) -> std::optional<FileError> {
        if (const std::optional<QString> crowded = HtmlMarkup::crowdedTag(markup))
            return FileError{path, *crowded};
        if (!documents.add(name, markup))
            return FileError{path, u"cannot be read, not even as damaged HTML"_s};
        anyPart = true;
        return std::nullopt;
    };
    // The text records say how long the text inflates to; libmobi inflates all of it at once.
    const std::size_t textSize = mobi_get_text_maxsize(book.get());
    if (textSize > std::size_t(ReadLimits::MaxMarkupBytes))
        return FileError{path, ReadLimits::tooMuchMarkup()};
    QByteArray contents; // the NCX libmobi makes of the book's table of contents
    const std::unique_ptr<MOBIRawml, MobiFree> rawml(mobi_init_rawml(book.get()));
    if (rawml && mobi_parse_rawml(rawml.get(), book.get()) == MOBI_SUCCESS) {
        for (const MOBIPart *part = rawml->markup; part; part = part->next) {
            if (part->type != T_HTML || !part->data)
                continue;
            const QByteArrayView markup(part->data, qsizetype(part->size));
            if (auto refused = addPart(partName(part->uid), markup))
                return *refused;
        }
        for (const MOBIPart *part = rawml->resources; part; part = part->next) {
            if (part->type == T_NCX && part->data)
                contents = QByteArray(reinterpret_cast<const char *>(part->data),
                                      qsizetype(part->size));
        }
    } else {
        std::size_t size = textSize;
        if (size == 0)
            return FileError{path, u"is not a Kindle book that can be read: its text is damaged"_s};
        QByteArray page(qsizetype(size) + 1, Qt::Uninitialized);
        if (mobi_get_rawml(book.get(), page.data(), &size) != MOBI_SUCCESS)
            return FileError{path, u"is not a Kindle book that can be read: its text is damaged"_s};
        page.truncate(qsizetype(size));
        if (!page.isEmpty()) {
            if (auto refused = addPart(partName(0), page))
                return *refused;
        }
    }
    if (!anyPart)
        return FileError{path, u"holds no text"_s};

    ImportedBook imported;
    imported.book.text = documents.finish();
    // The book's own table of contents where it has one, as EPUB books give theirs; else its
    // headings, as a web page's.
    QString damage;
    const QList<TocLink> links = ncxLinks(contents, imported.chaptersLeftOut, damage);
    imported.book.chapters =
        links.isEmpty() ? documents.headingRows(imported.chaptersLeftOut)
                        : documents.tableRows(links, u"toc.ncx"_s, imported.chaptersLeftOut);
    imported.book.title = metadata(mobi_meta_get_title(book.get()));
    imported.book.author = metadata(mobi_meta_get_author(book.get()));
    imported.book.synopsis =
        htmlFragmentToText(metadata(mobi_meta_get_description(book.get())));
    return imported;
}
