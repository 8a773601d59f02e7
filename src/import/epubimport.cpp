#include "epubimport.h"

#include "htmlmarkup.h"
#include "htmltext.h"
#include "tocnavigation.h"
#include "ziparchive.h"

#include "chapters/chaptertable.h"
#include "chapters/rowsontext.h"

#include <QSet>
#include <QUrl>
#include <QXmlStreamReader>

#include <algorithm>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Where a link points inside the archive: an entry's name and the fragment after "#".
struct Target
{
    QString path;
    QString fragment;
};

QString percentDecoded(QStringView text)
{
    return QUrl::fromPercentEncoding(text.toUtf8());
}

// A link of the document at from, resolved to an entry of the archive; nothing for a link that
// leaves it (http: and the like). An empty link is the document itself.
std::optional<Target> resolveLink(const QString &from, QStringView link)
{
    link = link.trimmed();
    Target target;
    if (const qsizetype hash = link.indexOf(u'#'); hash >= 0) {
        target.fragment = percentDecoded(link.sliced(hash + 1));
        link.truncate(hash);
    }
    if (const qsizetype query = link.indexOf(u'?'); query >= 0)
        link.truncate(query);
    if (const qsizetype colon = link.indexOf(u':');
        colon >= 0 && (link.indexOf(u'/') < 0 || colon < link.indexOf(u'/'))) {
        return std::nullopt;
    }
    if (link.isEmpty()) {
        target.path = from;
        return target;
    }

    const QString relative = percentDecoded(link);
    QStringList parts;
    if (!relative.startsWith(u'/')) {
        parts = from.split(u'/', Qt::SkipEmptyParts);
        if (!parts.isEmpty())
            parts.removeLast(); // the document's own name
    }
    for (const QString &part : relative.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u"."_s)
            continue;
        if (part == u".."_s) {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    target.path = parts.join(u'/');
    return target;
}

// Books need no entities of their own; refusing every declaration keeps a few hundred bytes of
// them from expanding to gigabytes in the package, the NCX or any other XML part.
bool declaresEntities(const QByteArray &xml)
{
    return xml.contains("<!ENTITY");
}

// The parts read as XML: the container, the package, the NCX and the encryption list.
bool isXmlPart(const QString &name)
{
    return name.endsWith(u".xml"_s, Qt::CaseInsensitive)
           || name.endsWith(u".opf"_s, Qt::CaseInsensitive)
           || name.endsWith(u".ncx"_s, Qt::CaseInsensitive);
}

// --- container.xml ------------------------------------------------------------------------------

// The package document's path, or what is wrong with the container.
// A package lists a book's files once each, and a navigation document its chapters: the
// largest real books need a few hundred KB and a few MB.
constexpr qint64 MaxPackageBytes = 8 * 1024 * 1024;
constexpr qint64 MaxNavigationBytes = 8 * 1024 * 1024;

struct PackageLocation
{
    QString path;
    QString problem;
};

PackageLocation packagePath(const QByteArray &container)
{
    QXmlStreamReader xml(container);
    QString first;
    while (!xml.atEnd() && !xml.hasError()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"rootfile"_s)
            continue;
        const QString path = xml.attributes().value(u"full-path"_s).toString();
        if (xml.attributes().value(u"media-type"_s) == u"application/oebps-package+xml"_s)
            return {path, {}};
        if (first.isEmpty())
            first = path;
    }
    if (first.isEmpty() && xml.hasError())
        return {{}, xmlProblem(xml)};
    return {first, {}};
}

// --- the package document -----------------------------------------------------------------------

struct ManifestItem
{
    QString path;
    QString mediaType;
    QStringList properties;
};

struct Package
{
    QList<std::pair<QString, QString>> titles; // id and text
    QHash<QString, QString> titleTypes;        // "#id" refined as "main", "subtitle", ...
    QStringList creators;
    QString description;
    QHash<QString, ManifestItem> manifest;
    QStringList spine;       // item ids in reading order
    QSet<QString> auxiliary; // of those, the ones outside the reading order (linear="no")
    QString ncxId;

    QString mainTitle() const
    {
        for (const auto &[id, text] : titles) {
            if (!id.isEmpty() && titleTypes.value(u'#' + id) == u"main"_s)
                return text;
        }
        return titles.isEmpty() ? QString() : titles.first().second;
    }
};

std::variant<Package, QString> readPackage(const QByteArray &bytes, const QString &path)
{
    Package package;
    QSet<QString> spineIds;
    QXmlStreamReader xml(bytes);
    bool spineRead = false;
    while (!xml.atEnd() && !xml.hasError()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            if (xml.isEndElement() && xml.name() == u"spine"_s)
                spineRead = true;
            continue;
        }
        const QStringView name = xml.name();
        const QXmlStreamAttributes attributes = xml.attributes();
        if (name == u"title"_s) {
            const QString id = attributes.value(u"id"_s).toString();
            package.titles.append(
                {id, collapsedLabel(xml.readElementText(QXmlStreamReader::IncludeChildElements))});
        } else if (name == u"creator"_s) {
            const QString creator =
                collapsedLabel(xml.readElementText(QXmlStreamReader::IncludeChildElements));
            if (!creator.isEmpty())
                package.creators.append(creator);
        } else if (name == u"description"_s && package.description.isEmpty()) {
            package.description =
                htmlFragmentToText(xml.readElementText(QXmlStreamReader::IncludeChildElements));
        } else if (name == u"meta"_s && attributes.value(u"property"_s) == u"title-type"_s) {
            package.titleTypes.insert(attributes.value(u"refines"_s).toString(),
                                      xml.readElementText().trimmed());
        } else if (name == u"item"_s) {
            const std::optional<Target> target =
                resolveLink(path, attributes.value(u"href"_s).toString());
            package.manifest.insert(
                attributes.value(u"id"_s).toString(),
                {target ? target->path : QString(), attributes.value(u"media-type"_s).toString(),
                 attributes.value(u"properties"_s).toString().split(u' ', Qt::SkipEmptyParts)});
        } else if (name == u"spine"_s) {
            package.ncxId = attributes.value(u"toc"_s).toString();
        } else if (name == u"itemref"_s) {
            // A document is read once, where the spine first names it, however often a damaged
            // or hostile spine repeats it.
            const QString id = attributes.value(u"idref"_s).toString();
            if (spineIds.contains(id))
                continue;
            spineIds.insert(id);
            package.spine.append(id);
            // Items outside the reading order (a cover, a contents page shown on demand) are
            // part of the text only where the table of contents leads into them.
            if (attributes.value(u"linear"_s) == u"no"_s)
                package.auxiliary.insert(id);
        }
    }
    // Some books have a fault after their spine; what a reader needs was read by then.
    if (xml.hasError() && !spineRead)
        return u"has a package document %1 that cannot be read: %2"_s.arg(path, xmlProblem(xml));
    return package;
}

bool isMarkup(const QString &mediaType)
{
    return (mediaType.contains(u"html"_s) || mediaType.contains(u"xml"_s))
           && !mediaType.contains(u"svg"_s);
}

// The entries that META-INF/encryption.xml says are encrypted.
QSet<QString> encryptedEntries(const QByteArray &bytes)
{
    QSet<QString> entries;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd() && !xml.hasError()) {
        if (xml.readNext() == QXmlStreamReader::StartElement
            && xml.name() == u"CipherReference"_s) {
            if (const std::optional<Target> target =
                    resolveLink(QString(), xml.attributes().value(u"URI"_s).toString()))
                entries.insert(target->path);
        }
    }
    return entries;
}

} // namespace

Result<ImportedBook> readEpub(QByteArrayView bytes, const QString &path)
{
    // One line the user can read, whatever a damaged part said.
    auto refuse = [&](const QString &problem) {
        constexpr qsizetype LongestProblem = 240;
        return FileError{path, problem.size() > LongestProblem
                                   ? problem.left(LongestProblem - 1) + u'\u2026'
                                   : problem};
    };

    ZipArchive archive{bytes.toByteArray()};
    if (const std::optional<QString> problem = archive.open())
        return refuse(*problem);
    auto read = [&](const QString &name) -> std::variant<QByteArray, QString> {
        auto part = archive.read(name);
        const auto *bytes = std::get_if<QByteArray>(&part);
        if (!bytes)
            return part;
        if (isXmlPart(name) && declaresEntities(*bytes))
            return u"%1 declares XML entities, which no book needs; it was not read"_s.arg(name);
        if (const std::optional<QString> crowded = HtmlMarkup::crowdedTag(*bytes))
            return name + u' ' + *crowded;
        return part;
    };

    const QString containerName = u"META-INF/container.xml"_s;
    if (!archive.contains(containerName))
        return refuse(u"is not an EPUB book: %1 is missing"_s.arg(containerName));
    auto container = read(containerName);
    if (const auto *problem = std::get_if<QString>(&container))
        return refuse(*problem);
    const PackageLocation located = packagePath(std::get<QByteArray>(container));
    if (!located.problem.isEmpty())
        return refuse(u"is damaged: %1 cannot be read: %2"_s.arg(containerName, located.problem));
    const QString packageName = located.path;
    if (packageName.isEmpty())
        return refuse(u"is not an EPUB book: %1 names no package document"_s.arg(containerName));
    if (!archive.contains(packageName))
        return refuse(u"lacks its package document %1"_s.arg(packageName));
    // One of many MB only repeats itself, and reading it would cost seconds.
    if (archive.size(packageName) > MaxPackageBytes) {
        return refuse(u"has a package document %1 of more than %2 MB, which no book needs; it "
                      "was not read"_s.arg(packageName)
                          .arg(MaxPackageBytes / (1024 * 1024)));
    }
    auto packageBytes = read(packageName);
    if (const auto *problem = std::get_if<QString>(&packageBytes))
        return refuse(*problem);
    auto parsed = readPackage(std::get<QByteArray>(packageBytes), packageName);
    if (const auto *problem = std::get_if<QString>(&parsed))
        return refuse(*problem);
    const Package &package = std::get<Package>(parsed);

    QList<std::pair<ManifestItem, bool>> spine; // with whether it is outside the reading order
    QSet<QString> spinePaths;
    for (const QString &id : package.spine) {
        const auto item = package.manifest.constFind(id);
        if (item == package.manifest.cend())
            return refuse(
                u"names the item \"%1\" in its spine, which its package does not list"_s.arg(id));
        if (item->path.isEmpty())
            return refuse(
                u"names a content document outside the book in its spine (item \"%1\")"_s.arg(id));
        if (!archive.contains(item->path))
            return refuse(u"lacks the content document %1 named in its spine"_s.arg(item->path));
        if (spinePaths.contains(item->path))
            continue; // items of other names for a document already read
        spinePaths.insert(item->path);
        spine.append({*item, package.auxiliary.contains(id)});
    }
    if (spine.isEmpty())
        return refuse(u"has no content to read: its spine is empty"_s);

    // The table of contents: the EPUB 3 navigation document, or the NCX of EPUB 2 (which EPUB 3
    // books may carry as well).
    QString navName;
    QString ncxName = package.manifest.value(package.ncxId).path;
    for (const ManifestItem &item : package.manifest) {
        if (item.properties.contains(u"nav"_s) && navName.isEmpty())
            navName = item.path;
        if (ncxName.isEmpty() && item.mediaType == u"application/x-dtbncx+xml"_s)
            ncxName = item.path;
    }

    // Fonts may be obfuscated, which changes nothing a reader sees; encrypted text or tables
    // of contents mean the book is locked to a reading system.
    const QString encryptionName = u"META-INF/encryption.xml"_s;
    if (archive.contains(encryptionName)) {
        auto encryption = read(encryptionName);
        if (const auto *problem = std::get_if<QString>(&encryption))
            return refuse(*problem);
        const QSet<QString> encrypted = encryptedEntries(std::get<QByteArray>(encryption));
        bool locked = encrypted.contains(packageName) || encrypted.contains(navName)
                      || encrypted.contains(ncxName);
        for (const auto &[item, auxiliary] : spine)
            locked = locked || encrypted.contains(item.path);
        if (locked)
            return refuse(u"is protected by DRM (its text is encrypted) and cannot be read"_s);
    }

    QList<TocLink> links;
    QString linksFrom;
    QString tableProblem;
    if (!navName.isEmpty() && archive.size(navName) > MaxNavigationBytes) {
        // A navigation document is parsed whole, as a page; one this large holds more entries
        // than a chapter table takes and would cost seconds. The NCX or the headings serve.
        tableProblem = u"its table of contents %1 is larger than %2 MB, more than a chapter "
                       "table can take"_s.arg(navName)
                           .arg(MaxNavigationBytes / (1024 * 1024));
    } else if (!navName.isEmpty() && archive.contains(navName)) {
        auto nav = read(navName);
        if (const auto *markup = std::get_if<QByteArray>(&nav)) {
            links = navigationLinks(*markup);
            linksFrom = navName;
        } else {
            tableProblem = std::get<QString>(nav);
        }
    }
    qsizetype beyond = 0;
    if (links.isEmpty() && !ncxName.isEmpty() && archive.contains(ncxName)) {
        auto ncx = read(ncxName);
        QString damage;
        if (const auto *xml = std::get_if<QByteArray>(&ncx)) {
            links = ncxLinks(*xml, beyond, damage);
            linksFrom = ncxName;
        } else {
            damage = std::get<QString>(ncx);
        }
        if (links.isEmpty() && !damage.isEmpty())
            tableProblem = u"its table of contents %1 is damaged (%2)"_s.arg(ncxName, damage);
    }
    if (!links.isEmpty())
        tableProblem.clear();

    BookDocuments documents;
    // Where the table of contents leads: documents outside the reading order are read there.
    QSet<QString> tocTargets;
    for (const TocLink &link : links) {
        if (const std::optional<Target> target = resolveLink(linksFrom, link.href))
            tocTargets.insert(target->path);
    }
    for (const auto &[item, auxiliary] : spine) {
        // A document the spine lists again is read once, at its first place.
        if (documents.contains(item.path) || (auxiliary && !tocTargets.contains(item.path)))
            continue;
        if (!isMarkup(item.mediaType)) {
            documents.addWithoutText(item.path);
            continue;
        }
        auto markup = read(item.path);
        if (const auto *problem = std::get_if<QString>(&markup))
            return refuse(*problem);
        if (!documents.add(item.path, std::get<QByteArray>(markup)))
            return refuse(
                u"has a content document %1 that cannot be read, not even as damaged HTML"_s.arg(
                    item.path));
    }

    ImportedBook imported;
    Book &book = imported.book;
    book.title = package.mainTitle();
    book.author = package.creators.join(u" & "_s);
    book.synopsis = package.description;
    book.text = documents.finish();
    book.chapters = documents.tableRows(links, linksFrom, beyond);
    imported.chaptersLeftOut = beyond;
    imported.tableProblem = tableProblem;
    return imported;
}

Result<ImportedBook> readHtmlBook(QByteArrayView bytes, const QString &path)
{
    if (const std::optional<QString> crowded = HtmlMarkup::crowdedTag(bytes))
        return FileError{path, *crowded};
    BookDocuments documents;
    const HtmlToText::Document *document = documents.add(path, bytes);
    if (!document)
        return FileError{path, u"cannot be read, not even as damaged HTML"_s};

    ImportedBook imported;
    Book &book = imported.book;
    book.title = document->title;
    book.author = document->author;
    book.text = documents.finish();
    book.chapters = documents.headingRows(imported.chaptersLeftOut);
    return imported;
}

// --- BookDocuments ------------------------------------------------------------------------------

const HtmlToText::Document *BookDocuments::add(const QString &name, QByteArrayView markup)
{
    std::optional<HtmlToText::Document> document = m_writer.addDocument(markup);
    if (!document)
        return nullptr;
    m_documentOf.insert(name, m_documents.size());
    m_documents.append(std::move(*document));
    return &m_documents.last();
}

void BookDocuments::addWithoutText(const QString &name)
{
    m_documentOf.insert(name, m_documents.size());
    m_documents.append({m_writer.markHere(), {}, {}, {}, {}});
}

ChapterRows BookDocuments::tableRows(const QList<TocLink> &links, const QString &linksFrom,
                                     qsizetype &beyond) const
{
    ChapterRows rows;
    for (const TocLink &link : links) {
        if (rows.size() >= MaxChapterRows) {
            ++beyond;
            continue;
        }
        const std::optional<Target> target = resolveLink(linksFrom, link.href);
        const auto document = target ? m_documentOf.constFind(target->path) : m_documentOf.cend();
        if (document == m_documentOf.cend())
            continue; // outside the book's reading order
        const HtmlToText::Document &at = m_documents[*document];
        const HtmlToText::Mark mark = at.ids.value(target->fragment, at.start);
        // The phone opens a chapter where its row points: at the start of a line, never in the
        // middle of the heading's or the entry's line.
        const qsizetype offset = lineStartAt(m_text, m_writer.offset(mark));
        rows.append(
            newChapterRow(shortenedTitle(collapsedLabel(link.label)), QString::number(offset)));
    }
    return rows;
}

ChapterRows BookDocuments::headingRows(qsizetype &beyond) const
{
    QList<HtmlToText::Heading> headings;
    for (const HtmlToText::Document &document : m_documents)
        headings += document.headings;
    ChapterRows rows;
    for (qsizetype i = 0; i < headings.size(); ++i) {
        const HtmlToText::Heading &heading = headings[i];
        if (heading.level > 3 || heading.title.isEmpty())
            continue;
        const qsizetype at = m_writer.offset(heading.mark);
        const bool alone =
            i + 1 < headings.size()
            && m_writer.offset(headings[i + 1].mark) - at <= heading.title.size() + 4;
        const auto letters = std::count_if(heading.title.begin(), heading.title.end(),
                                           [](QChar c) { return c.isLetter(); });
        if (alone && (letters < 4 || heading.title.front().isLower()))
            continue;
        if (rows.size() >= MaxChapterRows) {
            ++beyond;
            continue;
        }
        rows.append(newChapterRow(shortenedTitle(heading.title), QString::number(at)));
    }
    return rows;
}
