#include "image/ShotHeader.h"

#include <cstring>

#include "common/ByteReader.h"

namespace {

uint16_t U16(const ByteReader& in, uint32_t offset) noexcept
{
    int16_t value = 0;
    in.ReadI16(offset, value);
    return static_cast<uint16_t>(value);
}

int16_t I16(const ByteReader& in, uint32_t offset) noexcept
{
    int16_t value = 0;
    in.ReadI16(offset, value);
    return value;
}

uint32_t U32(const ByteReader& in, uint32_t offset) noexcept
{
    uint32_t value = 0;
    in.ReadU32(offset, value);
    return value;
}

// Bit for bit: a NaN keeps its payload.
float F32(const ByteReader& in, uint32_t offset) noexcept
{
    const uint32_t bits = U32(in, offset);
    float value;
    static_assert(sizeof value == sizeof bits, "IEEE single precision");
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The six 16-bit words that both layouts share, at offsets 4 to 14.
template <typename Header, typename Placement>
void ParseCommon(const ByteReader& in, Header& h, Placement& placement) noexcept
{
    h.reserved1 = U16(in, 4);
    placement = I16(in, 6);
    h.scene = I16(in, 8);
    h.reserved2 = U16(in, 10);
    h.width = I16(in, 12);
    h.height = I16(in, 14);
}

static_assert(28 + sizeof ScreenShotHeader::reserved4 == kScreenShotHeaderSize, "trailing block ends the header");
static_assert(24 + sizeof BestShotHeader::spell_card_name == kBestShotHeaderSize, "trailing block ends the header");

}  // namespace

ScreenShotHeader& ScreenShotHeader::Parse(const char* data, uint32_t size) noexcept
{
    const ByteReader in(data, size);
    if (!in.Holds(0, kScreenShotHeaderSize)) return *this;
    ParseCommon(in, *this, day);
    reserved3 = U32(in, 16);
    timestamp = U32(in, 20);
    slow_rate = F32(in, 24);
    std::memcpy(reserved4, in.At(28), sizeof reserved4);
    return *this;
}

BestShotHeader& BestShotHeader::Parse(const char* data, uint32_t size) noexcept
{
    const ByteReader in(data, size);
    if (!in.Holds(0, kBestShotHeaderSize)) return *this;
    ParseCommon(in, *this, level);
    score = static_cast<int32_t>(U32(in, 16));
    slow_rate = F32(in, 20);
    std::memcpy(spell_card_name, in.At(24), sizeof spell_card_name);
    return *this;
}
