#pragma once

// What the HTML reader sees of a page through libxml2: the parsed tree, how each element shapes
// the text, and the small walks over it that the text writer and the table of contents share.

#include <QByteArrayView>
#include <QString>

#include <libxml/tree.h>

#include <memory>
#include <optional>

namespace HtmlMarkup {

QString fromXml(const xmlChar *text);

// An attribute's value, its name compared without case; empty when the element has none.
QString attribute(const xmlNode *node, const char *name);

bool named(const xmlNode *node, const char *name);

// A link to a note: marked so ("noteref"), or a link within the book set as a superscript
// ("<sup><a href='#n48'>48</a></sup>", "<a href='#n48'><sup>48</sup></a>").
bool isNoteReference(const xmlNode *node);

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
Kind kindOf(const xmlNode *node);

// 1 to 6 for h1 to h6, 0 for any other element.
int headingLevel(const xmlNode *node);

struct DocFree
{
    void operator()(xmlDoc *doc) const { xmlFreeDoc(doc); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocFree>;

// What makes a page unfit to read at all, or nothing: a start tag with more attributes than
// any page has, which would have a parser compare each of them with every other. Said as the
// rest of a sentence that starts with the page's name.
std::optional<QString> crowdedTag(QByteArrayView markup);

// The page parsed as a browser would, its damage mended; nothing when not even that succeeds.
DocPtr parseHtml(QByteArrayView markup);

// An XML document parsed with no network, no external entities and no DTD, quietly; with
// recover, the parser mends what it can. Nothing when not even that succeeds.
DocPtr parseXml(QByteArrayView xml, bool recover);

// Whether a parsed document nests elements deeper than any book does (a thousand levels), which
// the readers that walk it by recursion refuse rather than run out of stack.
bool nestsTooDeep(const xmlDoc *doc);

// The text an element holds, as a label: scripts and styles left out.
void gatherText(const xmlNode *node, QString &out);

// The node after node in document order within root, its children first unless skipped.
const xmlNode *nextNode(const xmlNode *node, const xmlNode *root, bool intoChildren);

} // namespace HtmlMarkup
