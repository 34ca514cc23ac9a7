#pragma once
#include <cstdint>

#include "common/HostMemory.h"
#include "common/PluginResult.h"
#include "replay/CReplayReader.h"

// Builds one list row: a zero-filled block of 512-byte fields, one per
// column, stored through row once allocated (it then belongs to the host,
// whatever the result). fileName is the path or name of the replay, empty in
// memory mode.
PluginResult MakeListInfo(const CReplayReader& reader, const char* image, uint32_t size,
                          HLOCAL* row, const char* fileName);

enum class TextKind { Information = 1, Comment = 2 };

// Hands the host the payload of the information or comment section. The
// block is exactly the payload, plus one zero byte when the payload holds no
// NUL of its own, so that the host always receives a terminated text.
PluginResult MakeInfoText(const CReplayReader& reader, TextKind kind, const char* image,
                          uint32_t size, HLOCAL* text);
