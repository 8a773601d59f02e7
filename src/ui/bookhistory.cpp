#include "bookhistory.h"

#include "bookeditor.h"
#include "bookstate.h"
#include "frmchapters.h"
#include "frminfo.h"
#include "frmleafwright.h"
#include "multilinetextbox.h"
#include "rowfollower.h"
#include "windows.h"

#include <QAbstractUndoItem>
#include <QLineEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// Rides in the main editor's own history, in the same step as the text it belongs with, so that
// one Undo takes back text and fields together and typing keeps its place in between.
class FieldsStep final : public QAbstractUndoItem
{
public:
    FieldsStep(BookFields before, BookFields after, bool textChanges)
        : m_before(std::move(before))
        , m_after(std::move(after))
        , m_textChanges(textChanges)
    {}

    void undo() override { restore(m_before); }
    void redo() override { restore(m_after); }

private:
    void restore(const BookFields &fields)
    {
        showFields(fields);
        // The step's text comes back after this, in one change of the document, and must not
        // move the rows just set.
        if (m_textChanges)
            frmLeafwright()->objBook->rowFollower()->skipNextChange();
    }

    BookFields m_before;
    BookFields m_after;
    bool m_textChanges;
};

} // namespace

BookFields currentFields()
{
    return {frmInfo()->objTitle->text(), frmInfo()->objAuthor->text(), frmChapters()->chapterRows(),
            frmInfo()->objSynopsis->Text()};
}

Book currentBook()
{
    const BookFields fields = currentFields();
    return {fields.title,
            fields.author,
            fields.synopsis,
            fields.rows,
            frmLeafwright()->objBook->Text(),
            bookCodePage()};
}

BookFields fieldsOf(const Book &book)
{
    return {book.title, book.author, book.chapters, book.synopsis};
}

void showFields(const BookFields &fields)
{
    FrmInfo *info = frmInfo();
    if (info->objTitle->text() != fields.title)
        info->objTitle->setText(fields.title);
    if (info->objAuthor->text() != fields.author)
        info->objAuthor->setText(fields.author);
    if (info->objSynopsis->Text() != fields.synopsis)
        info->objSynopsis->setText(fields.synopsis);
    if (frmChapters()->chapterRows() != fields.rows)
        frmChapters()->setChapterRows(fields.rows);
}

void commitBookStep(const QString *newText, const BookFields &after, qsizetype caret)
{
    BookEditor *editor = frmLeafwright()->objBook;
    const BookFields before = currentFields();
    if (!newText && before == after)
        return;

    QTextDocument *document = editor->document();
    {
        const RowFollower::Pause pause(*editor->rowFollower());
        QTextCursor cursor(document);
        cursor.beginEditBlock();
        if (newText)
            editor->replaceAllText(cursor, *newText);
        document->appendUndoItem(new FieldsStep(before, after, newText != nullptr));
        showFields(after);
        cursor.endEditBlock();
    }
    editor->setSelStart(caret);
}
