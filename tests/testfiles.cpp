#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void writeBytes(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes.data(), bytes.size()), bytes.size());
}

QString corpusDir()
{
    return QString::fromUtf8(LEAFWRIGHT_CORPUS_DIR);
}

QStringList corpusBooks()
{
    const QDir dir(corpusDir());
    QStringList books;
    for (const QString &name : dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name))
        books.append(dir.filePath(name));
    return books;
}

QByteArray le32(qint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray field(QByteArray bytes, qsizetype length)
{
    bytes.truncate(length);
    return bytes + QByteArray(length - bytes.size(), ' ');
}

QByteArray header(qint32 chapterCount, const QByteArray &title, const QByteArray &author,
                  const QByteArray &synopsis)
{
    return QByteArray("\x01\x00\x00\x00", 4) + le32(chapterCount) + QByteArray(8, '\0') + "VLM"
           + field(title, 128) + field(author, 128) + field(synopsis, 1024)
           + QByteArray(1024, '\0');
}

QByteArray record(qint32 offset, const QByteArray &title)
{
    return le32(offset) + field(title, 40);
}

QStringList writeMalformedBooks(const QString &folder)
{
    auto withCount = [](qint32 count) { return header(0, "", "", "").replace(4, 4, le32(count)); };
    const std::pair<QString, QByteArray> books[] = {
        {QStringLiteral("short.vlm"), QByteArray(100, 'x')},
        {QStringLiteral("empty.vlm"), QByteArray()},
        {QStringLiteral("negative.vlm"), withCount(-1)},
        {QStringLiteral("oversized.vlm"), withCount(32768) + QByteArray(44 * 32768, 'r')},
        {QStringLiteral("truncated.vlm"), withCount(5) + QByteArray(44 * 4 + 43, 'r')},
    };
    QStringList names;
    for (const auto &[name, bytes] : books) {
        writeBytes(folder + u'/' + name, bytes);
        names.append(name);
    }
    return names << QStringLiteral("missing.vlm");
}

QList<ChapterEntry> rows(const QString &written, qsizetype titleWidth)
{
    QList<ChapterEntry> result;
    for (const QString &row : written.split(u'|', Qt::SkipEmptyParts))
        result.append({row.section(u'@', 0, -2).leftJustified(titleWidth), row.section(u'@', -1)});
    return result;
}

void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

void PrintTo(const ChapterEntry &row, std::ostream *out)
{
    *out << "{\"" << row.title.toStdString() << "\", \"" << row.offset.toStdString() << "\"}";
}

void PrintTo(const Book &book, std::ostream *out)
{
    PrintTo(QStringList{book.title, book.author, book.synopsis, book.text}.join(u" | "), out);
    for (const ChapterEntry &row : book.chapters)
        PrintTo(row, out);
}
