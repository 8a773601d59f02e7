#pragma once

#include <QByteArray>
#include <QString>

// The largest real book of the corpus folder, which the benchmarks measure on.
struct CorpusBook
{
    QString path;
    QString name;
    QByteArray bytes; // the file as it is
    QString text;     // as Import reads it
};

// Empty when the corpus folder holds no book.
const CorpusBook &largestCorpusBook();
