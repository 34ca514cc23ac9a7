#pragma once
#include <cstdint>

// The picture stream decompressor written step by step as the format reads:
// one bit at a time, a separate 8192-byte window, one byte per step. The
// yardstick that tests and benchmarks hold DecodeLzss against; the plug-ins
// never use it.
void DecodeLzssReference(const void* source, uint32_t sourceLength, void* destination,
                         uint32_t destinationLength) noexcept;
