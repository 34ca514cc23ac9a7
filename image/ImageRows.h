#pragma once
#include <cstdint>

#include "common/HostMemory.h"
#include "common/PluginResult.h"
#include "image/CImageReader.h"

// Builds one list row of a shot file: a zero-filled block of 512-byte
// fields, one per column, stored through row once allocated (it then
// belongs to the host, whatever the result). A file cut inside its header
// shows an all-zero header.
PluginResult MakeListInfo(const CImageReader& reader, const char* image, uint32_t size, HLOCAL* row);
