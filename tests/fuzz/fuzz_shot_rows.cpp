// Shot headers and the list row of a shot, for every picture game. The first
// four bytes pick the game (FuzzCheck.h); the rest is the file.
#include <cstdlib>
#include <string>

#include "FuzzCheck.h"
#include "image/ImageRows.h"
#include "image/ShotHeader.h"

namespace {

int16_t LoadI16(const char* at) { return int16_t(uint16_t(uint8_t(at[0]) | uint8_t(at[1]) << 8)); }

// Width and height stand at 12 and 14 in both headers; a cut header reads
// as all zero.
template <typename Header>
Header CheckHeader(const char* data, uint32_t size, uint32_t headerSize)
{
    Header header;
    header.Parse(data, size);
    const bool whole = size >= headerSize;
    FUZZ_REQUIRE(header.width == (whole ? LoadI16(data + 12) : 0));
    FUZZ_REQUIRE(header.height == (whole ? LoadI16(data + 14) : 0));
    FUZZ_REQUIRE(header.scene == (whole ? LoadI16(data + 8) : 0));
    return header;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t length)
{
    const auto picked = fuzz::PickImageGame(bytes, length);
    if (!picked.game || length > UINT32_MAX) return 0;
    const ImageProfile& game = *picked.game;
    const uint32_t size = uint32_t(picked.restSize);
    char* data = static_cast<char*>(std::malloc(size));
    if (size) std::memcpy(data, picked.rest, size);

    const int16_t width = game.header == ShotKind::ScreenShot
                              ? CheckHeader<ScreenShotHeader>(data, size, kScreenShotHeaderSize).width
                              : CheckHeader<BestShotHeader>(data, size, kBestShotHeaderSize).width;

    const CImageReader reader(game);
    HLOCAL row = nullptr;
    const PluginResult result = MakeListInfo(reader, data, size, &row);
    FUZZ_REQUIRE(result == (reader.CheckMagic(data, size) ? Ok : Unsupported));
    if (result == Ok) {
        const char* fields = static_cast<const char*>(row);
        fuzz::RequireTerminatedFields(fields, game.columnCount);
        for (uint32_t i = 0; i < game.columnCount; ++i) {
            const char* field = fields + size_t(i) * kFieldSize;
            if (game.columns[i].field == ShotField::Host) FUZZ_REQUIRE(*field == '\0');
            if (game.columns[i].field == ShotField::Width) FUZZ_REQUIRE(field == std::to_string(width));
        }
        HostFree(row);
    } else {
        FUZZ_REQUIRE(row == nullptr);
    }
    std::free(data);
    return 0;
}
