#pragma once

#include "htmltext.h"
#include "tocnavigation.h"

#include "book/book.h"
#include "book/result.h"
#include "chapters/chaptertable.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>

// A book read from another format: what goes into the windows, and how many entries of the
// book's own table of contents the chapter table had no room for.
struct ImportedBook
{
    Book book;
    qsizetype chaptersLeftOut = 0;
    // Why the book's own table of contents gave no chapters, when it is damaged or cannot be
    // read; the text is read all the same.
    QString tableProblem;
    // The encoding a text was read in, when it was neither UTF-8 nor Windows-1252, for the
    // user to be told.
    QString encoding;
    // What the user should know of a book read all the same, for instance that its letters came
    // out as symbols.
    QString warning;
};

// An EPUB book (2 or 3) in the bytes of the file at path (which only names it in messages): the
// text of its content documents in reading order, its title, authors and description, and a
// chapter row per entry of its table of contents. A damaged, protected or hostile book is a
// FileError; nothing is written anywhere.
Result<ImportedBook> readEpub(QByteArrayView bytes, const QString &path);

// An HTML page: its text, its title element as the title, its h1 to h3 headings as chapters.
Result<ImportedBook> readHtmlBook(QByteArrayView bytes, const QString &path);

// The content documents of a book read one after another into one text, each under its name in
// the book, and the chapter rows its table of contents or its headings give: EPUB books, Kindle
// books and web pages are read so.
class BookDocuments
{
public:
    // Adds a document named name; nothing when even the parser's recovery finds no document in
    // the markup.
    const HtmlToText::Document *add(const QString &name, QByteArrayView markup);
    // A document that gives no text (an image), so that links to it land where it stands.
    void addWithoutText(const QString &name);
    bool contains(const QString &name) const { return m_documentOf.contains(name); }

    // The text of the documents added, once every document is in.
    QString finish()
    {
        m_text = m_writer.finish();
        return m_text;
    }

    // A chapter row per link of a table of contents read from the document linksFrom, at the
    // start of the line where the element it leads to begins (an anchor inside a paragraph, a
    // wrapper around a heading); a link that leads outside the documents gives none, and links
    // past the chapter table's room are only counted, in beyond. After finish.
    ChapterRows tableRows(const QList<TocLink> &links, const QString &linksFrom,
                          qsizetype &beyond) const;
    // A chapter row per h1 to h3 heading that starts a section; the words of a title page set
    // as headings ("THE", "by") stand right above the next heading with no text of their own
    // and start none. Headings past the chapter table's room are only counted, in beyond.
    ChapterRows headingRows(qsizetype &beyond) const;

private:
    HtmlToText m_writer;
    QString m_text; // once finished
    QList<HtmlToText::Document> m_documents;
    QHash<QString, qsizetype> m_documentOf; // the first place of each document
};
