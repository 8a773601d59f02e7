#pragma once

#include "result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// Reads every byte of a file. Never creates the file.
Result<QByteArray> readWholeFile(const QString &path);

// Writes bytes as the whole new content of path, or fails leaving whatever stood there before
// untouched: the bytes go to a temporary file beside it that is renamed over path only once it
// is complete, and is removed on failure.
std::optional<FileError> writeWholeFile(const QString &path, QByteArrayView bytes);
