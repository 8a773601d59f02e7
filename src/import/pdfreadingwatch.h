#pragma once

// Bounds on the work, time and memory poppler may spend on a PDF: a page's content may draw the
// same text a million times over, or ask for more memory than the machine allows (which would
// end the program); a book of the file's size needs far less.

#include <QString>
#include <QVariant>

class ReadingWatch
{
public:
    explicit ReadingWatch(qint64 fileSize);
    ~ReadingWatch();
    ReadingWatch(const ReadingWatch &) = delete;
    ReadingWatch &operator=(const ReadingWatch &) = delete;

    // Whether to stop reading, counted as one more operation: poppler asks between the drawing
    // operations of a page, about once in ten.
    bool exceeded();
    // Why reading stopped, for the refusal; empty while it goes on.
    QString problem() const { return m_problem; }

    // What poppler calls, with closure() as its closure.
    static bool shouldStop(const QVariant &closure);
    QVariant closure() { return QVariant::fromValue(quintptr(this)); }

private:
    qint64 m_allowedAsks, m_allowedNs, m_start = 0, m_asks = 0;
    int m_statm;
    qint64 m_residentLimit = 0, m_addressLimit = 0;
    QString m_problem;
};
