#pragma once
// Picture stream writers for tests, samples and benchmarks. Never linked into
// a plug-in. The stream format is the one DecodeLzss (image/Lzss.h) reads.
#include <cstddef>
#include <cstdint>
#include <string>

// Writes a stream token by token, for tests that need one exact stream.
// Invalid arguments throw std::invalid_argument.
class LzssWriter {
public:
    void Literal(unsigned char byte);
    // A copy of length bytes (3 to 18) from absolute window position 1 to 8191.
    void Copy(uint32_t position, uint32_t length);
    // The end marker: a copy flag and a zero position.
    void End();
    // Any bits at all, most significant first (count 0 to 32).
    void Bits(uint32_t value, unsigned count);

    // The stream so far, its last byte filled up with zero bits.
    const std::string& Bytes() const noexcept { return m_bytes; }
    size_t BitCount() const noexcept { return m_bitCount; }

private:
    std::string m_bytes;
    size_t m_bitCount = 0;
};

// What an encoding used: tests check that a stream holds the kinds of token
// they mean to exercise.
struct LzssEncodeStats {
    size_t literals = 0;
    size_t copies = 0;
    size_t shortestCopies = 0;     // 3 bytes
    size_t longestCopies = 0;      // 18 bytes
    size_t overlappingCopies = 0;  // reach into the bytes they produce
    size_t wrappingCopies = 0;     // run past window position 8191 to 0
    size_t farthestCopies = 0;     // from the oldest byte, 8192 back
};

struct LzssEncodeOptions {
    bool literalsOnly = false;
    unsigned maxCandidates = 64;   // earlier positions tried per byte
};

// Greedy encoder: at each byte the longest copy found among earlier
// positions with the same three bytes, else a literal; ends with the end
// marker. Decoding the result into a destination of `size` bytes gives the
// data back.
std::string EncodeLzss(const void* data, size_t size, const LzssEncodeOptions& options = {},
                       LzssEncodeStats* stats = nullptr);
