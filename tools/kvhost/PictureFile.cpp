#include "PictureFile.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

#include "FileSystem.h"

namespace {

// The PNG encoder's buffers. A picture near the plug-ins' 256 MiB bound needs
// several blocks of its size; when one cannot be had, the encoder must not go
// on (it would write past a buffer it failed to grow), so the allocation
// throws std::bad_alloc, and PngBuffers frees what the encoder held. Each
// block sits behind a header that links it into the list of the encoding in
// progress; kvhost encodes one picture at a time, on one thread.
struct PngBlock {
    PngBlock* previous;
    PngBlock* next;
};

PngBlock* g_pngBlocks = nullptr;

void* PngAllocate(size_t size)
{
    if (size > SIZE_MAX - sizeof(PngBlock)) throw std::bad_alloc();
    PngBlock* block = static_cast<PngBlock*>(::operator new(sizeof(PngBlock) + size));
    block->previous = nullptr;
    block->next = g_pngBlocks;
    if (g_pngBlocks) g_pngBlocks->previous = block;
    g_pngBlocks = block;
    return block + 1;
}

void PngFree(void* pointer)
{
    if (!pointer) return;
    PngBlock* block = static_cast<PngBlock*>(pointer) - 1;
    if (block->previous) block->previous->next = block->next;
    else g_pngBlocks = block->next;
    if (block->next) block->next->previous = block->previous;
    ::operator delete(block);
}

void* PngReallocate(void* pointer, size_t oldSize, size_t newSize)
{
    void* grown = PngAllocate(newSize);   // the old block stays the encoder's if this throws
    if (pointer) std::memcpy(grown, pointer, oldSize < newSize ? oldSize : newSize);
    PngFree(pointer);
    return grown;
}

// Frees, on every way out, the blocks the encoder has not freed.
class PngBuffers {
public:
    PngBuffers() noexcept = default;
    ~PngBuffers()
    {
        while (g_pngBlocks) PngFree(g_pngBlocks + 1);
    }
    PngBuffers(const PngBuffers&) = delete;
    PngBuffers& operator=(const PngBuffers&) = delete;
};

}  // namespace

#define STBIW_MALLOC(size) PngAllocate(size)
#define STBIW_REALLOC_SIZED(pointer, oldSize, newSize) PngReallocate(pointer, oldSize, newSize)
#define STBIW_FREE(pointer) PngFree(pointer)
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#include <stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

void AppendToString(void* context, void* data, int size)
{
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), size_t(size));
}

}  // namespace

bool ReadDibLayout(const void* info, size_t infoSize, size_t bitsSize, DibLayout& layout, std::string& error)
{
    BITMAPINFOHEADER& header = layout.header;
    if (!info || infoSize < sizeof header) {
        error = "the bitmap header block is too small";
        return false;
    }
    std::memcpy(&header, info, sizeof header);
    if (header.biCompression != BI_RGB || (header.biBitCount != 24 && header.biBitCount != 32)) {
        error = "unsupported bitmap (" + std::to_string(header.biBitCount) + " bits per pixel, compression " +
                std::to_string(header.biCompression) + ")";
        return false;
    }
    // 32767 x 32767 is far above any screen; it keeps every size below in 32 bits.
    const int64_t height = header.biHeight < 0 ? -int64_t(header.biHeight) : int64_t(header.biHeight);
    if (header.biWidth <= 0 || height == 0 || header.biWidth > 32767 || height > 32767) {
        error = "bad bitmap size " + std::to_string(header.biWidth) + " x " + std::to_string(header.biHeight);
        return false;
    }
    const uint64_t stride = (uint64_t(header.biWidth) * header.biBitCount + 31) / 32 * 4;
    if (stride * uint64_t(height) > bitsSize) {
        error = "the bitmap bits block is smaller than the header announces";
        return false;
    }
    layout.width = uint32_t(header.biWidth);
    layout.height = uint32_t(height);
    layout.stride = size_t(stride);
    layout.bottomUp = header.biHeight > 0;
    return true;
}

RgbPicture DibToRgb(const DibLayout& layout, const void* bits)
{
    RgbPicture picture;
    picture.width = layout.width;
    picture.height = layout.height;
    picture.pixels.assign(size_t(picture.width) * picture.height * 3, 0);
    const uint32_t bytesPerPixel = layout.header.biBitCount / 8u;
    for (uint32_t y = 0; y < picture.height; ++y) {
        const uint8_t* row =
            static_cast<const uint8_t*>(bits) + layout.stride * (layout.bottomUp ? picture.height - 1 - y : y);
        uint8_t* out = picture.pixels.data() + size_t(y) * picture.width * 3;
        for (uint32_t x = 0; x < picture.width; ++x, row += bytesPerPixel, out += 3) {
            out[0] = row[2];
            out[1] = row[1];
            out[2] = row[0];
        }
    }
    return picture;
}

bool WritePng(const RgbPicture& picture, const std::string& path, bool replace, std::string& error)
{
    // The encoder counts in int: every row with its filter byte, all rows.
    if (picture.width == 0 || picture.height == 0 ||
        (uint64_t(picture.width) * 3 + 1) * picture.height > uint64_t(INT_MAX)) {
        error = "the picture is too large to write as PNG";
        return false;
    }
    std::string png;
    {
        const PngBuffers buffers;
        if (!stbi_write_png_to_func(&AppendToString, &png, int(picture.width), int(picture.height), 3,
                                    picture.pixels.data(), int(picture.width * 3))) {
            error = "cannot encode the picture as PNG";
            return false;
        }
    }
    return WriteWholeFile(path, png, replace, error);
}

bool WriteBmp(const DibLayout& layout, const void* bits, const std::string& path, bool replace, std::string& error)
{
    const size_t pixelBytes = layout.stride * layout.height;
    BITMAPFILEHEADER fileHeader = {};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfOffBits = sizeof fileHeader + sizeof layout.header;
    fileHeader.bfSize = DWORD(fileHeader.bfOffBits + pixelBytes);
    std::string bytes(reinterpret_cast<const char*>(&fileHeader), sizeof fileHeader);
    bytes.append(reinterpret_cast<const char*>(&layout.header), sizeof layout.header);
    bytes.append(static_cast<const char*>(bits), pixelBytes);
    return WriteWholeFile(path, bytes, replace, error);
}
