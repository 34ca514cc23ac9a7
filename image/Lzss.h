#pragma once
#include <cstddef>
#include <cstdint>

// DecodeLzss: the picture stream decompressor.
//
// The stream is a bit sequence, most significant bit of each byte first, of
// tokens opened by one flag bit:
//   1, then 8 bits                    a literal byte;
//   0, then 13 bits P, then 4 bits L  a copy of L + 3 bytes (3 to 18) starting
//                                     at absolute window position P;
//   0, then 13 zero bits              the end marker.
// The window is 8192 bytes, all zero at the start; every output byte is
// stored at its write position, which starts at 1 and advances modulo 8192.
// A copy takes each byte from the window before storing the next, so a copy
// that reaches the write position repeats what it has just produced, and one
// from positions never written yields zeros.
//
// Contract: reads no byte outside [source, source + sourceLength): bits past
// the end read as 0, which is an end marker, so decoding always ends. Writes
// only [destination, destination + destinationLength) and stops as soon as
// it is full, also in the middle of a copy; bytes it does not write keep
// their value. A null or empty source fills the whole destination with 0xFF.
// No allocation, no failure.
void DecodeLzss(const void* source, uint32_t sourceLength, void* destination,
                uint32_t destinationLength) noexcept;

// A destination in rows: `count` rows of `length` bytes, the first at
// `first`, each next one `step` bytes after the one before it (negative for
// a bottom-up bitmap, whose first row is the last in memory). Rows must not
// overlap: |step| >= length, or count is 1.
struct LzssRows {
    unsigned char* first;
    ptrdiff_t step;
    uint32_t length;
    uint32_t count;
};

// DecodeLzss into rows, with the same contract: the output fills the rows in
// order as it would fill one block of length * count bytes, and the bytes
// between rows are never written (a null or empty source fills the rows with
// 0xFF, not what lies between them). The picture plug-ins decode straight
// into the bitmap this way, with nothing of the picture's size beside it.
void DecodeLzssRows(const void* source, uint32_t sourceLength, const LzssRows& rows) noexcept;

constexpr uint32_t kLzssWindowSize = 8192;
