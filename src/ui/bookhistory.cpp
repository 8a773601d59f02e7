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
#include <QTimer>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

// Where the caret goes once the step being undone or redone has changed the text: Qt would leave
// it at the end of what it put back, the end of the book for a clean of the whole text.
std::optional<qsizetype> &caretAfterStep()
{
    static std::optional<qsizetype> caret;
    return caret;
}

// Rides in the main editor's own history, in the same step as the text it belongs with, so that
// one Undo takes back text and fields together and typing keeps its place in between.
class FieldsStep final : public QAbstractUndoItem
{
public:
    // changeStart is where the text begins to change, or -1 when it stays.
    FieldsStep(BookFields before, BookFields after, qsizetype changeStart)
        : m_before(std::move(before))
        , m_after(std::move(after))
        , m_changeStart(changeStart)
    {}

    void undo() override
    {
        restore(m_before);
        // What the status bar said of the change no longer holds.
        frmLeafwright()->showStatus({});
    }
    void redo() override { restore(m_after); }

private:
    void restore(const BookFields &fields)
    {
        showFields(fields);
        if (m_changeStart < 0)
            return;
        // The step's text comes back after this, in one change of the document, and must not
        // move the rows just set; then the caret goes back to where the change began.
        frmLeafwright()->objBook->rowFollower()->skipNextChange();
        caretAfterStep() = m_changeStart;
        QTimer::singleShot(0, frmLeafwright(), &placeCaretAfterStep);
    }

    BookFields m_before;
    BookFields m_after;
    qsizetype m_changeStart;
};

// Where two texts begin to differ.
qsizetype firstDifference(QStringView a, QStringView b)
{
    return std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
}

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

void placeCaretAfterStep()
{
    if (const std::optional<qsizetype> caret = std::exchange(caretAfterStep(), std::nullopt)) {
        BookEditor *editor = frmLeafwright()->objBook;
        editor->setSelStart(*caret);
        editor->ensureCursorVisible();
    }
}

void commitBookStep(const QString *newText, const BookFields &after, qsizetype caret)
{
    BookEditor *editor = frmLeafwright()->objBook;
    const BookFields before = currentFields();
    if (!newText && before == after)
        return;
    const qsizetype changeStart = newText ? firstDifference(editor->Text(), *newText) : -1;

    QTextDocument *document = editor->document();
    {
        const RowFollower::Pause pause(*editor->rowFollower());
        QTextCursor cursor(document);
        cursor.beginEditBlock();
        if (newText)
            editor->replaceAllText(cursor, *newText);
        document->appendUndoItem(new FieldsStep(before, after, changeStart));
        showFields(after);
        cursor.endEditBlock();
    }
    editor->setSelStart(caret);
}
