#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

// The text a reader sees of HTML documents read one after another: each body in order, block
// elements on lines of their own, paragraphs separated by one blank line, white space collapsed
// as a browser collapses it (except inside pre), entities decoded, script, style and head left
// out, characters invisible by nature (zero-width spaces and joiners) dropped and soft hyphens
// kept, an image's alternative text as "[text]"; line breaks CR LF.
//
// Places in the text (a document's start, an element with an id, a heading) are marks: a mark
// stands where the next visible character after it is written, so a mark taken at a heading's
// start lands on the heading's first letter even though the line breaks before it are written
// later. Marks are read once the text is finished.
class HtmlToText
{
public:
    using Mark = qsizetype;

    struct Heading
    {
        int level;     // 1 to 6
        QString title; // its text, white space collapsed
        Mark mark;
    };

    // What one document added.
    struct Document
    {
        Mark start;
        QHash<QString, Mark> ids; // every element's id (and an a element's name), first one wins
        QList<Heading> headings;
        QString title;  // the title element's text, white space collapsed
        QString author; // from the head's meta "author" or "DC.creator"
    };

    // Adds one document, separated from the text before it by a blank line. Nothing when even
    // the parser's recovery finds no document in the bytes. The bytes are read as UTF-8 when they
    // are valid UTF-8; otherwise as the document declares, or Windows-1252.
    std::optional<Document> addDocument(QByteArrayView markup);

    // A mark for what follows, without a document: a place for content that gives no text.
    Mark markHere();

    // The whole text, white space at its end dropped. Call once, after the last document.
    QString finish();

    // Where a mark landed in the finished text: never beyond its end.
    qsizetype offset(Mark mark) const;

private:
    friend class HtmlWalker;

    void oweBreaks(int lines);
    void lineBreak();
    void appendText(QStringView text, bool preformatted);
    void beginContent();

    QString m_text;
    int m_breaksOwed = 0;     // line breaks a block boundary wants before the next content
    int m_trailingBreaks = 0; // line breaks already written since the last content
    bool m_spaceOwed = false;
    qsizetype m_preformattedEnd = 0; // where the last preformatted character was written
    std::vector<qsizetype> m_marks; // -1 until the next content places them
    std::vector<Mark> m_unplaced;
};

// White space collapsed to single spaces and trimmed, soft hyphens and invisible characters
// dropped: a label as a list or a title box shows it.
QString collapsedLabel(QStringView text);

// The text of a piece of HTML, for instance a book's description: markup removed, paragraphs
// separated by blank lines.
QString htmlFragmentToText(const QString &markup);
