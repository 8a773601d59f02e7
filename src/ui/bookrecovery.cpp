#include "bookrecovery.h"

#include "bookeditor.h"
#include "bookstate.h"
#include "document.h"
#include "frmleafwright.h"
#include "prompts.h"
#include "windows.h"

#include "book/bookfile.h"
#include "book/fileio.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Soon enough that little is lost, seldom enough that typing never waits for it.
constexpr int CopyDelayMs = 3000;

QString lockPath(const QString &id)
{
    return QDir(recoveryFolder()).filePath(id + u".lock"_s);
}

QString bookPathOf(const QString &id)
{
    return QDir(recoveryFolder()).filePath(id + u".vlm"_s);
}

QString sidePathOf(const QString &id)
{
    return QDir(recoveryFolder()).filePath(id + u".json"_s);
}

void removeCopy(const QString &id)
{
    QFile::remove(bookPathOf(id));
    QFile::remove(sidePathOf(id));
}

// What a book file does not hold.
struct SideFacts
{
    QString source;     // the file the book came from; empty for none
    bool saved = false; // opened from a book file or saved as one
    CodePage::Id codePage = CodePage::Western;
    QDateTime written;
};

QByteArray sideFile(const SideFacts &facts)
{
    const QJsonObject object{
        {u"source"_s, facts.source},
        {u"saved"_s, facts.saved},
        {u"codePage"_s, CodePage::name(facts.codePage)},
        {u"written"_s, facts.written.toString(Qt::ISODate)},
    };
    return QJsonDocument(object).toJson();
}

SideFacts readSideFile(const QString &path)
{
    SideFacts facts;
    const Result<QByteArray> bytes = readWholeFile(path);
    if (!bytes)
        return facts;
    const QJsonObject object = QJsonDocument::fromJson(bytes.value()).object();
    facts.source = object.value(u"source"_s).toString();
    facts.saved = object.value(u"saved"_s).toBool();
    facts.codePage =
        CodePage::parse(object.value(u"codePage"_s).toString()).value_or(CodePage::Western);
    facts.written = QDateTime::fromString(object.value(u"written"_s).toString(), Qt::ISODate);
    return facts;
}

} // namespace

QString recoveryFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(u"recovery"_s);
}

QStringList leftBooks()
{
    QDir folder(recoveryFolder());
    QStringList left;
    for (const QFileInfo &book : folder.entryInfoList({u"*.vlm"_s}, QDir::Files, QDir::Time)) {
        // A running program holds its lock; a program that ended without a word left it stale.
        QLockFile lock(lockPath(book.completeBaseName()));
        lock.setStaleLockTime(0);
        if (lock.tryLock(0))
            left.append(book.absoluteFilePath());
    }
    return left;
}

BookRecovery::BookRecovery(QObject *parent)
    : QObject(parent)
    , m_id(QUuid::createUuid().toString(QUuid::WithoutBraces))
    , m_lock(lockPath(m_id))
{
    QDir().mkpath(recoveryFolder());
    m_lock.setStaleLockTime(0);
    m_lock.tryLock(0);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &BookRecovery::copyNow);
}

BookRecovery::~BookRecovery()
{
    m_lock.unlock();
}

QString BookRecovery::bookPath() const
{
    return bookPathOf(m_id);
}

void BookRecovery::scheduleCopy()
{
    if (!m_timer.isActive())
        m_timer.start(CopyDelayMs);
}

void BookRecovery::copyNow()
{
    m_timer.stop();
    if (!bookChanged()) {
        remove();
        return;
    }
    const Book book = documentBook();
    if (book.chapters.size() > BookFileHeader::MaxChapterCount)
        return;
    const QString source = !bookFilePath().isEmpty() ? bookFilePath() : importedPath();
    const SideFacts facts{source, !bookFilePath().isEmpty(), book.codePage,
                          QDateTime::currentDateTimeUtc()};
    // The book first: a side file never stands beside a copy that is not whole. A copy that
    // cannot be written is tried again with the next change.
    if (const std::optional<FileError> failed = writeWholeFile(bookPath(), serializeBook(book));
        !failed) {
        writeWholeFile(sidePathOf(m_id), sideFile(facts));
    }
}

void BookRecovery::remove()
{
    m_timer.stop();
    removeCopy(m_id);
}

bool BookRecovery::offerLeftBook()
{
    const QStringList left = leftBooks();
    if (left.isEmpty())
        return false;
    const QString path = left.first();
    const QString id = QFileInfo(path).completeBaseName();
    // Held while it is asked about, so that a program started meanwhile does not offer it too.
    QLockFile lock(lockPath(id));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0))
        return false;

    const SideFacts facts = readSideFile(sidePathOf(id));
    const QString name =
        facts.source.isEmpty() ? u"an untitled book"_s : QFileInfo(facts.source).fileName();
    const RestoreChoice choice = prompts().askRestore(
        u"Symbian Leafwright"_s,
        u"Leafwright was closed without saving changes to %1. Restore them?"_s.arg(name));
    if (choice == RestoreChoice::Later)
        return false;
    if (choice == RestoreChoice::Discard) {
        removeCopy(id);
        return false;
    }

    const Result<Book> book = LoadBook(path, TextLineBreaks::MadeCrLf, facts.codePage);
    if (!book) {
        prompts().showMessage(u"Symbian Leafwright"_s,
                              u"The changes could not be restored; they are kept for the next "
                              "start.\n\n%1"_s.arg(book.error().message()),
                              MessageIcon::Critical);
        return false;
    }
    showBook(book.value());
    startBookState(facts.source, facts.saved ? BookOrigin::BookFile : BookOrigin::Imported);
    // The book is the one it was, changes and all: unsaved, with a history of its own.
    frmLeafwright()->objBook->document()->setModified(true);
    bookMayHaveChanged();
    copyNow();
    removeCopy(id);
    return true;
}
