#pragma once

// Readers of formats that are not web pages (FictionBook, documents, Markdown, Kindle books)
// write what they read as one HTML page with ids where chapters start, and leave the text to
// the web page reader, so that every format's text comes out alike.

#include "epubimport.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct PageBook
{
    QByteArray html; // one page, UTF-8
    struct Entry
    {
        QString label; // the chapter's title, as the format gives it
        QString id;    // an element's id in the page, where the chapter starts
    };
    QList<Entry> entries; // in the order the chapter table takes them
    QString title, author, synopsis;
};

// The book the page holds: its text as a browser shows it, a chapter row per entry at its id
// (titles shortened as every title), or the headings the heading detector finds when the page
// names no entries, and the information given.
Result<ImportedBook> bookFromPage(const PageBook &page, const QString &path);

// Text as HTML character data: &, < and > escaped.
QByteArray escapedForHtml(QStringView text);
