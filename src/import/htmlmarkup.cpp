#include "htmlmarkup.h"

#include "book/textimport.h"

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <QByteArray>

#include <algorithm>
#include <climits>
#include <string_view>

using namespace Qt::StringLiterals;

namespace HtmlMarkup {

namespace {

// needle's first place at or after from, or -1. A search for its first character and then
// the rest, which in a page of many megabytes is several times quicker than a general one.
qsizetype find(QByteArrayView markup, QByteArrayView needle, qsizetype from = 0)
{
    const std::string_view hay(markup.data(), std::size_t(markup.size()));
    const std::size_t at =
        hay.find(std::string_view(needle.data(), std::size_t(needle.size())), std::size_t(from));
    return at == std::string_view::npos ? -1 : qsizetype(at);
}

// The encoding a document that is not UTF-8 is read in: the one its XML declaration names, or
// none where a meta element names one (the parser reads that itself), or Windows-1252, which
// is what undeclared pages in a Western language are written in.
QByteArray declaredEncoding(QByteArrayView markup)
{
    const QByteArrayView start = markup.first(std::min<qsizetype>(markup.size(), 1024));
    if (start.startsWith("<?xml")) {
        const qsizetype end = start.indexOf("?>");
        const QByteArrayView declaration = start.first(end < 0 ? start.size() : end);
        const qsizetype at = declaration.indexOf("encoding");
        if (at >= 0) {
            qsizetype quote = at + 8;
            while (quote < declaration.size() && declaration[quote] != '"'
                   && declaration[quote] != '\'')
                ++quote;
            const qsizetype close = quote < declaration.size()
                                        ? declaration.indexOf(declaration[quote], quote + 1)
                                        : -1;
            if (close > quote + 1)
                return declaration.sliced(quote + 1, close - quote - 1).toByteArray();
        }
    }
    if (QByteArray(start.toByteArray()).toLower().contains("charset"))
        return {};
    return "windows-1252";
}

// A DOCTYPE's internal subset, which no browser shows and the HTML parser would write out as
// text, taken away: "<!DOCTYPE html [ ... ]>" becomes "<!DOCTYPE html>".
QByteArray withoutInternalSubset(QByteArrayView markup)
{
    const qsizetype doctype =
        QByteArray(markup.first(std::min<qsizetype>(markup.size(), 1024)).toByteArray())
            .toUpper()
            .indexOf("<!DOCTYPE");
    if (doctype < 0)
        return {};
    const qsizetype open = markup.indexOf('[', doctype);
    const qsizetype close = markup.indexOf('>', doctype);
    if (open < 0 || close < open)
        return {};
    const qsizetype end = markup.indexOf("]>", open);
    if (end < 0)
        return {};
    return markup.first(open).toByteArray() + markup.sliced(end + 1).toByteArray();
}

// XHTML's CDATA sections as the text they hold, which the HTML parser would show with their
// brackets: "<![CDATA[a < b]]>" becomes "a &lt; b". Empty when the page has none.
QByteArray withCdataAsText(QByteArrayView markup)
{
    constexpr QByteArrayView Open = "<![CDATA[";
    qsizetype at = find(markup, Open);
    if (at < 0)
        return {};
    QByteArray result;
    result.reserve(markup.size());
    qsizetype copied = 0;
    for (; at >= 0; at = find(markup, Open, copied)) {
        const qsizetype end = find(markup, "]]>", at + Open.size());
        if (end < 0)
            break;
        result += markup.sliced(copied, at - copied);
        QByteArray inner = markup.sliced(at + Open.size(), end - at - Open.size()).toByteArray();
        result += inner.replace('&', "&amp;").replace('<', "&lt;").replace('>', "&gt;");
        copied = end + 3;
    }
    result += markup.sliced(copied);
    return result;
}

void ignoreMessage(void *, const char *, ...) {}

// Processing instructions as a browser hides them. A page written as XML (it opens with an XML
// declaration) ends each at "?>"; any other page ends one at the first ">", as browsers read
// "<?" in HTML, so "<?php echo 'a>b' ?>" leaves "b' ?>" showing there as it does in a browser.
// The XML declaration itself stays, since it names the encoding, and so do comments, which may
// hold a "<?" of their own. Empty when the page has none.
QByteArray withoutProcessingInstructions(QByteArrayView markup)
{
    const bool xml = markup.startsWith("<?xml");
    const qsizetype from = xml ? find(markup, "?>") + 2 : 0;
    if ((xml && from < 2) || find(markup, "<?", from) < 0)
        return {};
    QByteArray result;
    result.reserve(markup.size());
    qsizetype copied = from;
    result += markup.first(from);
    for (qsizetype at = markup.indexOf('<', copied); at >= 0; at = markup.indexOf('<', at + 1)) {
        const QByteArrayView rest = markup.sliced(at);
        if (rest.startsWith("<!--")) {
            const qsizetype close = find(markup, "-->", at + 4);
            at = close < 0 ? markup.size() - 1 : close + 2;
        } else if (rest.startsWith("<?")) {
            const qsizetype close =
                xml ? find(markup, "?>", at + 2) : markup.indexOf('>', at + 2);
            result += markup.sliced(copied, at - copied);
            copied = close < 0 ? markup.size() : close + (xml ? 2 : 1);
            at = copied - 1;
        }
    }
    result += markup.sliced(std::min(copied, markup.size()));
    return result;
}

} // namespace

QString fromXml(const xmlChar *text)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(text));
}

QString attribute(const xmlNode *node, const char *name)
{
    for (const xmlAttr *attr = node->properties; attr; attr = attr->next) {
        if (xmlStrcasecmp(attr->name, reinterpret_cast<const xmlChar *>(name)) == 0) {
            xmlChar *value = xmlNodeListGetString(node->doc, attr->children, 1);
            QString text = fromXml(value);
            xmlFree(value);
            return text;
        }
    }
    return {};
}

bool named(const xmlNode *node, const char *name)
{
    return node->type == XML_ELEMENT_NODE
           && xmlStrcasecmp(node->name, reinterpret_cast<const xmlChar *>(name)) == 0;
}

bool isNoteReference(const xmlNode *node)
{
    if (!named(node, "a"))
        return false;
    if (attribute(node, "epub:type").contains(u"noteref"_s)
        || attribute(node, "role") == u"doc-noteref"_s) {
        return true;
    }
    if (!attribute(node, "href").contains(u'#'))
        return false;
    if (node->parent && named(node->parent, "sup"))
        return true;
    const xmlNode *only = nullptr;
    for (const xmlNode *child = node->children; child; child = child->next) {
        if (child->type == XML_TEXT_NODE && QString(fromXml(child->content)).trimmed().isEmpty())
            continue;
        if (only)
            return false;
        only = child;
    }
    return only && named(only, "sup");
}

Kind kindOf(const xmlNode *node)
{
    struct Entry
    {
        const char *name;
        Kind kind;
    };
    static constexpr Entry Kinds[] = {
        {"head", Kind::Skipped},
        {"script", Kind::Skipped},
        {"style", Kind::Skipped},
        {"template", Kind::Skipped},
        {"title", Kind::Skipped},
        // Each text element of a drawing (a fixed-layout page) is a line of its own.
        {"text", Kind::Line},
        // What a browser shows only where it cannot show the real thing, and form controls.
        {"noscript", Kind::Skipped},
        {"iframe", Kind::Skipped},
        {"object", Kind::Skipped},
        {"select", Kind::Skipped},
        {"option", Kind::Skipped},
        {"textarea", Kind::Skipped},
        {"p", Kind::Paragraph},
        {"h1", Kind::Paragraph},
        {"h2", Kind::Paragraph},
        {"h3", Kind::Paragraph},
        {"h4", Kind::Paragraph},
        {"h5", Kind::Paragraph},
        {"h6", Kind::Paragraph},
        {"blockquote", Kind::Paragraph},
        {"ul", Kind::Paragraph},
        {"ol", Kind::Paragraph},
        {"dl", Kind::Paragraph},
        {"table", Kind::Paragraph},
        {"hr", Kind::Paragraph},
        {"figure", Kind::Paragraph},
        {"address", Kind::Paragraph},
        {"pre", Kind::Preformatted},
        {"div", Kind::Line},
        {"li", Kind::Line},
        {"tr", Kind::Line},
        {"dt", Kind::Line},
        {"dd", Kind::Line},
        {"section", Kind::Line},
        {"article", Kind::Line},
        {"aside", Kind::Line},
        {"header", Kind::Line},
        {"footer", Kind::Line},
        {"nav", Kind::Line},
        {"main", Kind::Line},
        {"body", Kind::Line},
        {"figcaption", Kind::Line},
        {"caption", Kind::Line},
        {"center", Kind::Line},
        {"hgroup", Kind::Line},
        {"details", Kind::Line},
        {"summary", Kind::Line},
        {"fieldset", Kind::Line},
        {"legend", Kind::Line},
        {"form", Kind::Line},
        {"menu", Kind::Line},
        {"dir", Kind::Line},
        {"br", Kind::LineBreak},
        {"img", Kind::Image},
        {"td", Kind::Cell},
        {"th", Kind::Cell},
    };
    for (const Entry &entry : Kinds) {
        if (named(node, entry.name))
            return entry.kind;
    }
    return Kind::Inline;
}

int headingLevel(const xmlNode *node)
{
    const auto *name = reinterpret_cast<const char *>(node->name);
    if ((name[0] == 'h' || name[0] == 'H') && name[1] >= '1' && name[1] <= '6' && !name[2])
        return name[1] - '0';
    return 0;
}

std::optional<QString> crowdedTag(QByteArrayView markup)
{
    constexpr int MostAttributes = 1000;
    // Counts the "=" of each tag outside its quoted values; a page without a tag that long
    // is passed over at the speed of a search for '>'.
    constexpr qsizetype ShortestCrowdedTag = 3 * MostAttributes;
    for (qsizetype at = markup.indexOf('<'); at >= 0; at = markup.indexOf('<', at + 1)) {
        const qsizetype end = markup.indexOf('>', at);
        if (end < 0 || end - at > ShortestCrowdedTag) {
            int attributes = 0;
            char quote = 0;
            qsizetype i = at + 1;
            for (; i < markup.size() && (quote || markup[i] != '>'); ++i) {
                const char c = markup[i];
                if (quote)
                    quote = c == quote ? 0 : quote;
                else if (c == '"' || c == '\'')
                    quote = c;
                else if (c == '=' && ++attributes > MostAttributes)
                    return u"has an element with more than %1 attributes, which no book needs; it "
                           "was not read"_s.arg(MostAttributes);
            }
            at = i;
        } else {
            at = end;
        }
        if (at >= markup.size())
            break;
    }
    return std::nullopt;
}

DocPtr parseHtml(QByteArrayView original)
{
    // Each mending step returns an empty array when it has nothing to mend, so a page that
    // needs none is never copied.
    QByteArray mended;
    QByteArrayView markup = original;
    for (auto mend : {withoutInternalSubset, withCdataAsText, withoutProcessingInstructions}) {
        QByteArray next = mend(markup);
        if (!next.isEmpty()) {
            mended = std::move(next);
            markup = mended;
        }
    }
    if (markup.isEmpty() || markup.size() > INT_MAX)
        return nullptr;
    // A document that is valid UTF-8 is UTF-8 whatever it declares, as for text files; the
    // parser's own guess would be Latin-1.
    const QByteArray declared =
        isValidUtf8(markup) ? QByteArray("UTF-8") : declaredEncoding(markup);
    const char *encoding = declared.isEmpty() ? nullptr : declared.constData();
    // The parser's complaints about damage it mends (bytes the encoding lacks, say) are no
    // news to the user; by default libxml2 prints them on standard error. The handlers are
    // the calling thread's own.
    xmlSetGenericErrorFunc(nullptr, ignoreMessage);
    xmlSetStructuredErrorFunc(nullptr, [](void *, xmlErrorPtr) {});
    const std::unique_ptr<htmlParserCtxt, void (*)(htmlParserCtxtPtr)> parser(htmlNewParserCtxt(),
                                                                              htmlFreeParserCtxt);
    if (!parser)
        return nullptr;
    DocPtr doc(htmlCtxtReadMemory(parser.get(), markup.data(), int(markup.size()), nullptr,
                                  encoding,
                                  HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING
                                      | HTML_PARSE_NONET | HTML_PARSE_COMPACT | XML_PARSE_HUGE));
    // Recovery mends what it can; a parser that had to stop (elements nested too deeply, say)
    // would hand over a document that silently lacks the rest.
    if (parser->disableSAX)
        return nullptr;
    return doc;
}

DocPtr parseXml(QByteArrayView xml, bool recover)
{
    if (xml.isEmpty() || xml.size() > INT_MAX)
        return nullptr;
    xmlSetGenericErrorFunc(nullptr, ignoreMessage);
    xmlSetStructuredErrorFunc(nullptr, [](void *, xmlErrorPtr) {});
    return DocPtr(xmlReadMemory(xml.data(), int(xml.size()), nullptr, nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING
                                    | XML_PARSE_HUGE | (recover ? XML_PARSE_RECOVER : 0)));
}

bool nestsTooDeep(const xmlDoc *doc)
{
    constexpr int Deepest = 1000;
    const xmlNode *root = xmlDocGetRootElement(doc);
    int depth = 0;
    for (const xmlNode *node = root; node;) {
        if (node->children) {
            node = node->children;
            if (++depth > Deepest)
                return true;
            continue;
        }
        while (node && !node->next && node != root) {
            node = node->parent;
            --depth;
        }
        node = node && node != root ? node->next : nullptr;
    }
    return false;
}

void gatherText(const xmlNode *node, QString &out)
{
    for (const xmlNode *child = node->children; child; child = child->next) {
        if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE)
            out += fromXml(child->content);
        else if (child->type == XML_ELEMENT_NODE && kindOf(child) != Kind::Skipped
                 && !isNoteReference(child)) // a title reads without its notes' numbers
            gatherText(child, out);
        if (child->type == XML_ELEMENT_NODE && kindOf(child) == Kind::Image)
            out += attribute(child, "alt");
        else if (child->type == XML_ELEMENT_NODE && kindOf(child) != Kind::Inline)
            out += u' ';
    }
}

const xmlNode *nextNode(const xmlNode *node, const xmlNode *root, bool intoChildren)
{
    if (intoChildren && node->children)
        return node->children;
    while (node && node != root) {
        if (node->next)
            return node->next;
        node = node->parent;
    }
    return nullptr;
}

} // namespace HtmlMarkup
