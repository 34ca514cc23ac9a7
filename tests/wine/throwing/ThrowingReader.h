#pragma once
// The readers of the test plug-ins: a game's reader with faults, made in
// place of its kind's reader (each test folder's Description.h says so). The
// magic check throws for a file that begins with kThrowingMagic, as a reader
// with a fault would; so does finding a replay's section, and decoding a
// picture.
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
