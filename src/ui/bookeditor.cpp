#include "bookeditor.h"

#include "rowfollower.h"
#include "twips.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>

#include <algorithm>

BookEditor::BookEditor(QWidget *parent)
    : MultiLineTextBox(parent)
{
    setObjectName(QStringLiteral("objBook"));
    m_rowFollower = new RowFollower(document());
}

void BookEditor::setText(const QString &text)
{
    const RowFollower::Pause pause(*m_rowFollower);
    MultiLineTextBox::setText(text);
}

int BookEditor::SelStart() const
{
    const int position = textCursor().selectionStart();
    return position + document()->findBlock(position).blockNumber();
}

void BookEditor::showCaretNearTop()
{
    // The view scrolls by blocks: two lines of what went before stay in sight.
    constexpr int LinesAbove = 2;
    verticalScrollBar()->setValue(std::max(0, textCursor().blockNumber() - LinesAbove));
    ensureCursorVisible();
}

int BookEditor::SelEnd() const
{
    const int position = textCursor().selectionEnd();
    return position + document()->findBlock(position).blockNumber();
}

int BookEditor::positionOf(qint64 offset) const
{
    if (offset <= 0)
        return 0;

    // The last block whose first character's offset (position + block number) is at or before
    // offset.
    const QTextDocument *doc = document();
    int low = 0;
    int high = doc->blockCount() - 1;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (doc->findBlockByNumber(middle).position() + middle <= offset)
            low = middle;
        else
            high = middle - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(low);
    const qint64 intoBlock = offset - (block.position() + low);
    return block.position() + int(std::min<qint64>(intoBlock, block.length() - 1));
}

void BookEditor::setSelStart(qint64 offset)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(positionOf(offset));
    setTextCursor(cursor);
}

void BookEditor::setSelLength(qint64 length)
{
    const int start = SelStart();
    QTextCursor cursor = textCursor();
    cursor.setPosition(positionOf(start));
    cursor.setPosition(positionOf(start + std::max<qint64>(length, 0)), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void BookEditor::Refresh()
{
    viewport()->repaint();
    repaint();
}

void BookEditor::SetFocus()
{
    window()->activateWindow();
    setFocus(Qt::OtherFocusReason);
}

void BookEditor::setWidth(int twips)
{
    resize(twipsToPixels(twips), height());
}

void BookEditor::setHeight(int twips)
{
    resize(width(), twipsToPixels(twips));
}

void BookEditor::keyPressEvent(QKeyEvent *event)
{
    // A key that types a character, Enter and Backspace included, is announced before the
    // character goes in; keys that only move the caret (arrows, Page Up) are not.
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.front() != QChar(0x7F))
        emit characterKeyPressed();

    MultiLineTextBox::keyPressEvent(event);
}

void BookEditor::mouseReleaseEvent(QMouseEvent *event)
{
    MultiLineTextBox::mouseReleaseEvent(event);
    emit clicked();
}

void BookEditor::focusInEvent(QFocusEvent *event)
{
    MultiLineTextBox::focusInEvent(event);
    emit focusGained();
}

void BookEditor::focusOutEvent(QFocusEvent *event)
{
    MultiLineTextBox::focusOutEvent(event);
    emit focusLost();
}
