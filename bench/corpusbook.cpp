#include "corpusbook.h"

#include "book/textimport.h"
#include "book/wholetextmemory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

const CorpusBook &largestCorpusBook()
{
    static const CorpusBook book = [] {
        // As both programs do at start, so that the figures are theirs.
        reuseMemoryOfWholeTextCopies();
        const QDir dir(QString::fromUtf8(LEAFWRIGHT_CORPUS_DIR));
        const QFileInfoList books =
            dir.entryInfoList({QStringLiteral("*.txt")}, QDir::Files, QDir::Size);
        if (books.isEmpty())
            return CorpusBook{};
        QFile file(books.first().filePath());
        if (!file.open(QIODevice::ReadOnly))
            return CorpusBook{};
        const QByteArray bytes = file.readAll();
        return CorpusBook{books.first().filePath(), books.first().fileName(), bytes,
                          decodeTextFile(bytes)};
    }();
    return book;
}
