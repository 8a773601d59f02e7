#pragma once

#include <QPlainTextEdit>

// objBook, the editor that holds the book's text. Its operations carry the names the rest of the
// program uses and count offsets as the book file does: a line break is the two characters CR LF.
// The document itself keeps a line break as one block separator, so offset = position + number of
// the block, and both directions cost O(log n) in the number of lines.
class BookEditor : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit BookEditor(QWidget *parent = nullptr);

    // The whole text, line breaks as CR LF.
    QString Text() const;
    // Replaces the whole text; CR LF, a lone LF and a lone CR each become one line break.
    void setText(const QString &text);

    // The offset of the start of the selection.
    int SelStart() const;
    // Moves the caret to an offset, collapsing the selection. Past the end puts it at the end;
    // inside a CR LF pair, before the pair.
    void setSelStart(qint64 offset);
    // Selects that many characters from the caret on.
    void setSelLength(qint64 length);

    void Refresh();
    void SetFocus() { setFocus(Qt::OtherFocusReason); }
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
};
