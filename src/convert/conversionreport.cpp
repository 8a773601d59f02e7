#include "conversionreport.h"

#include "book/fileio.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

// A CSV field: quoted when it holds a comma, a quote or a line break, its quotes doubled.
QByteArray csvField(const QString &value)
{
    QByteArray field = value.toUtf8();
    if (field.contains(',') || field.contains('"') || field.contains('\n')
        || field.contains('\r')) {
        field.replace('"', "\"\"");
        field = '"' + field + '"';
    }
    return field;
}

} // namespace

QByteArray conversionReport(const LibraryConversion &conversion, bool json)
{
    const QStringList names = {u"input"_s,      u"output"_s,         u"status"_s,
                               u"message"_s,    u"title"_s,          u"author"_s,
                               u"chapters"_s,   u"characters"_s,     u"unstorable"_s,
                               u"check_findings"_s, u"milliseconds"_s};
    QJsonArray rows;
    QByteArray csv = names.join(u',').toUtf8() + "\r\n";
    for (qsizetype i = 0; i < conversion.plan().jobs.size(); ++i) {
        const ConversionJob &job = conversion.plan().jobs[i];
        const ConversionResult &result = conversion.results()[std::size_t(i)];
        const QStringList texts = {job.input,      job.output,     statusName(result.status),
                                   result.message, result.title,   result.author};
        const qint64 numbers[] = {result.chapters, result.characters, result.unstorable,
                                  result.findings, result.milliseconds};
        QJsonObject row;
        QByteArrayList fields;
        for (qsizetype f = 0; f < texts.size(); ++f) {
            row.insert(names[f], texts[f]);
            fields.append(csvField(texts[f]));
        }
        for (qsizetype f = 0; f < qsizetype(std::size(numbers)); ++f) {
            row.insert(names[texts.size() + f], numbers[f]);
            fields.append(QByteArray::number(numbers[f]));
        }
        rows.append(row);
        csv += fields.join(',') + "\r\n";
    }
    return json ? QJsonDocument(rows).toJson() : csv;
}

std::optional<FileError> writeConversionReport(const LibraryConversion &conversion,
                                               const QString &path)
{
    const bool json = path.endsWith(u".json"_s, Qt::CaseInsensitive);
    return writeWholeFile(path, conversionReport(conversion, json));
}
