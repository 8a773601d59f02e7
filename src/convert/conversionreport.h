#pragma once

// The report of a conversion: one row per book, as CSV or, for a file named ".json", JSON.

#include "libraryconversion.h"

#include "book/result.h"

#include <QByteArray>

#include <optional>

// The report's bytes: CSV with a header row, or a JSON list of objects, with the fields input,
// output, status, message, title, author, chapters, characters, unstorable (characters stored
// as "?"), check_findings and milliseconds.
QByteArray conversionReport(const LibraryConversion &conversion, bool json);

// The report written to path (JSON when path ends in ".json"), whole or not at all.
std::optional<FileError> writeConversionReport(const LibraryConversion &conversion,
                                               const QString &path);
