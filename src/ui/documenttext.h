#pragma once

#include <QString>

class QTextDocument;

// The whole text of a document with every line break as CR LF and nothing else changed (a
// no-break space stays one). Qt keeps a line break as one block separator.
QString textWithCrLf(const QTextDocument &document);
