#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

class QXmlStreamReader;

// One link of a table of contents: its label as written and where it points.
struct TocLink
{
    QString label;
    QString href;
};

// The links of an EPUB navigation document's table of contents (its nav element of type "toc"),
// nested lists flattened in reading order; entries without a link give none. An entry that is a
// number alone is titled with its parent's label: "Song of Myself 1".
QList<TocLink> navigationLinks(QByteArrayView markup);

// The navPoints of an NCX's navMap, nested ones flattened in reading order and numbered ones
// titled as in navigationLinks. A fault in the file ends the list where it stands and is told
// in problem; entries past what the chapter table could hold are only counted, in beyond.
QList<TocLink> ncxLinks(QByteArrayView xml, qsizetype &beyond, QString &problem);

// Where and why an XML part could not be read, for a message: "... (line 3)".
QString xmlProblem(const QXmlStreamReader &xml);

// Whether a table of contents entry's label is a number alone ("12", "IV."), which reads only
// with its parent's label before it.
bool isNumberOnly(QStringView label);
