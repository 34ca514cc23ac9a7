#include "replay/ReplayInfo.h"

#include <cstring>
#include <new>

namespace {
const char kEmpty[] = "";
}

bool ReplayInfo::Parse(const char* payload, uint32_t payloadSize, const InfoKeyList& keys) noexcept
{
    for (auto& field : fields) field = kEmpty;
    text.reset(new (std::nothrow) char[size_t(payloadSize) + 1]);
    if (!text) return false;
    if (payloadSize) std::memcpy(text.get(), payload, payloadSize);
    text[payloadSize] = '\0';

    // Every key is searched from the start, before the text is split, so keys
    // may stand in any order and the first occurrence wins.
    for (uint32_t i = 0; i < keys.count; ++i) {
        const InfoKey& entry = keys.keys[i];
        const char* found = std::strstr(text.get(), entry.key);
        if (!found) continue;
        const ptrdiff_t at = found - text.get();
        if (at + entry.skip < 0) continue;  // the value would start before the text
        fields[static_cast<size_t>(entry.field)] = text.get() + at + entry.skip;
    }

    for (uint32_t i = 0; i < payloadSize; ++i) {
        if (text[i] == '\r' || text[i] == '\n') text[i] = '\0';
    }
    return true;
}
