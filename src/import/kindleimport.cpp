#include "kindleimport.h"

#include "htmltext.h"

#include <mobi.h>

#include <QtEndian>

#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// More text than any book holds, which a damaged header may claim.
constexpr qsizetype MaxKindleText = 256 * 1024 * 1024;

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

// Whether the Palm database's record list lies inside the file: libmobi sizes each record by
// the next one's place and would otherwise ask for gigabytes a crafted list claims.
bool recordsInside(QByteArrayView bytes)
{
    constexpr qsizetype ListStart = 78, EntrySize = 8;
    if (bytes.size() < ListStart + 2)
        return false;
    const qsizetype count = qFromBigEndian<quint16>(bytes.data() + 76);
    if (count == 0 || ListStart + count * EntrySize + 2 > bytes.size())
        return false;
    qsizetype previous = ListStart + count * EntrySize;
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype offset = qFromBigEndian<quint32>(bytes.data() + ListStart + i * EntrySize);
        if (offset < previous || offset > bytes.size())
            return false;
        previous = offset;
    }
    return true;
}

} // namespace

Result<ImportedBook> readKindleBook(QByteArrayView bytes, const QString &path)
{
    if (!recordsInside(bytes))
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
    // The book's HTML parts, one after another, as one page; where libmobi cannot rebuild
    // them, its markup as stored, which for books of the older kind is that page already.
    QByteArray page;
    const std::unique_ptr<MOBIRawml, MobiFree> rawml(mobi_init_rawml(book.get()));
    if (rawml && mobi_parse_rawml(rawml.get(), book.get()) == MOBI_SUCCESS) {
        for (const MOBIPart *part = rawml->markup; part; part = part->next) {
            if (part->type == T_HTML && part->data)
                page.append(reinterpret_cast<const char *>(part->data), qsizetype(part->size));
        }
    } else {
        std::size_t size = mobi_get_text_maxsize(book.get());
        if (size == 0 || size > std::size_t(MaxKindleText))
            return FileError{path, u"is not a Kindle book that can be read: its text is damaged"_s};
        page.resize(qsizetype(size) + 1);
        if (mobi_get_rawml(book.get(), page.data(), &size) != MOBI_SUCCESS)
            return FileError{path, u"is not a Kindle book that can be read: its text is damaged"_s};
        page.truncate(qsizetype(size));
    }
    if (page.isEmpty())
        return FileError{path, u"holds no text"_s};
    Result<ImportedBook> read = readHtmlBook(page, path);
    if (!read)
        return read;
    ImportedBook imported = std::move(read).value();
    imported.book.title = metadata(mobi_meta_get_title(book.get()));
    imported.book.author = metadata(mobi_meta_get_author(book.get()));
    imported.book.synopsis =
        htmlFragmentToText(metadata(mobi_meta_get_description(book.get())));
    return imported;
}
