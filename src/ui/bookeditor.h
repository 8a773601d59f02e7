#pragma once

#include "multilinetextbox.h"

class RowFollower;

// objBook, the editor that holds the book's text. Its operations carry the names the rest of the
// program uses and count offsets as the book file does: a line break is the two characters CR LF.
// The document itself keeps a line break as one block separator, so offset = position + number of
// its block. Reading the caret's offset, done on every keystroke, costs O(log n) in the number of
// lines; placing the caret at an offset searches the blocks, O(log^2 n).
class BookEditor : public MultiLineTextBox
{
    Q_OBJECT

public:
    explicit BookEditor(QWidget *parent = nullptr);

    // Replaces the whole text, as Open and Import do: the chapter rows are set with it and do
    // not follow this change.
    void setText(const QString &text);
    // Keeps the chapter rows on their headings as the text is edited.
    RowFollower *rowFollower() const { return m_rowFollower; }

    // The offset of the start of the selection.
    int SelStart() const;
    // The offset of the end of the selection; the caret's where nothing is selected.
    int SelEnd() const;
    // Moves the caret to an offset, collapsing the selection. Past the end puts it at the end;
    // inside a CR LF pair, before the pair.
    void setSelStart(qint64 offset);
    // Selects that many characters from the caret on.
    void setSelLength(qint64 length);

    // Scrolls the caret's line to near the top of the view, where a heading is read from.
    void showCaretNearTop();

    void Refresh();
    // Gives the editor the keyboard focus, its window becoming the active one, so that a
    // selection shows.
    void SetFocus();
    void setWidth(int twips);
    void setHeight(int twips);

signals:
    // The notifications the main window tracks the caret on, besides textChanged().
    void clicked();
    void characterKeyPressed(); // before the character goes in
    void focusGained();
    void focusLost();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    int positionOf(qint64 offset) const;

    RowFollower *m_rowFollower;
};
