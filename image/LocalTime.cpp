#include "image/LocalTime.h"

#include <ctime>

bool FormatLocalTime(char* out, size_t size, int64_t seconds, const char* format) noexcept
{
    if (!out || size == 0) return false;
    out[0] = '\0';
    std::tm local{};
#ifdef _WIN32
    // msvcrt converts into a buffer of the calling thread, so concurrent
    // callers never share it; _localtime64_s exists only from Vista on.
    const __time64_t time = seconds;
    const std::tm* converted = _localtime64(&time);
    if (!converted) return false;
    local = *converted;
#else
    static_assert(sizeof(time_t) >= 8, "a 32-bit time_t would cut shot times after 2038");
    const time_t time = static_cast<time_t>(seconds);
    if (!localtime_r(&time, &local)) return false;
#endif
    if (std::strftime(out, size, format, &local) == 0) {
        out[0] = '\0';
        return false;
    }
    return true;
}
