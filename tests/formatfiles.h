#pragma once

#include <QByteArray>

// Small books in each format Import reads besides EPUB and web pages, for the tests and the
// fuzz inputs: a FictionBook (nested sections, an epigraph, a poem, a note), a Word document
// and an OpenDocument text (headings, a tracked deletion, a comment, a table or a footnote), a
// Markdown book with a YAML block, and Kindle books.
extern const QByteArray FictionBook;
extern const QByteArray MarkdownBook;
extern const QByteArray KindleHtml;

QByteArray wordDocument();
QByteArray openDocument();
// KindleHtml as a Kindle book of the older kind; encryption is its DRM field (2 for DRM).
QByteArray kindleBook(const QByteArray &html, quint16 encryption = 0);
