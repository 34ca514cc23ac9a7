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

// The decoded stream has rows of rowLength bytes, top row first; the
// bitmap's rows are stride bytes apart, bottom row first.
struct PictureLayout {
    uint32_t rowLength;
    uint32_t stride;
    uint32_t height;

    uint32_t BlockSize() const noexcept { return stride * height; }
};

// Refuses an empty or negative size and anything beyond the largest picture
// decoded (kMaxShotSide, kMaxShotBlock). The block's size is formed in 64
// bits, where it cannot overflow.
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

    // Straight into the bitmap, its last row first; the padding behind each
    // row keeps the block's zero fill.
    const LzssRows rows{pixels.Bytes() + size_t(layout.height - 1) * layout.stride, -ptrdiff_t(layout.stride),
                        layout.rowLength, layout.height};
    DecodeLzssRows(stream, streamLength, rows);

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
