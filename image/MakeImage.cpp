#include "image/MakeImage.h"

PluginResult MakeImage(const IImage& reader, const char* image, uint32_t size, HLOCAL* bits, HLOCAL* info)
{
    switch (reader.GetImage(image, size, bits, info)) {
    case kImageDone: return Ok;
    case kImageNotSignature: return ReadError;
    case kImageNoMemoryOrSize: return OutOfMemory;
    default: return Failure;
    }
}
