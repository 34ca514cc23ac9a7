#include "common/PluginInfo.h"

#include <cstring>

int CopyPluginInfo(const PluginStrings& strings, int index, char* buffer, int bufferSize) noexcept
{
    if (static_cast<unsigned>(index) > 3) return 0;
    const char* text = strings.text[index];
    const size_t length = std::strlen(text);
    if (!buffer) return static_cast<int>(length);
    if (static_cast<unsigned>(bufferSize) <= length) return 0;
    std::memcpy(buffer, text, length + 1);
    return static_cast<int>(length);
}
