#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "common/ColumnInfo.h"
#include "common/ShiftJis.h"

int FormatField(char* field, const char* format, ...) noexcept
{
    va_list args;
    va_start(args, format);
#ifdef _WIN32
    // vsprintf_s would end the host's process on overflow; truncate instead.
    const int result = _vsnprintf_s(field, kFieldSize, _TRUNCATE, format, args);
    const bool cut = result < 0;
#else
    const int result = std::vsnprintf(field, kFieldSize, format, args);
    const bool cut = result < 0 || static_cast<size_t>(result) >= kFieldSize;
#endif
    va_end(args);
    if (cut) {
        // The formatter kept 511 bytes; the character that straddled the cut
        // must not leave its lead byte behind.
        const size_t kept = strnlen(field, kFieldSize - 1);
        field[sjis::FitLength(field, kept + 1, kept)] = '\0';
    }
    return result;
}
