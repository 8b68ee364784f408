#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>

namespace vernalith {

// Asks the system to back the 2 MB-aligned middle of a large buffer with huge pages where it offers them
// on request: a whole file's bytes or text is then faulted in 2 MB at a time instead of 4 KB, which
// saves most of the time of first touching it. Only a hint; nothing changes where it is not taken.
inline void AdviseHugePages(const void* data, size_t bytes) {
#if defined(MADV_HUGEPAGE)
    constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
    const auto start = reinterpret_cast<uintptr_t>(data);
    const uintptr_t begin = (start + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t end = (start + bytes) & ~(kHugePage - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

}  // namespace vernalith
