#include "pdfstreams.h"

#include <QByteArray>
#include <QRegularExpression>

#include <zlib.h>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The most streams inside one another that are inflated in turn.
constexpr int NestedStreams = 3;

bool looksLikeZlib(const unsigned char *data, std::size_t size)
{
    return size >= 2 && (data[0] & 0x0F) == 8 && (data[0] >> 4) <= 7
           && ((unsigned(data[0]) << 8) | data[1]) % 31 == 0;
}

// Inflates what it is fed, in pieces, counting what comes out; what comes out is fed on to a
// nested inflater when it is itself a compressed stream.
class CountingInflater
{
public:
    explicit CountingInflater(int depth)
        : m_depth(depth)
    {
        m_ok = inflateInit(&m_stream) == Z_OK;
    }
    ~CountingInflater()
    {
        if (m_ok)
            inflateEnd(&m_stream);
    }
    CountingInflater(const CountingInflater &) = delete;
    CountingInflater &operator=(const CountingInflater &) = delete;

    // Feeds bytes until the stream ends, the input runs out or the count passes limit; returns
    // how many input bytes were taken.
    std::size_t feed(const unsigned char *data, std::size_t size, qint64 &count, qint64 limit)
    {
        if (!m_ok || m_ended)
            return 0;
        unsigned char *out = m_out.data();
        m_stream.next_in = const_cast<unsigned char *>(data);
        m_stream.avail_in = uInt(std::min<std::size_t>(size, 1U << 30));
        while (m_stream.avail_in > 0 && count <= limit) {
            m_stream.next_out = out;
            m_stream.avail_out = uInt(m_out.size());
            const int status = inflate(&m_stream, Z_NO_FLUSH);
            const std::size_t produced = m_out.size() - m_stream.avail_out;
            count += qint64(produced);
            if (produced > 0 && m_depth < NestedStreams) {
                if (!m_nested && !m_checkedNested) {
                    m_checkedNested = true;
                    if (looksLikeZlib(out, produced))
                        m_nested = std::make_unique<CountingInflater>(m_depth + 1);
                }
                if (m_nested)
                    m_nested->feed(out, produced, count, limit);
            }
            if (status == Z_STREAM_END || (status != Z_OK && status != Z_BUF_ERROR)) {
                m_ended = true;
                break;
            }
            if (status == Z_BUF_ERROR && produced == 0)
                break;
        }
        return std::size_t(m_stream.next_in - data);
    }

private:
    z_stream m_stream{};
    int m_depth;
    bool m_ok = false, m_ended = false, m_checkedNested = false;
    std::unique_ptr<CountingInflater> m_nested;
    std::vector<unsigned char> m_out = std::vector<unsigned char>(64 * 1024);
};

const QRegularExpression &pictureType()
{
    static const QRegularExpression Image(u"/Subtype\\s*/Image\\b"_s);
    return Image;
}

// Whether the dictionary before a stream (from its object's start) describes a picture.
bool isPicture(QByteArrayView file, qsizetype streamAt)
{
    constexpr qsizetype Lookback = 4096;
    const qsizetype from = std::max<qsizetype>(0, streamAt - Lookback);
    const QByteArrayView before = file.sliced(from, streamAt - from);
    const qsizetype object = before.lastIndexOf(QByteArrayView(" obj"));
    const QByteArrayView dictionary = object < 0 ? before : before.sliced(object);
    return pictureType().match(QString::fromLatin1(dictionary)).hasMatch();
}

} // namespace

qint64 inflatedStreamBytes(QByteArrayView file, qint64 limit)
{
    qint64 count = 0;
    qsizetype at = 0;
    while (count <= limit) {
        const qsizetype keyword = file.indexOf(QByteArrayView("stream"), at);
        if (keyword < 0)
            break;
        at = keyword + 6;
        // The keyword follows the stream's dictionary and an end of line precedes its data.
        qsizetype before = keyword;
        while (before > 0 && QByteArrayView(" \t\r\n").contains(file[before - 1]))
            --before;
        if (before < 2 || file.sliced(before - 2, 2) != QByteArrayView(">>"))
            continue;
        if (at < file.size() && file[at] == '\r')
            ++at;
        if (at < file.size() && file[at] == '\n')
            ++at;
        const auto *data = reinterpret_cast<const unsigned char *>(file.data()) + at;
        const std::size_t size = std::size_t(file.size() - at);
        if (!looksLikeZlib(data, size) || isPicture(file, keyword))
            continue;
        CountingInflater inflater(1);
        at += qsizetype(inflater.feed(data, size, count, limit));
    }
    return count;
}

bool holdsPictures(QByteArrayView file)
{
    for (qsizetype at = file.indexOf(QByteArrayView("/Image")); at >= 0;
         at = file.indexOf(QByteArrayView("/Image"), at + 6)) {
        const qsizetype from = std::max<qsizetype>(0, at - 64);
        if (pictureType().match(QString::fromLatin1(file.sliced(from, at + 6 - from))).hasMatch())
            return true;
    }
    return false;
}
