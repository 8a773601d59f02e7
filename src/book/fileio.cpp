#include "fileio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

FileError::FileError(QString path, QString problem)
    : path(std::move(path))
    , problem(std::move(problem))
{
    for (QChar &c : this->problem) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line
            || category == QChar::Separator_Paragraph)
            c = QChar::ReplacementCharacter;
    }
}

QString FileError::message() const
{
    return QDir::toNativeSeparators(path) + u": "_s + problem;
}

namespace {

// What the system said, as the end of a sentence of ours.
QString reason(const QFileDevice &file)
{
    QString text = file.errorString();
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

} // namespace

Result<QByteArray> readWholeFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return FileError{path, u"no such file"_s};
    if (info.isDir())
        return FileError{path, u"is a folder, not a file"_s};
    // A device or a pipe (or a link to one) has no size to know before reading and may never
    // end: /dev/zero named book.epub would fill the memory.
    if (!info.isFile())
        return FileError{path, u"is not a regular file (a device, a pipe or a link to one)"_s};

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileError{path, u"cannot be opened: "_s + reason(file)};
    // What the file held when it was looked at, and no more should it grow meanwhile.
    QByteArray bytes = file.read(info.size());
    if (file.error() != QFileDevice::NoError)
        return FileError{path, u"cannot be read: "_s + reason(file)};
    return bytes;
}

std::optional<FileError> writeWholeFile(const QString &path, QByteArrayView bytes)
{
    const QFileInfo info(path);
    if (info.isDir())
        return FileError{path, u"is a folder; choose a file name"_s};
    if (!info.absoluteDir().exists())
        return FileError{path, u"cannot be written: the folder does not exist"_s};

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return FileError{path, u"cannot be written: "_s + reason(file)};
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        const FileError error{path, u"cannot be written: "_s + reason(file)};
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return FileError{path, u"cannot be written: "_s + reason(file)};
    return std::nullopt;
}
