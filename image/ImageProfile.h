#pragma once
#include <cstdint>

#include "common/ColumnInfo.h"
#include "image/ShotHeader.h"

// Which header a game's shot files carry.
enum class ShotKind : uint8_t {
    ScreenShot,   // ScreenShotHeader, 116 bytes
    BestShot,     // BestShotHeader, 104 bytes
};

constexpr uint32_t HeaderSize(ShotKind kind) noexcept
{
    return kind == ShotKind::ScreenShot ? kScreenShotHeaderSize : kBestShotHeaderSize;
}

// What a list column shows. A field that the game's header does not carry
// stays empty.
enum class ShotField : uint8_t {
    Host,            // the host fills it from the file system
    DayName,         // day-name table entry for day, "%s"
    DayScene,        // "%d-%d" of day + 1 and scene + 1
    ScenePlusOne,    // "%d" of scene + 1
    LevelScene,      // "%s-%d" of the level name and scene as stored
    SpellCardName,   // the 80 stored bytes
    Width,           // "%d"
    Height,          // "%d"
    Score,           // "%d"
    ShotTime,        // timestamp as local time, "%Y/%m/%d %H:%M:%S"
    SlowRate,        // "%.6f"
};

struct ImageColumn {
    ColumnInfo info;
    ShotField field;
};

// Everything that differs between the picture games. A plug-in is built with
// exactly one profile.
struct ImageProfile {
    char signature[4];
    ShotKind header;
    uint32_t bytesPerPixel;        // of the decoded stream and of the bitmap
    const ImageColumn* columns;    // display order, without the end record
    uint32_t columnCount;
};
