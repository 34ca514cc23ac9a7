#pragma once
#include <cstdint>

#include "common/HostMemory.h"
#include "common/PluginResult.h"
#include "image/IImage.h"

// GetImage with its results put in the host's terms: 0 and the picture, 2 not
// the game's signature, 4 no memory or no usable picture size, 5 a null
// argument.
PluginResult MakeImage(const IImage& reader, const char* image, uint32_t size, HLOCAL* bits,
                       HLOCAL* info);
