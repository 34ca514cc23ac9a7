#pragma once
#include <cstddef>
#include <cstdint>

// Writes `seconds` since 1970-01-01 00:00:00 UTC as the machine's local time
// through strftime's format into out (size bytes, terminator included). On
// a failed conversion, or a text that does not fit, out is left empty and
// the result is false.
bool FormatLocalTime(char* out, size_t size, int64_t seconds, const char* format) noexcept;
