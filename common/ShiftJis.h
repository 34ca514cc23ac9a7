#pragma once
#include <cstddef>

// Shift-JIS (code page 932) helpers. Texts are byte strings and are never
// converted; these only keep double-byte characters whole.
namespace sjis {

inline bool IsLeadByte(unsigned char c) noexcept
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Length of the longest prefix of a text of `length` bytes that has at most
// maxLength bytes and does not end inside a double-byte character. Reads no
// byte at or beyond maxLength.
size_t FitLength(const char* text, size_t length, size_t maxLength) noexcept;

}  // namespace sjis
