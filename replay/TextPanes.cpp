#include "replay/TextPanes.h"

#include <cstring>

#include "replay/ReplayContainer.h"

PluginResult MakeInfoText(const CReplayReader& reader, TextKind kind, const char* image,
                          uint32_t size, HLOCAL* text)
{
    if (!text) return Failure;
    const char* payload = nullptr;
    uint32_t payloadSize = 0;
    const int locator = kind == TextKind::Information
                            ? reader.GetInfoSection(image, size, &payload, &payloadSize)
                            : reader.GetCommentSection(image, size, &payload, &payloadSize);
    if (locator != kSectionFound) return ReadError;

    const bool terminated = payloadSize && std::memchr(payload, '\0', payloadSize);
    char* block = static_cast<char*>(HostAlloc(size_t(payloadSize) + (terminated ? 0 : 1)));
    *text = block;
    if (!block) return OutOfMemory;
    if (payloadSize) std::memcpy(block, payload, payloadSize);
    return Ok;
}
