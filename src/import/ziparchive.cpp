#include "ziparchive.h"

#include "readlimits.h"

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>

using namespace Qt::StringLiterals;

namespace {

QString tooLarge()
{
    return u"would expand to more than %1 MB, which no book needs (a \"ZIP bomb\"); it was "
           "not read"_s.arg(ZipArchive::MaxContentBytes / (1024 * 1024));
}

// A file's name inside the archive as a message quotes it: a damaged archive may name a file
// with hundreds of bytes of anything, so a long name is cut short.
QString shown(const QString &name)
{
    constexpr qsizetype LongestShown = 100;
    return name.size() > LongestShown ? name.first(LongestShown - 1) + u'\u2026' : name;
}

QString expandsTooMuch(const QString &name)
{
    return u"holds the file %1, which expands more than %2 times (a \"ZIP bomb\"); it was not "
           "read"_s.arg(shown(name))
               .arg(ZipArchive::MaxExpansion);
}

} // namespace

ZipArchive::ZipArchive(QByteArray bytes)
    : m_bytes(std::move(bytes))
    , m_buffer(&m_bytes)
{}

ZipArchive::~ZipArchive() = default;

std::optional<QString> ZipArchive::open()
{
    m_zip = std::make_unique<QuaZip>(&m_buffer);
    m_zip->setFileNameCodec("UTF-8");
    if (!m_zip->open(QuaZip::mdUnzip))
        return u"is not an EPUB book: not a ZIP archive"_s;
    if (m_zip->getEntriesCount() > MaxEntries) {
        return u"holds %1 files, more than the %2 any book needs; it was not read"_s
            .arg(m_zip->getEntriesCount())
            .arg(MaxEntries);
    }

    qint64 total = 0;
    for (bool more = m_zip->goToFirstFile(); more; more = m_zip->goToNextFile()) {
        QuaZipFileInfo64 info;
        if (!m_zip->getCurrentFileInfo(&info))
            return u"is damaged: its list of files cannot be read"_s;
        const qint64 size = qint64(std::min<quint64>(info.uncompressedSize, MaxContentBytes + 1));
        const qint64 packed = qint64(std::min<quint64>(info.compressedSize, MaxContentBytes + 1));
        total += size;
        if (total > MaxContentBytes)
            return tooLarge();
        if (size > MaxExpansion * packed)
            return expandsTooMuch(info.name);
        m_entries.insert(info.name, {packed, size, info.isEncrypted()});
    }
    if (m_zip->getZipError() != 0)
        return u"is damaged: its list of files cannot be read"_s;
    return std::nullopt;
}

std::variant<QByteArray, QString> ZipArchive::read(const QString &name)
{
    const auto entry = m_entries.constFind(name);
    if (entry == m_entries.cend())
        return u"lacks the file %1"_s.arg(shown(name));
    if (entry->encrypted)
        return u"holds the file %1 locked by a password"_s.arg(shown(name));
    if (!m_zip->setCurrentFile(name, QuaZip::csSensitive))
        return u"lacks the file %1"_s.arg(shown(name));

    QuaZipFile file(m_zip.get());
    if (!file.open(QIODevice::ReadOnly))
        return u"holds the file %1, which cannot be read"_s.arg(shown(name));
    // What is read is markup to be parsed, which costs a multiple of its size: an entry that
    // says it is longer than what is left of that budget is refused before it is inflated.
    const qint64 budget = ReadLimits::MaxMarkupBytes - m_inflated;
    if (entry->size > budget)
        return ReadLimits::tooMuchMarkup();
    // Never more than the entry declares, its bound of expansion, or what is left of the budget.
    const qint64 limit = std::min({entry->size, MaxExpansion * entry->packedSize, budget});
    QByteArray bytes;
    bytes.reserve(std::min<qint64>(entry->size, 1 << 20));
    char chunk[64 * 1024];
    for (;;) {
        const qint64 got = file.read(chunk, sizeof chunk);
        if (got < 0)
            return u"holds the file %1, which is damaged"_s.arg(shown(name));
        if (got == 0)
            break;
        if (bytes.size() + got > limit) {
            if (bytes.size() + got > budget)
                return ReadLimits::tooMuchMarkup();
            if (bytes.size() + got > MaxExpansion * entry->packedSize)
                return expandsTooMuch(name);
            return u"holds the file %1, which is damaged: it is longer than its archive says"_s.arg(
                shown(name));
        }
        bytes.append(chunk, got);
    }
    file.close();
    if (file.getZipError() != 0 || bytes.size() != entry->size)
        return u"holds the file %1, which is damaged"_s.arg(shown(name));
    m_inflated += bytes.size();
    return bytes;
}

QStringList ZipArchive::names() const
{
    QStringList names = m_entries.keys();
    names.sort();
    return names;
}
