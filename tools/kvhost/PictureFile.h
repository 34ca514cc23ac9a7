#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A picture as it is seen: rows top to bottom, red, green, blue.
struct RgbPicture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> pixels;
};

// Reads a 24- or 32-bit uncompressed device-independent bitmap as a plug-in
// hands it over. The header and the bits are checked against the block
// sizes; false with `error` for anything else.
bool DibToRgb(const void* info, size_t infoSize, const void* bits, size_t bitsSize, RgbPicture& picture,
              std::string& error);

// Both write the whole file or report why not in `error`.
bool WritePng(const RgbPicture& picture, const std::string& path, std::string& error);
// The bitmap exactly as handed over, behind a bitmap file header.
bool WriteBmp(const void* info, size_t infoSize, const void* bits, size_t bitsSize, const std::string& path,
              std::string& error);
