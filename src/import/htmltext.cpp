#include "htmltext.h"

#include "htmlmarkup.h"

#include <libxml/HTMLparser.h>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace HtmlMarkup;

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
    // A page's text is seldom longer than its markup; room for it saves copying it over as
    // it grows.
    m_text.reserve(m_text.size() + markup.size());

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
            for (; end < size; ++end) {
                const char16_t next = text[end].unicode();
                const bool printableAscii = next > u' ' && next < 0x7F;
                if (!printableAscii && (isCollapsible(next) || isInvisible(next)))
                    break;
            }
            m_text += text.sliced(i, end - i);
            i = end - 1;
            continue;
        }
        if (c == u'\r' || c == u'\n' || c == 0x2028 || c == 0x2029) {
            if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n')
                ++i;
            // A line break of preformatted text shows nothing: with the breaks owed before it,
            // it counts as written towards those the next block owes.
            const int owed = m_text.isEmpty() ? 0 : std::max(m_breaksOwed, m_trailingBreaks);
            beginContent();
            m_text += u"\r\n"_s;
            m_trailingBreaks = owed + 1;
            m_preformattedEnd = m_text.size();
            continue;
        }
        beginContent();
        m_text += QChar(c);
        m_preformattedEnd = m_text.size();
    }
}

QString HtmlToText::finish()
{
    // White space at the end goes, but for what preformatted text wrote, which shows.
    qsizetype end = m_text.size();
    while (end > m_preformattedEnd && isCollapsible(m_text[end - 1].unicode()))
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
