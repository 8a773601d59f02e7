#include "tocnavigation.h"

#include "htmlmarkup.h"
#include "htmltext.h"

#include "chapters/numbertables.h"

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
