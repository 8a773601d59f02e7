#include "tocnavigation.h"

#include "htmlmarkup.h"
#include "htmltext.h"

#include "chapters/chaptertable.h"
#include "chapters/numbertables.h"

#include <QXmlStreamReader>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace HtmlMarkup;

namespace {

bool isTocNav(const xmlNode *node)
{
    return named(node, "nav")
           && attribute(node, "epub:type").split(u' ', Qt::SkipEmptyParts).contains(u"toc"_s);
}

} // namespace

bool isNumberOnly(QStringView label)
{
    QStringView number = label.trimmed();
    if (number.endsWith(u'.'))
        number.chop(1);
    if (number.isEmpty() || number.size() > 8)
        return false;
    if (std::all_of(number.begin(), number.end(), [](QChar c) { return c.isDigit(); }))
        return true;
    return romanNumeralValue(number.toString().toUpper()) > 0;
}

QList<TocLink> navigationLinks(QByteArrayView markup)
{
    const DocPtr doc = parseHtml(markup);
    const xmlNode *root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    const xmlNode *nav = root;
    while (nav && !isTocNav(nav))
        nav = nextNode(nav, root, true);
    if (!nav)
        return {};

    // The label of the entry a nested list hangs from: its li's link or span.
    auto parentLabel = [](const xmlNode *entry) {
        const xmlNode *list = entry ? entry->parent : nullptr;
        const xmlNode *parent = list ? list->parent : nullptr;
        if (!parent || !named(parent, "li"))
            return QString();
        for (const xmlNode *child = parent->children; child; child = child->next) {
            if (named(child, "a") || named(child, "span")) {
                QString label;
                gatherText(child, label);
                return collapsedLabel(label);
            }
        }
        return QString();
    };
    QList<TocLink> links;
    for (const xmlNode *node = nav; node; node = nextNode(node, nav, true)) {
        if (named(node, "a") && !attribute(node, "href").isEmpty()) {
            QString label;
            gatherText(node, label);
            if (isNumberOnly(label)) {
                const xmlNode *entry = node->parent;
                while (entry && !named(entry, "li"))
                    entry = entry->parent;
                const QString parent = parentLabel(entry);
                if (!parent.isEmpty())
                    label = parent + u' ' + collapsedLabel(label);
            }
            links.append({label, attribute(node, "href")});
        }
    }
    return links;
}

QString xmlProblem(const QXmlStreamReader &xml)
{
    return u"%1 (line %2)"_s.arg(xml.errorString()).arg(xml.lineNumber());
}

QList<TocLink> ncxLinks(QByteArrayView bytes, qsizetype &beyond, QString &problem)
{
    QList<TocLink> links;
    QList<qsizetype> open; // the navPoints being read, innermost last
    bool inNavMap = false;
    QXmlStreamReader xml(bytes.toByteArray());
    while (!xml.atEnd() && !xml.hasError()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        const QStringView name = xml.name();
        if (token == QXmlStreamReader::EndElement) {
            if (name == u"navMap"_s)
                inNavMap = false;
            else if (name == u"navPoint"_s && !open.isEmpty())
                open.removeLast();
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (name == u"navMap"_s) {
            inNavMap = true;
        } else if (inNavMap && name == u"navPoint"_s && links.size() >= MaxChapterRows) {
            // The rest are only counted, for the message: a table of contents of millions of
            // entries is read no further than the table can take.
            beyond = 1 + bytes.sliced(xml.characterOffset()).count("<navPoint");
            break;
        } else if (inNavMap && name == u"navPoint"_s) {
            open.append(links.size());
            links.append(TocLink{});
        } else if (!open.isEmpty() && name == u"text"_s && links[open.last()].label.isEmpty()) {
            QString label = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            // A number alone reads with its parent entry's label: "Song of Myself 1".
            if (isNumberOnly(label) && open.size() > 1)
                label = collapsedLabel(links[open[open.size() - 2]].label) + u' '
                        + collapsedLabel(label);
            links[open.last()].label = label;
        } else if (!open.isEmpty() && name == u"content"_s && links[open.last()].href.isEmpty()) {
            links[open.last()].href = xml.attributes().value(u"src"_s).toString();
        }
    }
    if (xml.hasError() && xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
        problem = xmlProblem(xml);
    return links;
}
