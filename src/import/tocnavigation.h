#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

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

// Whether a table of contents entry's label is a number alone ("12", "IV."), which reads only
// with its parent's label before it.
bool isNumberOnly(QStringView label);
