#include "documentimport.h"

#include "htmlmarkup.h"
#include "htmltext.h"
#include "pagebook.h"
#include "ziparchive.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;
using namespace HtmlMarkup;

namespace {

bool is(const xmlNode *node, const char *name)
{
    return node && node->type == XML_ELEMENT_NODE
           && xmlStrcmp(node->name, reinterpret_cast<const xmlChar *>(name)) == 0;
}

// An attribute by its local name, whatever its namespace prefix.
QString attributeOf(const xmlNode *node, const char *name)
{
    for (const xmlAttr *attr = node->properties; attr; attr = attr->next) {
        if (xmlStrcmp(attr->name, reinterpret_cast<const xmlChar *>(name)) == 0) {
            xmlChar *value = xmlNodeListGetString(node->doc, attr->children, 1);
            QString text = fromXml(value);
            xmlFree(value);
            return text;
        }
    }
    return {};
}

const xmlNode *descendant(const xmlNode *node, const char *name)
{
    for (const xmlNode *each = node ? node->children : nullptr; each; each = each->next) {
        if (is(each, name))
            return each;
        if (const xmlNode *found = descendant(each, name))
            return found;
    }
    return nullptr;
}

using Part = std::variant<DocPtr, QString>;

// An XML part of the document's archive, parsed; or the problem.
Part parsed(ZipArchive &archive, const QString &name)
{
    auto entry = archive.read(name);
    if (const auto *problem = std::get_if<QString>(&entry))
        return *problem;
    const QByteArray &bytes = std::get<QByteArray>(entry);
    if (bytes.contains("<!ENTITY"))
        return u"%1 declares XML entities, which no document needs; it was not read"_s.arg(name);
    if (const std::optional<QString> crowded = crowdedTag(bytes))
        return name + u' ' + *crowded;
    DocPtr doc = parseXml(bytes, false);
    if (!doc || !xmlDocGetRootElement(doc.get()))
        return u"%1 cannot be read as XML"_s.arg(name);
    if (nestsTooDeep(doc.get()))
        return u"%1 nests its elements deeper than any document does"_s.arg(name);
    return doc;
}

// Title and author from the document's properties (docProps/core.xml, meta.xml), which may be
// absent.
void takeProperties(ZipArchive &archive, const QString &name, const char *authorElement,
                    PageBook &page)
{
    if (!archive.contains(name))
        return;
    const Part properties = parsed(archive, name);
    const auto *doc = std::get_if<DocPtr>(&properties);
    if (!doc)
        return;
    const xmlNode *root = xmlDocGetRootElement(doc->get());
    auto text = [&](const char *element) {
        QString value;
        if (const xmlNode *node = descendant(root, element))
            gatherText(node, value);
        return collapsedLabel(value);
    };
    page.title = text("title");
    page.author = text(authorElement);
    if (page.author.isEmpty())
        page.author = text("creator");
}

// Writes a document's paragraphs as a page: headings of levels 1 to 3 as h1 to h3 with an id
// and an entry, other paragraphs as p, tables as tables.
class DocumentPage
{
public:
    PageBook page;

    void paragraph(int level, const QByteArray &content)
    {
        if (level >= 1 && level <= 3) {
            const QString id = u"document-heading-%1"_s.arg(page.entries.size());
            QString label;
            gatherLabel(content, label);
            page.entries.append({label, id});
            const QByteArray tag = "h" + QByteArray::number(level);
            page.html += '<' + tag + " id='" + id.toLatin1() + "'>" + content + "</" + tag + ">\n";
        } else {
            page.html += "<p>" + content + "</p>\n";
        }
    }

private:
    static void gatherLabel(const QByteArray &content, QString &label)
    {
        label = collapsedLabel(htmlFragmentToText(QString::fromUtf8(content)));
    }
};

// --- Word (.docx) --------------------------------------------------------------------------

// The heading level a paragraph's style or outline level gives it, 0 for none: "Heading1" to
// "Heading3" (and "heading 1" as some programs write it), or outline levels 0 to 2.
int wordHeadingLevel(const xmlNode *paragraph)
{
    const xmlNode *properties = nullptr;
    for (const xmlNode *each = paragraph->children; each; each = each->next) {
        if (is(each, "pPr"))
            properties = each;
    }
    for (const xmlNode *each = properties ? properties->children : nullptr; each;
         each = each->next) {
        if (is(each, "pStyle")) {
            static const QRegularExpression heading(u"^heading\\s*([1-9])$"_s,
                                                    QRegularExpression::CaseInsensitiveOption);
            const QRegularExpressionMatch match = heading.match(attributeOf(each, "val"));
            if (match.hasMatch())
                return match.captured(1).toInt();
        }
        if (is(each, "outlineLvl"))
            return attributeOf(each, "val").toInt() + 1;
    }
    return 0;
}

// A paragraph's text: runs, tabs and breaks; what a tracked change deleted, comments and
// field codes are no text.
void wordRuns(const xmlNode *node, QByteArray &out)
{
    for (const xmlNode *each = node->children; each; each = each->next) {
        if (each->type != XML_ELEMENT_NODE || is(each, "del") || is(each, "pPr")
            || is(each, "rPr") || is(each, "instrText") || is(each, "commentReference")) {
            continue;
        }
        if (is(each, "t")) {
            QString text;
            gatherText(each, text);
            out += escapedForHtml(text);
        } else if (is(each, "tab")) {
            out += ' ';
        } else if (is(each, "br") || is(each, "cr")) {
            out += "<br/>";
        } else {
            wordRuns(each, out);
        }
    }
}

void wordBody(const xmlNode *node, DocumentPage &page)
{
    for (const xmlNode *each = node->children; each; each = each->next) {
        if (is(each, "p")) {
            QByteArray content;
            wordRuns(each, content);
            page.paragraph(wordHeadingLevel(each), content);
        } else if (is(each, "tbl")) {
            page.page.html += "<table>";
            for (const xmlNode *row = each->children; row; row = row->next) {
                if (!is(row, "tr"))
                    continue;
                page.page.html += "<tr>";
                for (const xmlNode *cell = row->children; cell; cell = cell->next) {
                    if (!is(cell, "tc"))
                        continue;
                    page.page.html += "<td>";
                    for (const xmlNode *p = cell->children; p; p = p->next) {
                        if (is(p, "p")) {
                            wordRuns(p, page.page.html);
                            page.page.html += ' ';
                        }
                    }
                    page.page.html += "</td>";
                }
                page.page.html += "</tr>";
            }
            page.page.html += "</table>\n";
        } else if (each->type == XML_ELEMENT_NODE && !is(each, "del")) {
            wordBody(each, page); // content controls, inserted text, smart tags
        }
    }
}

// --- OpenDocument (.odt) -------------------------------------------------------------------

void openDocumentRuns(const xmlNode *node, QByteArray &out)
{
    for (const xmlNode *each = node->children; each; each = each->next) {
        if (each->type == XML_TEXT_NODE) {
            out += escapedForHtml(fromXml(each->content));
        } else if (is(each, "s")) {
            const int count = std::clamp(attributeOf(each, "c").toInt(), 1, 1000);
            out += QByteArray(count, ' ');
        } else if (is(each, "tab")) {
            out += ' ';
        } else if (is(each, "line-break")) {
            out += "<br/>";
        } else if (is(each, "note")) {
            // A footnote is read as its number where it is called.
            if (const xmlNode *citation = descendant(each, "note-citation")) {
                QString number;
                gatherText(citation, number);
                out += escapedForHtml(u'[' + collapsedLabel(number) + u']');
            }
        } else if (each->type == XML_ELEMENT_NODE && !is(each, "annotation")
                   && !is(each, "tracked-changes")) {
            openDocumentRuns(each, out);
        }
    }
}

void openDocumentBody(const xmlNode *node, DocumentPage &page)
{
    for (const xmlNode *each = node->children; each; each = each->next) {
        if (is(each, "p") || is(each, "h")) {
            QByteArray content;
            openDocumentRuns(each, content);
            const int level = is(each, "h") ? std::max(1, attributeOf(each, "outline-level").toInt())
                                            : 0;
            page.paragraph(level, content);
        } else if (is(each, "table-row")) {
            page.page.html += "<div>";
            openDocumentBody(each, page);
            page.page.html += "</div>";
        } else if (each->type == XML_ELEMENT_NODE && !is(each, "tracked-changes")
                   && !is(each, "annotation") && !is(each, "sequence-decls")) {
            openDocumentBody(each, page);
        }
    }
}

template<typename Reader>
Result<ImportedBook> readDocument(QByteArrayView bytes, const QString &path, Reader read)
{
    ZipArchive archive{bytes.toByteArray()};
    if (const std::optional<QString> problem = archive.open())
        return FileError{path, *problem};
    DocumentPage page;
    if (const std::optional<QString> problem = read(archive, page))
        return FileError{path, *problem};
    page.page.html = "<html><body>" + page.page.html + "</body></html>";
    return bookFromPage(page.page, path);
}

} // namespace

Result<ImportedBook> readWordDocument(QByteArrayView bytes, const QString &path)
{
    return readDocument(bytes, path, [](ZipArchive &archive, DocumentPage &page) {
        const QString main = u"word/document.xml"_s;
        if (!archive.contains(main))
            return std::optional<QString>(u"is not a Word document: %1 is missing"_s.arg(main));
        const Part document = parsed(archive, main);
        if (const auto *problem = std::get_if<QString>(&document))
            return std::optional<QString>(*problem);
        takeProperties(archive, u"docProps/core.xml"_s, "creator", page.page);
        const xmlNode *body = descendant(xmlDocGetRootElement(std::get<DocPtr>(document).get()),
                                         "body");
        if (body)
            wordBody(body, page);
        return std::optional<QString>();
    });
}

Result<ImportedBook> readOpenDocument(QByteArrayView bytes, const QString &path)
{
    return readDocument(bytes, path, [](ZipArchive &archive, DocumentPage &page) {
        const QString main = u"content.xml"_s;
        if (!archive.contains(main))
            return std::optional<QString>(u"is not an OpenDocument text: %1 is missing"_s.arg(main));
        const Part document = parsed(archive, main);
        if (const auto *problem = std::get_if<QString>(&document))
            return std::optional<QString>(*problem);
        takeProperties(archive, u"meta.xml"_s, "initial-creator", page.page);
        const xmlNode *text = descendant(xmlDocGetRootElement(std::get<DocPtr>(document).get()),
                                         "text");
        if (text)
            openDocumentBody(text, page);
        return std::optional<QString>();
    });
}
