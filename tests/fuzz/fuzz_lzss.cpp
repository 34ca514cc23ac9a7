// DecodeLzss against the step-by-step reference. The first two bytes give
// the destination's length; the rest is the stream.
#include <cstdlib>
#include <vector>

#include "FuzzCheck.h"
#include "image/Lzss.h"
#include "tools/LzssReference.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t length)
{
    if (length < 2 || length > UINT32_MAX) return 0;
    const uint32_t outLength = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8;
    const uint32_t streamLength = uint32_t(length - 2);
    // Exact-size copies: the sanitizer sees a read or write past either end.
    char* stream = static_cast<char*>(std::malloc(streamLength));
    if (streamLength) std::memcpy(stream, bytes + 2, streamLength);
    char* fast = static_cast<char*>(std::malloc(outLength));
    char* slow = static_cast<char*>(std::malloc(outLength));
    // Bytes the decoder does not write keep their value, in both.
    std::memset(fast, 0xA5, outLength);
    std::memset(slow, 0xA5, outLength);

    DecodeLzss(streamLength ? stream : nullptr, streamLength, fast, outLength);
    DecodeLzssReference(streamLength ? stream : nullptr, streamLength, slow, outLength);
    FUZZ_REQUIRE(std::memcmp(fast, slow, outLength) == 0);
    if (streamLength == 0) {
        for (uint32_t i = 0; i < outLength; ++i) FUZZ_REQUIRE(uint8_t(fast[i]) == 0xFF);
    }
    std::free(slow);
    std::free(fast);
    std::free(stream);
    return 0;
}
