#pragma once
// Readers that throw for a file beginning with kThrowingMagic: in the magic
// check, the section search and the decoding.
#include <cstdint>
#include <cstring>
#include <new>

#include "image/CImageReader.h"
#include "replay/CReplayReader.h"

namespace throwing {

constexpr char kThrowingMagic[4] = {'t', 'h', 'r', 'w'};

inline void ThrowOnThrowingMagic(const char* data, uint32_t size)
{
    if (data && size >= 4 && std::memcmp(data, kThrowingMagic, 4) == 0) throw std::bad_alloc();
}

}  // namespace throwing

// A kind's reader whose magic check throws for a "thrw" file.
template <typename KindReader>
class CThrowingMagic : public KindReader {
public:
    using KindReader::KindReader;

    bool CheckMagic(const char* data, uint32_t size) const override
    {
        throwing::ThrowOnThrowingMagic(data, size);
        return KindReader::CheckMagic(data, size);
    }
};

class CThrowingReplayReader : public CThrowingMagic<CReplayReader> {
public:
    using CThrowingMagic::CThrowingMagic;

    int GetInfoSection(const char*, uint32_t, const char**, uint32_t*) const override { throw std::bad_alloc(); }
    int GetCommentSection(const char*, uint32_t, const char**, uint32_t*) const override { throw std::bad_alloc(); }
};

class CThrowingImageReader : public CThrowingMagic<CImageReader> {
public:
    using CThrowingMagic::CThrowingMagic;

    int GetImage(const char*, uint32_t, HLOCAL*, HLOCAL*) const override { throw std::bad_alloc(); }
};
