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

// Where the rows of a bitmap handed over by a plug-in lie.
struct DibLayout {
    BITMAPINFOHEADER header;
    uint32_t width;
    uint32_t height;
    size_t stride;
    bool bottomUp;
};

// Checks a 24- or 32-bit uncompressed device-independent bitmap against the
// sizes of the blocks it came in; false with `error` for anything else.
bool ReadDibLayout(const void* info, size_t infoSize, size_t bitsSize, DibLayout& layout, std::string& error);

RgbPicture DibToRgb(const DibLayout& layout, const void* bits);

// Both write the whole file (UTF-8 path) or report why not in `error`; an
// existing file is replaced only if `replace`.
bool WritePng(const RgbPicture& picture, const std::string& path, bool replace, std::string& error);
// The bitmap exactly as handed over, behind a bitmap file header.
bool WriteBmp(const DibLayout& layout, const void* bits, const std::string& path, bool replace, std::string& error);
