#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <variant>

class QuaZip;

// A ZIP archive read from bytes in memory, with bounds on what it may expand to, so that a small
// hostile file can neither fill the memory nor keep the program busy. Nothing is ever written.
class ZipArchive
{
public:
    // The most all entries together (pictures too) may declare they expand to, and how many
    // times its stored size an entry may expand to; more is a "ZIP bomb", never a book. What
    // is read of them is bounded more tightly (ReadLimits::MaxMarkupBytes).
    static constexpr qint64 MaxContentBytes = 256 * 1024 * 1024;
    static constexpr qint64 MaxExpansion = 200;
    // The largest books hold a file per chapter and per picture, some hundreds or a thousand or
    // two; thousands more are no book either.
    static constexpr int MaxEntries = 4096;

    explicit ZipArchive(QByteArray bytes);
    ~ZipArchive();

    // Reads the archive's list of entries; the problem when it is no ZIP archive or breaks a
    // bound.
    std::optional<QString> open();

    bool contains(const QString &name) const { return m_entries.contains(name); }
    // The size an entry declares it expands to (0 for an entry not in the archive).
    qint64 size(const QString &name) const { return m_entries.value(name).size; }
    // The entries' names, sorted.
    QStringList names() const;

    // An entry's bytes, or the problem. The bytes inflated are counted as they come, whatever
    // the archive declares, and all entries read together stay within the markup budget.
    std::variant<QByteArray, QString> read(const QString &name);

private:
    struct Entry
    {
        qint64 packedSize;
        qint64 size;
        bool encrypted;
    };

    QByteArray m_bytes;
    QBuffer m_buffer;
    std::unique_ptr<QuaZip> m_zip;
    QHash<QString, Entry> m_entries;
    qint64 m_inflated = 0;
};
