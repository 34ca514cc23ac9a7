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
    // vsprintf_s would end the host's process on overflow, and msvcrt has
    // the _s functions only from Vista on. _vsnprintf writes at most 511
    // bytes and leaves them unterminated when the text fills them or is cut
    // (it then returns -1).
    const int result = _vsnprintf(field, kFieldSize - 1, format, args);
    const bool cut = result < 0;
    if (result < 0 || static_cast<size_t>(result) >= kFieldSize - 1) field[kFieldSize - 1] = '\0';
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
