#pragma once
#include <cstddef>
#include <cstdint>

// The 44-byte BITMAPINFO handed to the host (a BITMAPINFOHEADER and one
// colour-table entry that stays zero), laid out portably so that the picture
// code builds and is tested without the Windows headers.
struct BitmapInfo {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;      // positive: rows bottom-up
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
    uint8_t bmiColors[4];
};
static_assert(sizeof(BitmapInfo) == 44, "the host reads a 44-byte BITMAPINFO");
static_assert(offsetof(BitmapInfo, bmiColors) == 40, "BITMAPINFOHEADER is 40 bytes");

constexpr uint32_t kBitmapHeaderSize = 40;
constexpr uint32_t kBitmapRgb = 0;  // BI_RGB

#ifdef _WIN32
#include <windows.h>
static_assert(sizeof(BITMAPINFO) == sizeof(BitmapInfo), "same block as the Windows type");
static_assert(offsetof(BITMAPINFOHEADER, biBitCount) == offsetof(BitmapInfo, biBitCount), "same layout");
static_assert(offsetof(BITMAPINFOHEADER, biClrImportant) == offsetof(BitmapInfo, biClrImportant), "same layout");
static_assert(BI_RGB == kBitmapRgb, "uncompressed");
#endif
