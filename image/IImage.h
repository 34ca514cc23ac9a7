#pragma once
#include <cstdint>

#include "common/HostMemory.h"

// GetImage's own results; the exports map them onto the host's codes.
enum ImageResult : int {
    kImageDone = 0,
    kImageNullArgument = 1,
    kImageNotSignature = 2,
    kImageNoMemoryOrSize = 4,   // a block cannot be allocated, or no bitmap can have the shot's size
};

// The picture reader interface. A reader holds no state of its own: callers
// make one as a local object for the length of one call. What an operation
// throws goes up to the export's catch-all (GuardExport).
class IImage {
public:
    virtual ~IImage() = default;

    // At least 4 bytes, and the first four equal the game's signature
    // (case-sensitive). No other byte is looked at.
    virtual bool CheckMagic(const char* data, uint32_t size) const = 0;

    // Turns a whole shot file into a bottom-up bitmap: the pixel bits and a
    // 44-byte BITMAPINFO, both blocks for the host (ImageResult). On every
    // result but kImageDone the host receives no block.
    virtual int GetImage(const char* data, uint32_t size, HLOCAL* bits, HLOCAL* info) const = 0;
};
