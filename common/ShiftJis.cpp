#include "common/ShiftJis.h"

namespace sjis {

size_t FitLength(const char* text, size_t length, size_t maxLength) noexcept
{
    if (length <= maxLength) return length;
    size_t i = 0;
    while (i < maxLength) {
        const size_t step = IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i + step > maxLength) break;  // a lone lead byte would be left behind
        i += step;
    }
    return i;
}

}  // namespace sjis
