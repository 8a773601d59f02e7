#pragma once

#include <QByteArrayView>
#include <QString>

// Which reader a file to import goes to. The content decides where it tells (an archive, a
// Kindle book, a FictionBook, a web page, a PDF or an image, whatever the file is called); the
// name decides the rest (Markdown is text by its content); anything else is a text file.
enum class BookFormat {
    Text,
    Markdown,
    Epub,
    Html,
    FictionBook,
    FictionBookZip, // a FictionBook packed in a ZIP archive (.fb2.zip, .fbz)
    Kindle,         // MOBI, AZW3, PRC
    WordDocument,   // .docx
    OpenDocument,   // .odt
    Pdf,
    BookFile,       // a .vlm book file, which is opened, not imported
    Refused,        // something no reader reads: an image, some other archive
};

struct FileKind
{
    BookFormat format = BookFormat::Text;
    QString what; // for Refused, what it is: "a ZIP archive", "an image"
};

FileKind kindOfBook(const QString &path, QByteArrayView bytes);

// What a reader calls a format in a sentence: "an EPUB book", "a Word document", ...
QString formatName(BookFormat format);
