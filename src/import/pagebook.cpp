#include "pagebook.h"

#include "htmltext.h"

#include "chapters/chaptertable.h"
#include "chapters/headingdetector.h"

using namespace Qt::StringLiterals;

Result<ImportedBook> bookFromPage(const PageBook &page, const QString &path)
{
    HtmlToText writer;
    const std::optional<HtmlToText::Document> document = writer.addDocument(page.html);
    if (!document)
        return FileError{path, u"holds no text that can be read"_s};
    ImportedBook imported;
    Book &book = imported.book;
    book.title = collapsedLabel(page.title);
    book.author = collapsedLabel(page.author);
    book.synopsis = page.synopsis;
    book.text = writer.finish();
    for (const PageBook::Entry &entry : page.entries) {
        const auto mark = document->ids.constFind(entry.id);
        if (mark == document->ids.cend())
            continue;
        book.chapters.append(newChapterRow(shortenedTitle(collapsedLabel(entry.label)),
                                           QString::number(writer.offset(*mark))));
    }
    // A book whose format gave no chapter titles is read as a text book is: by its headings.
    if (book.chapters.isEmpty()) {
        for (const FoundHeading &heading : FindHeadings(book.text))
            book.chapters.append(foundChapterRow(heading.title, heading.offset));
    }
    imported.chaptersLeftOut = keepRowsThatFit(book.chapters, 0);
    return imported;
}

QByteArray escapedForHtml(QStringView text)
{
    return text.toString().toHtmlEscaped().toUtf8();
}
