#include "fictionbook.h"

#include "htmlmarkup.h"
#include "htmltext.h"
#include "pagebook.h"
#include "tocnavigation.h"
#include "ziparchive.h"

#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace HtmlMarkup;

namespace {

// Elements by their local name, whatever namespace prefix the book gives them.
bool is(const xmlNode *node, const char *name)
{
    return node && node->type == XML_ELEMENT_NODE
           && xmlStrcmp(node->name, reinterpret_cast<const xmlChar *>(name)) == 0;
}

const xmlNode *child(const xmlNode *node, const char *name)
{
    for (const xmlNode *each = node ? node->children : nullptr; each; each = each->next) {
        if (is(each, name))
            return each;
    }
    return nullptr;
}

QString textOf(const xmlNode *node)
{
    QString text;
    if (node)
        gatherText(node, text);
    return collapsedLabel(text);
}

// A link's target, in either of the two prefixes books use for XLink.
QString linkTarget(const xmlNode *node)
{
    for (const xmlAttr *attr = node->properties; attr; attr = attr->next) {
        if (xmlStrcmp(attr->name, reinterpret_cast<const xmlChar *>("href")) == 0) {
            xmlChar *value = xmlNodeListGetString(node->doc, attr->children, 1);
            QString target = fromXml(value);
            xmlFree(value);
            return target;
        }
    }
    return {};
}

// Writes a FictionBook's bodies as one HTML page: sections as divisions, a section's title as a
// heading with an id, the chapter table's entries as it goes.
class PageWriter
{
public:
    PageBook page;
    // Paragraphs set apart in bold alone, as some converters write the titles of sections that
    // have none: the chapters of a book whose sections name none.
    QList<PageBook::Entry> standingBold;

    void body(const xmlNode *node)
    {
        // Notes and comments follow the story; their numbered sections are no chapters.
        const QString name = attribute(node, "name");
        const bool story = name.isEmpty();
        for (const xmlNode *each = node->children; each; each = each->next) {
            if (is(each, "title")) {
                lines(each, story ? "h1" : "h2", story ? QString() : textOf(each), {});
            } else if (is(each, "section")) {
                section(each, {}, story);
            } else {
                block(each);
            }
        }
    }

private:
    void section(const xmlNode *node, const QString &parent, bool chapters)
    {
        page.html += "<div>";
        QString label = parent;
        for (const xmlNode *each = node->children; each; each = each->next) {
            if (is(each, "title")) {
                label = textOf(each);
                // A title that is a number alone reads with its parent's, as in a table of
                // contents.
                if (isNumberOnly(label) && !parent.isEmpty())
                    label = parent + u' ' + label;
                lines(each, "h2", chapters ? label : QString(), {});
            } else if (is(each, "section")) {
                section(each, label, chapters);
            } else {
                block(each);
            }
        }
        page.html += "</div>\n";
    }

    // A title, a stanza: each paragraph or verse on a line of its own. A label makes it a
    // chapter's start.
    void lines(const xmlNode *node, const char *element, const QString &label, const char *)
    {
        QByteArray open = QByteArray("<") + element;
        if (!label.isEmpty()) {
            const QString id = u"fb2-chapter-%1"_s.arg(page.entries.size());
            page.entries.append({label, id});
            open += " id='" + id.toLatin1() + "'";
        }
        page.html += open + '>';
        bool first = true;
        for (const xmlNode *each = node->children; each; each = each->next) {
            if (each->type != XML_ELEMENT_NODE)
                continue;
            if (!first)
                page.html += "<br/>";
            first = false;
            inlines(each);
        }
        page.html += QByteArray("</") + element + ">\n";
    }

    void block(const xmlNode *node)
    {
        if (node->type != XML_ELEMENT_NODE)
            return;
        if (is(node, "p") && isStandingBold(node)) {
            const QString id = u"fb2-bold-%1"_s.arg(standingBold.size());
            standingBold.append({textOf(node), id});
            page.html += "<p id='" + id.toLatin1() + "'>";
            inlines(node);
            page.html += "</p>\n";
        } else if (is(node, "p") || is(node, "subtitle") || is(node, "text-author")
                   || is(node, "date") || is(node, "v")) {
            page.html += "<p>";
            inlines(node);
            page.html += "</p>\n";
        } else if (is(node, "stanza")) {
            lines(node, "p", {}, nullptr);
        } else if (is(node, "poem") || is(node, "epigraph") || is(node, "cite")
                   || is(node, "annotation")) {
            division(node);
        } else if (is(node, "table")) {
            page.html += "<table>";
            for (const xmlNode *row = node->children; row; row = row->next) {
                if (!is(row, "tr"))
                    continue;
                page.html += "<tr>";
                for (const xmlNode *cell = row->children; cell; cell = cell->next) {
                    if (cell->type == XML_ELEMENT_NODE) {
                        page.html += "<td>";
                        inlines(cell);
                        page.html += "</td>";
                    }
                }
                page.html += "</tr>";
            }
            page.html += "</table>\n";
        } else if (!is(node, "empty-line") && !is(node, "image")) {
            unknown(node);
        }
        // empty-line stands between paragraphs, which are set apart already; images have no
        // text.
    }

    // A poem, an epigraph, a section out of its place: a division of blocks, its title a line of
    // text that starts no chapter.
    void division(const xmlNode *node)
    {
        page.html += "<div>";
        for (const xmlNode *each = node->children; each; each = each->next) {
            if (is(each, "title"))
                lines(each, "p", {}, nullptr);
            else
                block(each);
        }
        page.html += "</div>\n";
    }

    // An element the format does not define (<list>, <item>, a converter's own): its text is
    // kept, as a browser keeps the text of tags it does not know. One that holds blocks is a
    // division of them; one that holds words alone is a paragraph.
    void unknown(const xmlNode *node)
    {
        if (!holdsBlocks(node)) {
            page.html += "<p>";
            inlines(node);
            page.html += "</p>\n";
            return;
        }
        page.html += "<div>";
        for (const xmlNode *each = node->children; each; each = each->next) {
            if (is(each, "title")) {
                lines(each, "p", {}, nullptr);
            } else if (is(each, "section")) {
                division(each);
            } else if (each->type == XML_TEXT_NODE || each->type == XML_CDATA_SECTION_NODE) {
                if (const QString text = fromXml(each->content); !text.trimmed().isEmpty())
                    page.html += "<p>" + escapedForHtml(text) + "</p>\n";
            } else {
                block(each);
            }
        }
        page.html += "</div>\n";
    }

    // A short paragraph whose words are all in one strong element.
    static bool isStandingBold(const xmlNode *node)
    {
        const xmlNode *strong = nullptr;
        for (const xmlNode *each = node->children; each; each = each->next) {
            if (is(each, "strong") && !strong)
                strong = each;
            else if (each->type == XML_ELEMENT_NODE || !fromXml(each->content).trimmed().isEmpty())
                return false;
        }
        constexpr qsizetype LongestTitle = 80;
        const QString title = strong ? textOf(strong) : QString();
        return !title.isEmpty() && title.size() <= LongestTitle;
    }

    static bool holdsBlocks(const xmlNode *node)
    {
        static const char *const Inline[] = {"strong", "emphasis", "style", "a",    "strikethrough",
                                             "sub",    "sup",      "code",  "image"};
        for (const xmlNode *each = node->children; each; each = each->next) {
            if (each->type == XML_ELEMENT_NODE
                && std::none_of(std::begin(Inline), std::end(Inline),
                                [&](const char *name) { return is(each, name); })) {
                return true;
            }
        }
        return false;
    }

    void inlines(const xmlNode *node)
    {
        for (const xmlNode *each = node->children; each; each = each->next) {
            if (each->type == XML_TEXT_NODE || each->type == XML_CDATA_SECTION_NODE) {
                page.html += escapedForHtml(fromXml(each->content));
            } else if (is(each, "a")
                       && (attribute(each, "type") == u"note"_s
                           || linkTarget(each).startsWith(u'#'))) {
                // A note reference, written as the EPUB reader writes one.
                const QString number = textOf(each);
                const bool bracketed = number.startsWith(u'[') || number.startsWith(u'{');
                page.html += escapedForHtml(bracketed ? number : u'[' + number + u']');
            } else if (each->type == XML_ELEMENT_NODE) {
                inlines(each);
            }
        }
    }
};

QString personName(const xmlNode *author)
{
    QStringList parts;
    for (const char *part : {"first-name", "middle-name", "last-name"}) {
        if (const QString name = textOf(child(author, part)); !name.isEmpty())
            parts.append(name);
    }
    return parts.isEmpty() ? textOf(child(author, "nickname")) : parts.join(u' ');
}

} // namespace

Result<ImportedBook> readFictionBook(QByteArrayView bytes, const QString &path)
{
    if (bytes.contains("<!ENTITY"))
        return FileError{path, u"declares XML entities, which no book needs; it was not read"_s};
    if (const std::optional<QString> crowded = crowdedTag(bytes))
        return FileError{path, *crowded};
    const DocPtr doc = parseXml(bytes, true);
    const xmlNode *root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    if (!is(root, "FictionBook"))
        return FileError{path, u"is not a FictionBook that can be read"_s};
    if (nestsTooDeep(doc.get()))
        return FileError{path, u"nests its elements deeper than any book does; it was not read"_s};

    PageWriter writer;
    const xmlNode *info = child(child(root, "description"), "title-info");
    writer.page.title = textOf(child(info, "book-title"));
    QStringList authors;
    for (const xmlNode *each = info ? info->children : nullptr; each; each = each->next) {
        if (is(each, "author")) {
            if (const QString name = personName(each); !name.isEmpty())
                authors.append(name);
        }
    }
    writer.page.author = authors.join(u" & "_s);
    if (const xmlNode *annotation = child(info, "annotation")) {
        QStringList paragraphs;
        for (const xmlNode *each = annotation->children; each; each = each->next) {
            if (const QString text = textOf(each);
                each->type == XML_ELEMENT_NODE && !text.isEmpty())
                paragraphs.append(text);
        }
        writer.page.synopsis = paragraphs.join(u"\r\n\r\n"_s);
    }

    writer.page.html = "<html><body>";
    for (const xmlNode *each = root->children; each; each = each->next) {
        if (is(each, "body"))
            writer.body(each);
    }
    writer.page.html += "</body></html>";
    if (writer.page.entries.isEmpty())
        writer.page.entries = writer.standingBold;
    return bookFromPage(writer.page, path);
}

Result<ImportedBook> readFictionBookZip(QByteArrayView bytes, const QString &path)
{
    ZipArchive archive{bytes.toByteArray()};
    if (const std::optional<QString> problem = archive.open())
        return FileError{path, *problem};
    for (const QString &name : archive.names()) {
        if (!name.endsWith(u".fb2"_s, Qt::CaseInsensitive))
            continue;
        auto entry = archive.read(name);
        if (const auto *problem = std::get_if<QString>(&entry))
            return FileError{path, *problem};
        return readFictionBook(std::get<QByteArray>(entry), path);
    }
    return FileError{path, u"holds no FictionBook (.fb2) file"_s};
}
