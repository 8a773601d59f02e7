#include "document.h"

#include "bookeditor.h"
#include "frminfo.h"
#include "frmleafwright.h"
#include "windows.h"

#include "chapters/frmchapters.h"

#include <QLineEdit>

Book documentBook()
{
    Book book;
    book.title = frmInfo()->objTitle->text();
    book.author = frmInfo()->objAuthor->text();
    book.synopsis = frmInfo()->synopsisText();
    book.chapters = frmChapters()->chapterRows();
    book.text = frmLeafwright()->objBook->Text();
    return book;
}

void showBook(const Book &book)
{
    frmInfo()->objTitle->setText(book.title);
    frmInfo()->objAuthor->setText(book.author);
    frmInfo()->setSynopsisText(book.synopsis);
    frmChapters()->setChapterRows(book.chapters);
    frmLeafwright()->objBook->setText(book.text);
}

void showImportedText(const QString &text)
{
    Book book;
    book.text = text;
    showBook(book);
}
