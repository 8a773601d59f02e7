#include "bookfile.h"

#include "codepageguess.h"

#include "fileio.h"
#include "offsettext.h"
#include "textimport.h"

#include <QDir>
#include <QFileInfo>
#include <QtEndian>

#include <cstring>

using namespace Qt::StringLiterals;

namespace {

// Encodes text into a fixed-length field: cut at its length, filled with spaces.
void putField(CodePage::Id codePage, char *field, qsizetype length, QStringView text,
              CodePage::Unstorable *unstorable)
{
    char *end = CodePage::encodeInto(codePage, text.left(length), field, unstorable);
    std::memset(end, ' ', length - (end - field));
}

QByteArrayView field(const char *bytes, qsizetype at, qsizetype length)
{
    return QByteArrayView(bytes + at, length);
}

} // namespace

QByteArray serializeBook(const Book &book, CodePage::Unstorable *unstorable)
{
    Q_ASSERT(book.chapters.size() <= BookFileHeader::MaxChapterCount);
    const auto chapterCount = qint32(book.chapters.size());
    const qsizetype textAt = BookFileHeader::Size + ChapterRecord::Size * chapterCount;

    QByteArray bytes(textAt + book.text.size(), Qt::Uninitialized);
    char *header = bytes.data();
    qToLittleEndian<qint16>(1, header + BookFileHeader::Word1);
    qToLittleEndian<qint16>(0, header + BookFileHeader::Word2);
    qToLittleEndian<qint32>(chapterCount, header + BookFileHeader::ChapterCount);
    std::memset(header + BookFileHeader::Reserved8, 0,
                BookFileHeader::Magic - BookFileHeader::Reserved8);
    std::memcpy(header + BookFileHeader::Magic, "VLM", 3);
    const CodePage::Id codePage = book.codePage;
    putField(codePage, header + BookFileHeader::Title, BookFileHeader::TitleLength, book.title,
             unstorable);
    putField(codePage, header + BookFileHeader::Author, BookFileHeader::AuthorLength, book.author,
             unstorable);
    putField(codePage, header + BookFileHeader::Synopsis, BookFileHeader::SynopsisLength,
             book.synopsis, unstorable);
    std::memset(header + BookFileHeader::Reserved1024, 0, BookFileHeader::Reserved1024Length);

    char *record = header + BookFileHeader::Size;
    for (const ChapterEntry &chapter : book.chapters) {
        qToLittleEndian<qint32>(offsetTextToNumber(chapter.offset), record + ChapterRecord::Offset);
        putField(codePage, record + ChapterRecord::Title, ChapterRecord::TitleLength, chapter.title,
                 unstorable);
        record += ChapterRecord::Size;
    }

    CodePage::encodeInto(codePage, book.text, record, unstorable);
    return bytes;
}

QString otherFormatOf(QByteArrayView bytes)
{
    if (bytes.size() > BookFileHeader::Magic + 3
        && bytes.sliced(BookFileHeader::Magic, 3) == QByteArrayView("VLM")) {
        return {};
    }
    if (bytes.startsWith("PK\x03\x04")) {
        // The names of a ZIP archive's entries are stored as they are.
        return bytes.contains("application/epub+zip") || bytes.contains("META-INF/container.xml")
                   ? u"an EPUB book"_s
                   : u"a ZIP archive"_s;
    }
    if (bytes.startsWith("%PDF-"))
        return u"a PDF document"_s;
    for (const QByteArrayView image : {"\x89PNG", "\xFF\xD8\xFF", "GIF8"}) {
        if (bytes.startsWith(image))
            return u"an image"_s;
    }
    const QByteArrayView head = bytes.first(std::min(bytes.size(), BookFileHeader::Size));
    if (head.isEmpty() || head.contains('\0'))
        return {};
    const QByteArray lower = head.toByteArray().toLower();
    if (lower.contains("<html") || lower.contains("<!doctype html"))
        return u"a web page"_s;
    // A file shorter than a header may be a book cut short; it is told as such.
    return bytes.size() >= BookFileHeader::Size ? u"a text file"_s : QString();
}

Result<Book> parseBook(QByteArrayView bytes, const QString &path, TextLineBreaks lineBreaks,
                       std::optional<CodePage::Id> codePage)
{
    const qsizetype size = bytes.size();
    if (size == 0)
        return FileError{path, u"is empty, not a book file"_s};
    if (const QString format = otherFormatOf(bytes); !format.isEmpty()) {
        if (format == u"an image"_s)
            return FileError{path, u"is an image, not a book file"_s};
        return FileError{path, u"is %1, not a book file; import it (File > Import, or make "
                               "--import)"_s.arg(format)};
    }
    if (size < BookFileHeader::Size) {
        return FileError{path, u"is not a book file: it holds %1 bytes, fewer than the %2 of a "
                               "book file's header"_s.arg(size)
                                   .arg(BookFileHeader::Size)};
    }

    const char *data = bytes.data();
    const auto chapterCount = qFromLittleEndian<qint32>(data + BookFileHeader::ChapterCount);
    if (chapterCount < 0) {
        return FileError{path,
                         u"is damaged: its chapter count is negative (%1)"_s.arg(chapterCount)};
    }
    if (chapterCount > BookFileHeader::MaxChapterCount) {
        return FileError{path, u"is damaged: it claims %1 chapters, more than the %2 a book can "
                               "hold"_s.arg(chapterCount)
                                   .arg(BookFileHeader::MaxChapterCount)};
    }
    const qsizetype textAt = BookFileHeader::Size + ChapterRecord::Size * qsizetype(chapterCount);
    if (size < textAt) {
        const qsizetype whole = (size - BookFileHeader::Size) / ChapterRecord::Size;
        return FileError{path, u"is cut short: it claims %1 chapters but holds only %2 whole "
                               "chapter records"_s.arg(chapterCount)
                                   .arg(whole)};
    }

    const QByteArrayView title = field(data, BookFileHeader::Title, BookFileHeader::TitleLength);
    const QByteArrayView author = field(data, BookFileHeader::Author, BookFileHeader::AuthorLength);
    const QByteArrayView synopsis =
        field(data, BookFileHeader::Synopsis, BookFileHeader::SynopsisLength);
    const QByteArrayView text = bytes.sliced(textAt);
    const char *records = data + BookFileHeader::Size;
    // The chapter titles, without the offsets between them, whose bytes are numbers.
    QByteArray titles;
    titles.reserve(ChapterRecord::TitleLength * chapterCount);
    for (qint32 i = 0; i < chapterCount; ++i)
        titles.append(field(records + i * ChapterRecord::Size, ChapterRecord::Title,
                            ChapterRecord::TitleLength));
    Book book;
    book.codePage =
        codePage ? *codePage : CodePage::guessFromBytes({title, author, synopsis, titles, text});
    const auto decode = [&](QByteArrayView field) {
        return CodePage::decode(book.codePage, field);
    };
    book.title = decode(title);
    book.author = decode(author);
    book.synopsis = decode(synopsis);

    book.chapters.reserve(chapterCount);
    const char *record = records;
    for (qint32 i = 0; i < chapterCount; ++i, record += ChapterRecord::Size) {
        const auto offset = qFromLittleEndian<qint32>(record + ChapterRecord::Offset);
        book.chapters.append(
            {decode(field(record, ChapterRecord::Title, ChapterRecord::TitleLength)),
             offsetWithSignPosition(offset)});
    }

    book.text = decode(text);
    if (lineBreaks == TextLineBreaks::MadeCrLf)
        book.text = normalizeLineBreaks(book.text);
    return book;
}

Result<CodePage::Unstorable> SaveBook(const Book &book, const QString &path)
{
    if (book.chapters.size() > BookFileHeader::MaxChapterCount) {
        return FileError{path, u"cannot be saved: the book has %1 chapters, more than the %2 a "
                               "book file can hold"_s.arg(book.chapters.size())
                                   .arg(BookFileHeader::MaxChapterCount)};
    }
    CodePage::Unstorable unstorable;
    const QByteArray bytes = serializeBook(book, &unstorable);
    if (std::optional<FileError> error = writeWholeFile(path, bytes))
        return *error;
    return unstorable;
}

Result<Book> LoadBook(const QString &path, TextLineBreaks lineBreaks,
                      std::optional<CodePage::Id> codePage)
{
    const Result<QByteArray> bytes = readWholeFile(path);
    if (!bytes)
        return bytes.error();
    return parseBook(bytes.value(), path, lineBreaks, codePage);
}

QString proposedBookName(const QString &bookFile, const QString &title, const QString &imported,
                         const QString &lastSaveFolder)
{
    if (!bookFile.isEmpty())
        return bookFile;
    QString name;
    for (const QChar c : title) {
        if (c.isLetterOrNumber() || c == u' ')
            name += c;
    }
    name = name.simplified();
    if (name.isEmpty() && !imported.isEmpty())
        name = QFileInfo(imported).completeBaseName();
    if (name.isEmpty())
        return {};
    const QString folder = !lastSaveFolder.isEmpty() ? lastSaveFolder
                           : !imported.isEmpty()     ? QFileInfo(imported).absolutePath()
                                                     : QString();
    return folder.isEmpty() ? name + u".vlm"_s : QDir(folder).filePath(name + u".vlm"_s);
}

QString withBookExtension(const QString &name)
{
    if (name.right(4).toLower() == u".vlm"_s)
        return name;
    return name + u".vlm"_s;
}
