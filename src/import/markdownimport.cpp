#include "markdownimport.h"

#include "pagebook.h"
#include "textencoding.h"

#include <md4c-html.h>

#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A value of the YAML block as written: quotes taken off.
QString yamlValue(QStringView value)
{
    QStringView text = value.trimmed();
    if (text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'')
        && text.back() == text.front()) {
        text = text.sliced(1, text.size() - 2);
    }
    return text.toString();
}

// The title and author of a leading YAML block ("---" lines around "key: value" lines; an
// author may be a list of "- name" lines), and where the Markdown after it starts.
struct FrontMatter
{
    QString title;
    QStringList authors;
    qsizetype bodyStart = 0;
};

FrontMatter frontMatter(const QString &text)
{
    FrontMatter matter;
    const QStringList lines = text.split(u"\r\n"_s);
    if (lines.isEmpty() || lines.first().trimmed() != u"---"_s)
        return matter;
    qsizetype offset = lines.first().size() + 2;
    QString key;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString &line = lines[i];
        offset += line.size() + 2;
        if (line.trimmed() == u"---"_s || line.trimmed() == u"..."_s) {
            // The closing line may be the text's last, with no line break after it.
            matter.bodyStart = std::min(offset, text.size());
            return matter;
        }
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u"- "_s) && (key == u"author"_s || key == u"authors"_s)) {
            matter.authors.append(yamlValue(trimmed.sliced(2)));
            continue;
        }
        const qsizetype colon = line.indexOf(u':');
        if (colon <= 0 || line.front().isSpace())
            continue;
        key = line.left(colon).trimmed().toLower();
        const QString value = yamlValue(QStringView(line).sliced(colon + 1));
        if (key == u"title"_s)
            matter.title = value;
        else if ((key == u"author"_s || key == u"authors"_s) && !value.isEmpty())
            matter.authors.append(value);
    }
    return {}; // no closing line: no YAML block, but the text's own first line
}

void appendHtml(const MD_CHAR *text, MD_SIZE size, void *page)
{
    static_cast<QByteArray *>(page)->append(text, qsizetype(size));
}

} // namespace

Result<ImportedBook> readMarkdownBook(QByteArrayView bytes, const QString &path)
{
    const DecodedText decoded = decodeAnyText(bytes);
    const FrontMatter matter = frontMatter(decoded.text);
    const QByteArray markdown = QStringView(decoded.text).sliced(matter.bodyStart).toUtf8();
    QByteArray html = "<html><body>";
    if (md_html(markdown.constData(), MD_SIZE(markdown.size()), appendHtml, &html,
                MD_DIALECT_GITHUB, 0)
        != 0) {
        return FileError{path, u"cannot be read as Markdown"_s};
    }
    html += "</body></html>";
    Result<ImportedBook> book = readHtmlBook(html, path);
    if (book) {
        ImportedBook imported = std::move(book).value();
        if (!matter.title.isEmpty())
            imported.book.title = matter.title;
        imported.book.author = matter.authors.join(u" & "_s);
        imported.encoding = decoded.encoding;
        return imported;
    }
    return book;
}
