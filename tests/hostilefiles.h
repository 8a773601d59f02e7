#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Files made to starve or mislead a reader: each part of an EPUB book (container, package, NCX,
// navigation document, content document) and web pages and texts with every attack a reader
// meets, EPUB archives that lie about their entries, and crafted PDFs. Each is a few hundred KB
// at most.
struct HostileFile
{
    QString name;     // its file name, whose extension says how it is imported
    QByteArray bytes;
    // A piece of the one-line message that refuses it; empty where reading it is right too.
    QString refusal;
};

QList<HostileFile> hostileFiles();
