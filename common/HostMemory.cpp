#include "common/HostMemory.h"

#ifdef _WIN32

HLOCAL HostAlloc(size_t n) noexcept
{
    return LocalAlloc(LMEM_ZEROINIT, n);
}

void HostFree(HLOCAL block) noexcept
{
    if (block) LocalFree(block);
}

#else
#include <cstdlib>

HLOCAL HostAlloc(size_t n) noexcept
{
    return std::calloc(n ? n : 1, 1);
}

void HostFree(HLOCAL block) noexcept
{
    std::free(block);
}

#endif
