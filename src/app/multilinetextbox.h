#pragma once

#include <QPlainTextEdit>

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

    // The whole text, line breaks as CR LF; until the user edits it, exactly the text that
    // setText put in, so that a loaded book saves back byte for byte even where another tool
    // wrote a lone LF or CR.
    QString Text() const;
    // Replaces the whole text.
    void setText(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString m_textAsSet;
};
