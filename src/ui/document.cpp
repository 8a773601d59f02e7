#include "document.h"

#include "bookeditor.h"
#include "bookstate.h"
#include "frmchapters.h"
#include "frminfo.h"
#include "frmleafwright.h"
#include "multilinetextbox.h"
#include "windows.h"

#include <QLineEdit>

Book documentBook()
{
    Book book;
    book.title = frmInfo()->objTitle->text();
    book.author = frmInfo()->objAuthor->text();
    book.synopsis = frmInfo()->objSynopsis->Text();
    book.chapters = frmChapters()->chapterRows();
    book.text = frmLeafwright()->objBook->Text();
    book.codePage = bookCodePage();
    return book;
}

namespace {

// A stored field ends in fill spaces; the box shows its start, not the spaces.
void setBoxText(QLineEdit *box, const QString &text)
{
    box->setText(text);
    box->setCursorPosition(0);
}

} // namespace

void showBook(const Book &book)
{
    setBoxText(frmInfo()->objTitle, book.title);
    setBoxText(frmInfo()->objAuthor, book.author);
    frmInfo()->objSynopsis->setText(book.synopsis);
    frmChapters()->setChapterRows(book.chapters);
    frmLeafwright()->objBook->setText(book.text);
    setBookCodePage(book.codePage);
}
