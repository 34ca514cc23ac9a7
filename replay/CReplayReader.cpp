#include "replay/CReplayReader.h"

#include <cstring>

#include "common/PluginResult.h"
#include "replay/ReplayContainer.h"

bool CReplayReader::CheckMagic(const char* data, uint32_t size) const
{
    return data && size >= 4 && std::memcmp(data, m_profile.magic, 4) == 0;
}

int CReplayReader::GetInfoSection(const char* data, uint32_t size, const char** text,
                                  uint32_t* textSize) const
{
    return FindUserSection(kInfoSection, data, size, text, textSize);
}

int CReplayReader::GetCommentSection(const char* data, uint32_t size, const char** text,
                                     uint32_t* textSize) const
{
    return FindUserSection(kCommentSection, data, size, text, textSize);
}

int CReplayReader::GetSlotFromFileName(const char* name, SlotKind* kind, char* buffer,
                                       size_t bufferSize) const
{
    return ::GetSlotFromFileName(m_profile.prefix, name, kind, buffer, bufferSize);
}

int CReplayReader::GetInfo(const char* data, uint32_t size, ReplayInfo& info) const
{
    const char* payload = nullptr;
    uint32_t payloadSize = 0;
    if (GetInfoSection(data, size, &payload, &payloadSize) != kSectionFound) return ReadError;
    return info.Parse(payload, payloadSize, m_profile.keys) ? Ok : OutOfMemory;
}
