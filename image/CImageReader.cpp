#include "image/CImageReader.h"

#include <cstring>

#include "image/BitmapInfo.h"
#include "image/Lzss.h"
#include "image/ShotHeader.h"

namespace {

struct ShotSize {
    int32_t width;
    int32_t height;
};

template <typename Header>
ShotSize SizeFrom(const char* data, uint32_t size) noexcept
{
    Header header;
    header.Parse(data, size);
    return {header.width, header.height};
}

ShotSize ReadShotSize(ShotKind kind, const char* data, uint32_t size) noexcept
{
    switch (kind) {
    case ShotKind::ScreenShot: return SizeFrom<ScreenShotHeader>(data, size);
    case ShotKind::BestShot: return SizeFrom<BestShotHeader>(data, size);
    }
    return {0, 0};
}

// The decoded stream has rows of rowLength bytes; the bitmap's rows are
// stride bytes apart.
struct PictureLayout {
    uint32_t rowLength;
    uint32_t stride;
    uint32_t height;

    uint32_t DecodedSize() const noexcept { return rowLength * height; }
    uint32_t BlockSize() const noexcept { return stride * height; }
};

// Refuses an empty or negative size and anything beyond the largest picture
// decoded (kMaxShotSide, kMaxShotBlock). The decoded stream is never larger
// than the bitmap, nor the spare row than one row of it. The block's size is
// formed in 64 bits, where it cannot overflow.
bool MakeLayout(ShotSize shot, uint32_t bytesPerPixel, PictureLayout& layout) noexcept
{
    if (shot.width <= 0 || shot.height <= 0 || shot.width > kMaxShotSide || shot.height > kMaxShotSide) return false;
    if (bytesPerPixel == 0 || bytesPerPixel > 4) return false;
    const uint32_t rowLength = uint32_t(shot.width) * bytesPerPixel;
    const uint32_t stride = (rowLength + 3) & ~uint32_t(3);
    if (uint64_t(stride) * uint32_t(shot.height) > kMaxShotBlock) return false;
    layout = {rowLength, stride, uint32_t(shot.height)};
    return true;
}

// Rows of an unpadded picture swap places in pairs; an odd middle row stays.
void FlipInPlace(unsigned char* pixels, const PictureLayout& layout, unsigned char* spare) noexcept
{
    const size_t row = layout.rowLength;
    for (uint32_t top = 0, bottom = layout.height - 1; top < bottom; ++top, --bottom) {
        unsigned char* a = pixels + top * row;
        unsigned char* b = pixels + bottom * row;
        std::memcpy(spare, a, row);
        std::memcpy(a, b, row);
        std::memcpy(b, spare, row);
    }
}

// The padding behind each row keeps the block's zero fill.
void CopyUpsideDown(const unsigned char* decoded, const PictureLayout& layout, unsigned char* pixels) noexcept
{
    for (uint32_t i = 0; i < layout.height; ++i)
        std::memcpy(pixels + size_t(i) * layout.stride, decoded + size_t(layout.height - 1 - i) * layout.rowLength,
                    layout.rowLength);
}

int Refuse(HLOCAL* bits, HLOCAL* info) noexcept
{
    *bits = nullptr;
    *info = nullptr;
    return kImageNoMemoryOrSize;
}

}  // namespace

bool CImageReader::CheckMagic(const char* data, uint32_t size) const
{
    return data && size >= 4 && std::memcmp(data, m_profile.signature, 4) == 0;
}

int CImageReader::GetImage(const char* data, uint32_t size, HLOCAL* bits, HLOCAL* info) const
{
    if (!data || !bits || !info) return kImageNullArgument;
    if (!CheckMagic(data, size)) return kImageNotSignature;

    const ShotSize shot = ReadShotSize(m_profile.header, data, size);
    PictureLayout layout;
    if (!MakeLayout(shot, m_profile.bytesPerPixel, layout)) return Refuse(bits, info);

    // A file cut inside its header has an all-zero header and was refused
    // above; the stream is what follows the header, if anything.
    const uint32_t headerSize = HeaderSize(m_profile.header);
    const char* stream = size > headerSize ? data + headerSize : nullptr;
    const uint32_t streamLength = size > headerSize ? size - headerSize : 0;

    OwnedBlock pixels(m_blocks, layout.BlockSize());
    if (!pixels) return Refuse(bits, info);
    OwnedBlock header(m_blocks, sizeof(BitmapInfo));
    if (!header) return Refuse(bits, info);

    if (layout.stride == layout.rowLength) {
        // Unpadded rows: decode straight into the bitmap, then turn it
        // upside down with one row of spare room.
        OwnedBlock spare(m_blocks, layout.rowLength);
        if (!spare) return Refuse(bits, info);
        DecodeLzss(stream, streamLength, pixels.Bytes(), layout.BlockSize());
        FlipInPlace(pixels.Bytes(), layout, spare.Bytes());
    } else {
        OwnedBlock decoded(m_blocks, layout.DecodedSize());
        if (!decoded) return Refuse(bits, info);
        DecodeLzss(stream, streamLength, decoded.Bytes(), layout.DecodedSize());
        CopyUpsideDown(decoded.Bytes(), layout, pixels.Bytes());
    }

    BitmapInfo bitmap{};
    bitmap.biSize = kBitmapHeaderSize;
    bitmap.biWidth = shot.width;
    bitmap.biHeight = shot.height;
    bitmap.biPlanes = 1;
    bitmap.biBitCount = static_cast<uint16_t>(m_profile.bytesPerPixel * 8);
    bitmap.biCompression = kBitmapRgb;
    std::memcpy(header.Bytes(), &bitmap, sizeof bitmap);

    *bits = pixels.Release();
    *info = header.Release();
    return kImageDone;
}
