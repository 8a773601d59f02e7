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

// A long field shows its start.
void setBoxText(QLineEdit *box, const QString &text)
{
    box->setText(text);
    box->setCursorPosition(0);
}

} // namespace

// The boxes and the chapter titles hold the fields without their fill spaces, so that what the
// user types at their end lands there and not past the field's width.
void showBook(const Book &book)
{
    setBoxText(frmInfo()->objTitle, withoutFill(book.title));
    setBoxText(frmInfo()->objAuthor, withoutFill(book.author));
    frmInfo()->objSynopsis->setText(withoutFill(book.synopsis));
    ChapterRows rows = book.chapters;
    for (ChapterEntry &row : rows)
        row.title = withoutFill(row.title);
    frmChapters()->setChapterRows(rows);
    frmLeafwright()->objBook->setText(book.text);
    setBookCodePage(book.codePage);
}
