#include "fileio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

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

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileError{path, u"cannot be opened: "_s + reason(file)};
    QByteArray bytes = file.readAll();
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
