#include "multilinetextbox.h"

#include "documenttext.h"

#include <QKeyEvent>

namespace {

// The paragraph separator and the two characters Qt reserves for frames would each become a
// line break of the document, counting two characters where the book file stores one "?". As
// U+FFFD they count one and are stored as "?" all the same.
QString withoutDocumentBreaks(const QString &text)
{
    constexpr char16_t Reserved[] = {0x2029, 0xFDD0, 0xFDD1};
    auto reserved = [&](QChar c) {
        return std::find(std::begin(Reserved), std::end(Reserved), c.unicode())
               != std::end(Reserved);
    };
    if (std::none_of(text.begin(), text.end(), reserved))
        return text;
    QString cleaned = text;
    for (QChar &c : cleaned) {
        if (reserved(c))
            c = QChar::ReplacementCharacter;
    }
    return cleaned;
}

} // namespace

MultiLineTextBox::MultiLineTextBox(QWidget *parent)
    : QPlainTextEdit(parent)
{}

QString MultiLineTextBox::Text() const
{
    // The document is modified by every edit of the user's, and unmodified again once they are
    // all undone.
    if (m_keepsTextAsSet && !document()->isModified())
        return m_textAsSet;
    return textWithCrLf(*document());
}

void MultiLineTextBox::setText(const QString &text)
{
    m_textAsSet = text;
    // Qt reads CR LF, a lone LF and a lone CR each as one line break.
    setPlainText(withoutDocumentBreaks(text));
}

void MultiLineTextBox::replaceAllText(QTextCursor &cursor, const QString &text)
{
    cursor.select(QTextCursor::Document);
    // Like setPlainText, insertText reads CR LF, a lone LF and a lone CR each as one line break.
    cursor.insertText(withoutDocumentBreaks(text));
}

void MultiLineTextBox::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers().testFlag(Qt::ShiftModifier)) {
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier,
                        event->text(), event->isAutoRepeat(), ushort(event->count()));
        QPlainTextEdit::keyPressEvent(&plain);
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}
