#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

// A crash, a killed process or a power cut must not take an hour of work with it: while the book
// has unsaved changes, a copy of it is kept in the recovery folder, and the next start offers it
// back. The copy is an ordinary book file in the book's code page (the batch tool reads it), and
// beside it a small file with what a book file does not hold: the file the book came from, when
// the copy was made, the code page, whether the book was ever saved. Each running program owns
// its copies through a lock, so two never take each other's.
class BookRecovery : public QObject
{
public:
    explicit BookRecovery(QObject *parent);
    // Lets go of the lock and keeps the copy, as a crash would; a normal end removes it first.
    ~BookRecovery() override;

    // Something of the book changed: a copy is made a few seconds on, once however many changes
    // come meanwhile.
    void scheduleCopy();
    // Brings the copy up to date at once: written whole when the book has unsaved changes,
    // removed when it has none.
    void copyNow();
    // The book was saved or let go: its copy goes.
    void remove();

    // At start: the newest copy that no running program owns is offered back once: restored
    // into the windows, marked unsaved; discarded; or kept for the next start. True when it was
    // restored.
    bool offerLeftBook();

    // This program's copy of the book.
    QString bookPath() const;

private:
    QString m_id;
    QLockFile m_lock;
    QTimer m_timer;
};

// Where the copies are kept: "recovery" in the program's data folder.
QString recoveryFolder();

// The copies no running program owns, newest first.
QStringList leftBooks();
