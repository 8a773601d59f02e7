#pragma once

#include <QByteArray>
#include <QList>

// Small books in each format Import reads besides EPUB and web pages, for the tests and the
// fuzz inputs: a FictionBook (nested sections, an epigraph, a poem, a note), a Word document
// and an OpenDocument text (headings, a tracked deletion, a comment, a table or a footnote), a
// Markdown book with a YAML block, and Kindle books.
extern const QByteArray FictionBook;
extern const QByteArray MarkdownBook;
extern const QByteArray KindleHtml;

QByteArray wordDocument();
QByteArray openDocument();
// An entry of a Kindle book's table of contents: its label, and the markup it leads to (the
// first place the html holds it).
struct KindleEntry
{
    QByteArray label;
    QByteArray at;
};

// html as a Kindle book of the older kind; encryption is its DRM field (2 for DRM), contents
// its table of contents as the book's NCX index.
QByteArray kindleBook(const QByteArray &html, quint16 encryption = 0,
                      const QList<KindleEntry> &contents = {});
