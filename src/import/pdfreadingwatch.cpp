#include "pdfreadingwatch.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// A build that checks every memory access runs several times slower, and holds memory freed back
// for a while (a quarantine of a few hundred MB) before it is used again.
#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 SlowerBuild = 5;
constexpr qint64 HeavierBuild = 4;
#else
constexpr qint64 SlowerBuild = 1;
constexpr qint64 HeavierBuild = 1;
#endif

// The time the reading thread itself has taken, so that other work on the machine does not
// count.
qint64 threadNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// The process's address space and resident memory, in bytes.
std::pair<qint64, qint64> memoryOf(int statm)
{
    char text[128] = {};
    if (statm < 0 || ::pread(statm, text, sizeof text - 1, 0) <= 0)
        return {0, 0};
    long long size = 0, resident = 0;
    if (std::sscanf(text, "%lld %lld", &size, &resident) != 2)
        return {0, 0};
    const qint64 page = sysconf(_SC_PAGESIZE);
    return {size * page, resident * page};
}

} // namespace

ReadingWatch::ReadingWatch(qint64 fileSize)
    // A book's pages take some hundreds of operations each, a few per hundred bytes of the file;
    // many times that is allowed, counted so that a slower machine reads what a faster one does.
    : m_allowedAsks(50000 + fileSize / 20)
    // Time stops what the count misses: poppler seldom asks while it draws drawings nested in
    // one another, and one operation may take seconds.
    , m_allowedNs((800 + fileSize / 256) * 1000000LL * SlowerBuild)
    , m_start(threadNanoseconds())
    , m_statm(::open("/proc/self/statm", O_RDONLY | O_CLOEXEC))
{
    // The text of a page is held a few times over while it is read.
    m_residentLimit = memoryOf(m_statm).second
                      + std::min<qint64>(1LL << 30, (256LL << 20) + 32 * fileSize) * HeavierBuild;
    // Room below the limit a user set, for what is made of the text afterwards.
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        m_addressLimit = qint64(limit.rlim_cur) - (192LL << 20);
}

ReadingWatch::~ReadingWatch()
{
    if (m_statm >= 0)
        ::close(m_statm);
}

bool ReadingWatch::shouldStop(const QVariant &closure)
{
    return reinterpret_cast<ReadingWatch *>(closure.value<quintptr>())->exceeded();
}

bool ReadingWatch::exceeded()
{
    if (!m_problem.isEmpty())
        return true;
    if (++m_asks > m_allowedAsks) {
        m_problem = u"draws more on its pages than any book does; it was not read"_s;
        return true;
    }
    if (threadNanoseconds() - m_start > m_allowedNs) {
        m_problem = u"takes longer to read than any book; it may be damaged"_s;
        return true;
    }
    // Reading the process's size costs a system call: every few operations is often enough.
    if (m_asks % 8 != 0)
        return false;
    const auto [size, resident] = memoryOf(m_statm);
    if (resident > m_residentLimit || (m_addressLimit > 0 && size > m_addressLimit)) {
        m_problem = u"needs more memory to read than any book; it may be damaged"_s;
        return true;
    }
    return false;
}
