// A shot's row and picture. After the game's four bytes (FuzzCheck.h), one
// byte says which allocation fails (none, or the first to the fourth);
// blocks above 4 MiB fail as if the heap were full.
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "image/BitmapInfo.h"
#include "image/CImageReader.h"
#include "image/ImageRows.h"
#include "tools/LzssReference.h"

namespace {

constexpr size_t kLargestBlock = size_t(4) << 20;

// Counts every block it hands out and what is still outstanding.
class CountingBlocks final : public IBlockSource {
public:
    explicit CountingBlocks(int failAt) : m_failAt(failAt) {}

    HLOCAL Alloc(size_t n) noexcept override
    {
        if (++m_calls == m_failAt || n > kLargestBlock) return nullptr;
        void* block = std::calloc(n ? n : 1, 1);
        if (block) m_live[block] = n;
        return block;
    }
    void Free(HLOCAL block) noexcept override
    {
        FUZZ_REQUIRE(m_live.erase(block) == 1);
        std::free(block);
    }
    size_t Outstanding() const { return m_live.size(); }
    int Requests() const { return m_calls; }
    size_t SizeOf(HLOCAL block) const
    {
        const auto found = m_live.find(block);
        FUZZ_REQUIRE(found != m_live.end());
        return found->second;
    }

private:
    int m_failAt;
    int m_calls = 0;
    std::map<void*, size_t> m_live;
};

int16_t LoadI16(const char* at) { return int16_t(uint16_t(uint8_t(at[0]) | uint8_t(at[1]) << 8)); }

void CheckRow(const ImageProfile& game, const char* data, uint32_t size)
{
    // Width and height stand at 12 and 14 in both headers; a cut header reads as all zero.
    const int16_t width = size >= HeaderSize(game.header) ? LoadI16(data + 12) : 0;
    const CImageReader reader(game);
    HLOCAL row = nullptr;
    const PluginResult result = MakeListInfo(reader, data, size, &row);
    FUZZ_REQUIRE(result == (reader.CheckMagic(data, size) ? Ok : Unsupported));
    if (result != Ok) {
        FUZZ_REQUIRE(row == nullptr);
        return;
    }
    const char* fields = static_cast<const char*>(row);
    fuzz::RequireTerminatedFields(fields, game.columnCount);
    for (uint32_t i = 0; i < game.columnCount; ++i) {
        const char* field = fields + size_t(i) * kFieldSize;
        if (game.columns[i].field == ShotField::Host) FUZZ_REQUIRE(*field == '\0');
        if (game.columns[i].field == ShotField::Width) FUZZ_REQUIRE(field == std::to_string(width));
    }
    HostFree(row);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t length)
{
    const auto picked = fuzz::PickImageGame(bytes, length);
    if (!picked.game || picked.restSize < 1 || length > UINT32_MAX) return 0;
    const ImageProfile& game = *picked.game;
    CountingBlocks blocks(picked.rest[0] % 5);   // 0: never fails
    const uint32_t size = uint32_t(picked.restSize - 1);
    char* data = static_cast<char*>(std::malloc(size));
    if (size) std::memcpy(data, picked.rest + 1, size);

    CheckRow(game, data, size);
    const CImageReader reader(game, blocks);
    HLOCAL untouched = reinterpret_cast<HLOCAL>(&blocks);
    HLOCAL bits = untouched, info = untouched;
    const int result = reader.GetImage(data, size, &bits, &info);
    FUZZ_REQUIRE(result == kImageDone || result == kImageNotSignature || result == kImageNoMemoryOrSize);
    FUZZ_REQUIRE((result == kImageNotSignature) == !reader.CheckMagic(data, size));

    // Nothing is asked for a picture beyond the largest one decoded.
    if (result != kImageNotSignature && size >= HeaderSize(game.header)) {
        const int32_t width = LoadI16(data + 12), height = LoadI16(data + 14);
        const uint64_t stride = (uint64_t(width > 0 ? width : 0) * game.bytesPerPixel + 3) / 4 * 4;
        if (width > kMaxShotSide || height > kMaxShotSide || (height > 0 && stride * uint64_t(height) > kMaxShotBlock))
            FUZZ_REQUIRE(result == kImageNoMemoryOrSize && blocks.Requests() == 0);
    }

    if (result == kImageNotSignature) {
        FUZZ_REQUIRE(bits == untouched && info == untouched && blocks.Outstanding() == 0);
    } else if (result == kImageNoMemoryOrSize) {
        FUZZ_REQUIRE(bits == nullptr && info == nullptr && blocks.Outstanding() == 0);
    } else {
        // Exactly the two blocks handed over, of the sizes the header announces.
        const uint32_t headerSize = HeaderSize(game.header);
        FUZZ_REQUIRE(size >= headerSize && blocks.Outstanding() == 2);
        const int32_t width = LoadI16(data + 12), height = LoadI16(data + 14);
        FUZZ_REQUIRE(width > 0 && height > 0);
        const size_t rowLength = size_t(width) * game.bytesPerPixel;
        const size_t stride = (rowLength + 3) / 4 * 4;
        FUZZ_REQUIRE(blocks.SizeOf(bits) == stride * size_t(height));
        FUZZ_REQUIRE(blocks.SizeOf(info) == sizeof(BitmapInfo));
        BitmapInfo bitmap;
        std::memcpy(&bitmap, info, sizeof bitmap);
        FUZZ_REQUIRE(bitmap.biSize == kBitmapHeaderSize && bitmap.biWidth == width && bitmap.biHeight == height);
        FUZZ_REQUIRE(bitmap.biPlanes == 1 && bitmap.biBitCount == game.bytesPerPixel * 8);

        // The rows of the reference decoding, bottom row first, zero padding.
        std::vector<char> decoded(rowLength * size_t(height));
        DecodeLzssReference(size > headerSize ? data + headerSize : nullptr, size - headerSize, decoded.data(),
                            uint32_t(decoded.size()));
        const char* pixels = static_cast<const char*>(bits);
        for (int32_t y = 0; y < height; ++y) {
            const char* row = pixels + size_t(y) * stride;
            FUZZ_REQUIRE(std::memcmp(row, decoded.data() + size_t(height - 1 - y) * rowLength, rowLength) == 0);
            for (size_t pad = rowLength; pad < stride; ++pad) FUZZ_REQUIRE(row[pad] == 0);
        }
        blocks.Free(bits);
        blocks.Free(info);
    }
    std::free(data);
    return 0;
}
