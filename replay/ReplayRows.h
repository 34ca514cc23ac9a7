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
