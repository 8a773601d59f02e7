#pragma once

#include "book.h"
#include "codepage.h"
#include "result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// A book file is one BookFileHeader, then BookFileHeader::ChapterCount ChapterRecords, then the
// text to the end of the file: no gaps, little-endian integers, one byte per character in the
// book's code page. Character fields are filled with spaces on the right or cut at their length.

// Byte offsets and sizes of the header's fields.
struct BookFileHeader
{
    static constexpr qsizetype Word1 = 0;        // 16-bit, written as 1
    static constexpr qsizetype Word2 = 2;        // 16-bit, written as 0
    static constexpr qsizetype ChapterCount = 4; // 32-bit signed
    static constexpr qsizetype Reserved8 = 8;    // 8 zero bytes
    static constexpr qsizetype Magic = 16;       // "VLM", never checked when reading
    static constexpr qsizetype Title = 19;
    static constexpr qsizetype Author = 147;
    static constexpr qsizetype Synopsis = 275;
    static constexpr qsizetype Reserved1024 = 1299; // 1024 NUL bytes
    static constexpr qsizetype Size = 2323;

    static constexpr qsizetype TitleLength = 128;
    static constexpr qsizetype AuthorLength = 128;
    static constexpr qsizetype SynopsisLength = 1024;
    static constexpr qsizetype Reserved1024Length = 1024;

    // The chapter lists count their rows in 16 bits.
    static constexpr qint32 MaxChapterCount = 32767;
};

// Byte offsets and sizes of one chapter record.
struct ChapterRecord
{
    static constexpr qsizetype Offset = 0; // 32-bit signed
    static constexpr qsizetype Title = 4;
    static constexpr qsizetype TitleLength = 40;
    static constexpr qsizetype Size = 44;
};

// How a loaded book's text comes: with every line break made CR LF, as the editor holds it, or
// exactly as the file stores it, as the reader on the phone sees it.
enum class TextLineBreaks { MadeCrLf, AsStored };

// The bytes of a book file for book, in its code page. Expects at most MaxChapterCount chapters.
// Characters the code page cannot hold are stored as "?" and tallied in unstorable when given.
QByteArray serializeBook(const Book &book, CodePage::Unstorable *unstorable = nullptr);

// The book held in the bytes of a book file, or why they hold none; path only names the file in
// the message. Fields and chapter titles keep their fill spaces, offsets come back as text with
// a sign position, and the text's line breaks become CR LF. The bytes are read in codePage, or
// in the one they read best in when none is given.
Result<Book> parseBook(QByteArrayView bytes, const QString &path,
                       TextLineBreaks lineBreaks = TextLineBreaks::MadeCrLf,
                       std::optional<CodePage::Id> codePage = std::nullopt);

// What a file plainly is when it is no book file, from its first bytes: "an EPUB book", "a ZIP
// archive", "a PDF document", "an image", "a web page" or "a text file" (at least a header long, with no NUL
// byte in it, where a book file's header has many, and no "VLM" mark); empty for anything else. A
// real book file, whatever its text holds, is never taken for another.
QString otherFormatOf(QByteArrayView bytes);

// Writes book to path, replacing any file there only once the new one is complete. On success,
// tells which characters had to be stored as "?".
Result<CodePage::Unstorable> SaveBook(const Book &book, const QString &path);

// Reads the book file at path. Refuses, with a message, a file that cannot be read or does not
// hold the header and every record it announces. Read as parseBook reads.
Result<Book> LoadBook(const QString &path, TextLineBreaks lineBreaks = TextLineBreaks::MadeCrLf,
                      std::optional<CodePage::Id> codePage = std::nullopt);

// The name Save As proposes: the open book's own file; else a name made from the title (its
// letters, digits and spaces) or else from the imported file's name, with ".vlm", in the last
// Save As folder or else the imported file's folder. Empty when there is nothing to go by.
QString proposedBookName(const QString &bookFile, const QString &title, const QString &imported,
                         const QString &lastSaveFolder);

// The name Save As writes to: the name itself when it ends in ".vlm" in any mix of cases,
// otherwise the name with ".vlm" appended ("book.txt" becomes "book.txt.vlm").
QString withBookExtension(const QString &name);
