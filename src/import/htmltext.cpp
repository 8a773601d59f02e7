#include "htmltext.h"

#include "book/textimport.h"
#include "chapters/numbertables.h"

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <climits>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr char16_t SoftHyphen = 0x00AD;

// Characters invisible by nature: zero-width space, non-joiner and joiner, the word joiner and
// a byte-order mark inside the text. A book file cannot hold them, and a reader would show "?".
bool isInvisible(char16_t c)
{
    return (c >= 0x200B && c <= 0x200D) || c == 0x2060 || c == 0xFEFF;
}

// HTML's white space, and the two Unicode separators the editor would take for line breaks.
bool isCollapsible(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == 0x2028
           || c == 0x2029;
}

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

// A link to a note: marked so ("noteref"), or a link within the book set as a superscript
// ("<sup><a href='#n48'>48</a></sup>", "<a href='#n48'><sup>48</sup></a>").
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

// How an element shapes the text around it.
enum class Kind {
    Inline,
    Skipped,   // nothing of it is seen
    Line,      // starts and ends a line
    Paragraph, // starts and ends a paragraph: a blank line before and after
    Preformatted,
    LineBreak,
    Image,
    Cell,
};

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

struct DocFree
{
    void operator()(xmlDoc *doc) const { xmlFreeDoc(doc); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocFree>;

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

DocPtr parseHtml(QByteArrayView original)
{
    const QByteArray mended = withoutInternalSubset(original);
    const QByteArrayView markup = mended.isEmpty() ? original : QByteArrayView(mended);
    if (markup.isEmpty() || markup.size() > INT_MAX)
        return nullptr;
    // A document that is valid UTF-8 is UTF-8 whatever it declares, as for text files; the
    // parser's own guess would be Latin-1.
    const QByteArray declared =
        isValidUtf8(markup) ? QByteArray("UTF-8") : declaredEncoding(markup);
    const char *encoding = declared.isEmpty() ? nullptr : declared.constData();
    const std::unique_ptr<htmlParserCtxt, void (*)(htmlParserCtxtPtr)> parser(htmlNewParserCtxt(),
                                                                              htmlFreeParserCtxt);
    if (!parser)
        return nullptr;
    DocPtr doc(htmlCtxtReadMemory(parser.get(), markup.data(), int(markup.size()), nullptr,
                                  encoding,
                                  HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING
                                      | HTML_PARSE_NONET | XML_PARSE_HUGE));
    // Recovery mends what it can; a parser that had to stop (elements nested too deeply, say)
    // would hand over a document that silently lacks the rest.
    if (parser->disableSAX)
        return nullptr;
    return doc;
}

// The text an element holds, as a label: scripts and styles left out.
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

} // namespace

// Walks a parsed document without recursion (recovered markup can nest without bound) and writes
// what a reader sees into the text.
class HtmlWalker
{
public:
    HtmlWalker(HtmlToText &out, HtmlToText::Document &document)
        : m_out(out)
        , m_document(document)
    {}

    void walk(xmlNode *root)
    {
        xmlNode *node = root;
        while (node) {
            if (enter(node) && node->children) {
                node = node->children;
                continue;
            }
            while (node) {
                leave(node);
                if (node == root)
                    return;
                if (node->next) {
                    node = node->next;
                    break;
                }
                node = node->parent;
            }
        }
    }

private:
    bool enter(xmlNode *node)
    {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            QString text = fromXml(node->content);
            // As in a browser, a line break right after pre's start tag is not shown.
            if (m_skipNewline && text.startsWith(u'\n'))
                text.remove(0, 1);
            else if (m_skipNewline && text.startsWith(u"\r\n"_s))
                text.remove(0, 2);
            m_skipNewline = false;
            m_out.appendText(text, m_preformatted > 0);
            return false;
        }
        if (node->type != XML_ELEMENT_NODE)
            return false;

        const Kind kind = kindOf(node);
        m_skipNewline = kind == Kind::Preformatted;
        if (kind == Kind::Skipped)
            return false;
        switch (kind) {
        case Kind::Paragraph:
        case Kind::Preformatted:
            m_out.oweBreaks(2);
            break;
        case Kind::Line:
            m_out.oweBreaks(1);
            break;
        case Kind::LineBreak:
            m_out.lineBreak();
            break;
        case Kind::Cell:
            m_out.m_spaceOwed = true;
            break;
        default:
            break;
        }
        if (kind == Kind::Preformatted)
            ++m_preformatted;

        QString id = attribute(node, "id");
        if (id.isEmpty() && named(node, "a"))
            id = attribute(node, "name");
        if (!id.isEmpty() && !m_document.ids.contains(id))
            m_document.ids.insert(id, m_out.markHere());

        if (const int level = headingLevel(node)) {
            QString title;
            gatherText(node, title);
            m_document.headings.append({level, collapsedLabel(title), m_out.markHere()});
        }
        if (kind == Kind::Image) {
            const QString alt = attribute(node, "alt");
            if (!collapsedLabel(alt).isEmpty())
                m_out.appendText(u'[' + alt + u']', m_preformatted > 0);
        }
        // A note's number stands apart from the word it follows: "cold.[48]".
        if (isNoteReference(node))
            m_out.appendText(u"[", m_preformatted > 0);
        return true;
    }

    void leave(xmlNode *node)
    {
        if (node->type != XML_ELEMENT_NODE)
            return;
        if (isNoteReference(node))
            m_out.appendText(u"]", m_preformatted > 0);
        switch (kindOf(node)) {
        case Kind::Paragraph:
            m_out.oweBreaks(2);
            break;
        case Kind::Preformatted:
            m_out.oweBreaks(2);
            --m_preformatted;
            break;
        case Kind::Line:
            m_out.oweBreaks(1);
            break;
        default:
            break;
        }
    }

    HtmlToText &m_out;
    HtmlToText::Document &m_document;
    int m_preformatted = 0;
    bool m_skipNewline = false;
};

std::optional<HtmlToText::Document> HtmlToText::addDocument(QByteArrayView markup)
{
    oweBreaks(2);
    Document document;
    document.start = markHere();
    // An empty document is no fault: it just shows nothing.
    if (markup.trimmed().isEmpty())
        return document;

    const DocPtr doc = parseHtml(markup);
    xmlNode *root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    if (!root)
        return std::nullopt;

    HtmlWalker walker(*this, document);
    for (xmlNode *node = root; node; node = node->next)
        walker.walk(node);

    // The title sits in the head, which the walk passes over.
    for (const xmlNode *head = root->children; head; head = head->next) {
        for (const xmlNode *node = named(head, "head") ? head->children : nullptr; node;
             node = node->next) {
            if (named(node, "title") && document.title.isEmpty()) {
                QString title;
                gatherText(node, title);
                document.title = collapsedLabel(title);
            }
            const QString meta = attribute(node, "name").toLower();
            if (named(node, "meta") && document.author.isEmpty()
                && (meta == u"author"_s || meta == u"dc.creator"_s)) {
                document.author = collapsedLabel(attribute(node, "content"));
            }
        }
    }
    return document;
}

HtmlToText::Mark HtmlToText::markHere()
{
    m_marks.push_back(-1);
    m_unplaced.push_back(Mark(m_marks.size() - 1));
    return Mark(m_marks.size() - 1);
}

void HtmlToText::oweBreaks(int lines)
{
    m_breaksOwed = std::max(m_breaksOwed, lines);
    m_spaceOwed = false;
}

void HtmlToText::lineBreak()
{
    // Runs of line breaks ("<br/><br/><br/>" as spacers) give at most one blank line.
    constexpr int MostBreaks = 2;
    if (m_text.isEmpty())
        return;
    while (m_trailingBreaks < m_breaksOwed) {
        m_text += u"\r\n"_s;
        ++m_trailingBreaks;
    }
    m_breaksOwed = 0;
    m_spaceOwed = false;
    if (m_trailingBreaks < MostBreaks) {
        m_text += u"\r\n"_s;
        ++m_trailingBreaks;
    }
}

// Writes the line breaks or the space owed before the next visible character, and places the
// marks waiting for it.
void HtmlToText::beginContent()
{
    if (!m_text.isEmpty()) {
        if (m_breaksOwed > m_trailingBreaks) {
            for (int i = m_trailingBreaks; i < m_breaksOwed; ++i)
                m_text += u"\r\n"_s;
        } else if (m_spaceOwed && m_breaksOwed == 0 && m_trailingBreaks == 0) {
            m_text += u' ';
        }
    }
    m_breaksOwed = 0;
    m_trailingBreaks = 0;
    m_spaceOwed = false;
    for (const Mark mark : m_unplaced)
        m_marks[mark] = m_text.size();
    m_unplaced.clear();
}

void HtmlToText::appendText(QStringView text, bool preformatted)
{
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text[i].unicode();
        if (isInvisible(c))
            continue;
        if (!preformatted) {
            if (isCollapsible(c)) {
                m_spaceOwed = true;
                continue;
            }
            beginContent();
            // A run of ordinary characters goes in at once.
            qsizetype end = i + 1;
            while (end < size && !isCollapsible(text[end].unicode())
                   && !isInvisible(text[end].unicode()))
                ++end;
            m_text += text.sliced(i, end - i);
            i = end - 1;
            continue;
        }
        if (c == u'\r' || c == u'\n' || c == 0x2028 || c == 0x2029) {
            if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n')
                ++i;
            beginContent();
            m_text += u"\r\n"_s;
            m_trailingBreaks = 1;
            continue;
        }
        beginContent();
        m_text += QChar(c);
    }
}

QString HtmlToText::finish()
{
    qsizetype end = m_text.size();
    while (end > 0 && isCollapsible(m_text[end - 1].unicode()))
        --end;
    m_text.truncate(end);
    for (const Mark mark : m_unplaced)
        m_marks[mark] = m_text.size();
    m_unplaced.clear();
    return m_text;
}

qsizetype HtmlToText::offset(Mark mark) const
{
    return std::min(m_marks.at(mark), m_text.size());
}

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

QString collapsedLabel(QStringView text)
{
    QString label;
    label.reserve(text.size());
    bool space = false;
    for (const QChar c : text) {
        if (c.unicode() == SoftHyphen || isInvisible(c.unicode()))
            continue;
        if (isCollapsible(c.unicode()) || c.isSpace()) {
            space = !label.isEmpty();
            continue;
        }
        if (space)
            label += u' ';
        space = false;
        label += c;
    }
    return label;
}

QString htmlFragmentToText(const QString &markup)
{
    HtmlToText text;
    text.addDocument(markup.toUtf8());
    return text.finish();
}

namespace {

// The node after node in document order within root, its children first unless skipped.
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

bool isTocNav(const xmlNode *node)
{
    return named(node, "nav")
           && attribute(node, "epub:type").split(u' ', Qt::SkipEmptyParts).contains(u"toc"_s);
}

} // namespace

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
