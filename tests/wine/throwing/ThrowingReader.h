#pragma once
// What the readers of the test plug-ins throw, and when: the magic check
// throws for a file that begins with this, as a reader with a fault would.
#include <cstdint>
#include <cstring>
#include <new>

namespace throwing {

constexpr char kThrowingMagic[4] = {'t', 'h', 'r', 'w'};

inline void ThrowOnThrowingMagic(const char* data, uint32_t size)
{
    if (data && size >= 4 && std::memcmp(data, kThrowingMagic, 4) == 0) throw std::bad_alloc();
}

}  // namespace throwing
