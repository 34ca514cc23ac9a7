#include "image/ImageRows.h"

#include <cstring>
#include <memory>
#include <new>

#include "common/ColumnInfo.h"
#include "image/LocalTime.h"

namespace {

// Indexed by the stored, 0-based day.
const char* const kDayNames[] = {
    "\x88\xEA\x93\xFA\x96\xDA",  // 一日目
    "\x93\xF1\x93\xFA\x96\xDA",  // 二日目
    "\x8EO\x93\xFA\x96\xDA",     // 三日目
    "\x8El\x93\xFA\x96\xDA",     // 四日目
    "\x8C\xDC\x93\xFA\x96\xDA",  // 五日目
    "\x98Z\x93\xFA\x96\xDA",     // 六日目
    "\x8E\xB5\x93\xFA\x96\xDA",  // 七日目
    "\x94\xAA\x93\xFA\x96\xDA",  // 八日目
    "\x8B\xE3\x93\xFA\x96\xDA",  // 九日目
    "\x8D\xC5\x8FI\x93\xFA",     // 最終日
};
constexpr int kDayCount = sizeof kDayNames / sizeof kDayNames[0];

// Indexed by the stored, 1-based level.
const char* const kLevelNames[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "EX"};
constexpr int kLevelCount = sizeof kLevelNames / sizeof kLevelNames[0];

constexpr char kShotTimeFormat[] = "%Y/%m/%d %H:%M:%S";

// Fields both headers carry; any other field the header lacks stays empty.
template <typename Header>
void WriteSharedField(ShotField field, const Header& h, char* out) noexcept
{
    switch (field) {
    case ShotField::Width: FormatField(out, "%d", h.width); break;
    case ShotField::Height: FormatField(out, "%d", h.height); break;
    case ShotField::SlowRate: FormatField(out, "%.6f", static_cast<double>(h.slow_rate)); break;
    default: break;
    }
}

void WriteField(ShotField field, const ScreenShotHeader& h, char* out) noexcept
{
    switch (field) {
    case ShotField::DayName:
        // A day past the table shows as the number stored.
        if (h.day >= 0 && h.day < kDayCount) FormatField(out, "%s", kDayNames[h.day]);
        else FormatField(out, "%d", h.day);
        break;
    case ShotField::DayScene: FormatField(out, "%d-%d", h.day + 1, h.scene + 1); break;
    case ShotField::ScenePlusOne: FormatField(out, "%d", h.scene + 1); break;
    case ShotField::ShotTime:
        // An unsigned 32-bit count of seconds, widened; no conversion, no text.
        FormatLocalTime(out, kFieldSize, int64_t(h.timestamp), kShotTimeFormat);
        break;
    default: WriteSharedField(field, h, out); break;
    }
}

void WriteField(ShotField field, const BestShotHeader& h, char* out) noexcept
{
    switch (field) {
    case ShotField::LevelScene:
        // A level past the table shows as the number stored.
        if (h.level >= 1 && h.level <= kLevelCount) FormatField(out, "%s-%d", kLevelNames[h.level - 1], h.scene);
        else FormatField(out, "%d-%d", h.level, h.scene);
        break;
    case ShotField::SpellCardName:
        // All 80 bytes as stored; the zero rest of the field terminates a
        // name that fills them.
        static_assert(sizeof h.spell_card_name < kFieldSize, "the name always leaves a terminator");
        std::memcpy(out, h.spell_card_name, sizeof h.spell_card_name);
        break;
    case ShotField::Score: FormatField(out, "%d", h.score); break;
    default: WriteSharedField(field, h, out); break;
    }
}

template <typename Header>
PluginResult FillRow(const ImageProfile& profile, const char* image, uint32_t size, char* block) noexcept
{
    const std::unique_ptr<Header> header(new (std::nothrow) Header());
    if (!header) return OutOfMemory;
    header->Parse(image, size);
    for (uint32_t i = 0; i < profile.columnCount; ++i)
        WriteField(profile.columns[i].field, *header, block + size_t(i) * kFieldSize);
    return Ok;
}

}  // namespace

PluginResult MakeListInfo(const CImageReader& reader, const char* image, uint32_t size, HLOCAL* row)
{
    if (!image || !row) return Failure;
    if (!reader.CheckMagic(image, size)) return Unsupported;

    const ImageProfile& profile = reader.Profile();
    char* block = static_cast<char*>(HostAlloc(size_t(profile.columnCount) * kFieldSize));
    *row = block;
    if (!block) return OutOfMemory;

    switch (profile.header) {
    case ShotKind::ScreenShot: return FillRow<ScreenShotHeader>(profile, image, size, block);
    case ShotKind::BestShot: return FillRow<BestShotHeader>(profile, image, size, block);
    }
    return Failure;
}
