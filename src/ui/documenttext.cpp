#include "documenttext.h"

#include <QTextDocument>

QString textWithCrLf(const QTextDocument &document)
{
    const QString raw = document.toRawText();
    const auto breaks = raw.count(QChar::ParagraphSeparator);
    if (breaks == 0)
        return raw;

    QString text(raw.size() + breaks, Qt::Uninitialized);
    QChar *out = text.data();
    for (const QChar c : raw) {
        if (c == QChar::ParagraphSeparator) {
            *out++ = u'\r';
            *out++ = u'\n';
        } else {
            *out++ = c;
        }
    }
    return text;
}
