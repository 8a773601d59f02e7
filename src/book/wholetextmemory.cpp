#include "wholetextmemory.h"

#include <cstdint>
#include <cstdlib> // defines __GLIBC__ with the C library's own headers

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

void reuseMemoryOfWholeTextCopies()
{
#if defined(__GLIBC__)
    // Blocks up to this size come from the heap, which keeps what is freed; only this much
    // free memory at its top is given back. Both well above the largest book's copies.
    constexpr std::size_t Largest = 256 * 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, int(Largest));
    mallopt(M_TRIM_THRESHOLD, int(Largest));

    // The heap's first stretch, where the copies will lie, is reserved now (it costs nothing
    // until written) and asks for large pages: one fault then brings in 2 MB instead of 4 kB.
    constexpr std::size_t Reserved = 128 * 1024 * 1024;
    if (void *block = std::malloc(Reserved)) {
        const auto page = std::uintptr_t(sysconf(_SC_PAGESIZE));
        const auto start = (std::uintptr_t(block) + page - 1) & ~(page - 1);
        const auto end = (std::uintptr_t(block) + Reserved) & ~(page - 1);
        madvise(reinterpret_cast<void *>(start), end - start, MADV_HUGEPAGE);
        std::free(block);
    }
#endif
}
