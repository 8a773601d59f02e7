#pragma once

#include <QPlainTextEdit>
#include <QTextCursor>

// A text box of several lines whose text reads back with every line break as CR LF, the form the
// book file stores. Each line break in it counts as the two characters CR LF; nothing it holds
// may count differently:
// - every Enter, Shift+Enter too, makes an ordinary line break (Shift+Enter would otherwise put
//   in a line separator that shows as a break but counts as one character);
// - text put in by setText may hold CR LF, a lone LF or a lone CR, each one line break.
class MultiLineTextBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit MultiLineTextBox(QWidget *parent = nullptr);

    // The whole text, line breaks as CR LF; or, for a box that keeps its text as set, exactly
    // what setText put in until the user edits it.
    QString Text() const;
    // Replaces the whole text.
    void setText(const QString &text);
    // Replaces the whole text through the cursor, as one edit the document's history can take
    // back (inside the caller's edit block, if it opened one).
    void replaceAllText(QTextCursor &cursor, const QString &text);

    // A book's field that another tool may have written with a lone LF or CR keeps it until the
    // user edits the field, so that Open then Save As writes the same bytes.
    void keepTextAsSetUntilEdited() { m_keepsTextAsSet = true; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_keepsTextAsSet = false;
    QString m_textAsSet;
};
