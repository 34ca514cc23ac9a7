#include "BryssPic.h"

#include "common/ColumnTitles.h"

namespace {

constexpr ImageColumn kColumns[] = {
    {MakeColumnInfo(kTitleFileName, 0, 0, kHostFileName), ShotField::Host},
    {MakeColumnInfo(kTitleUpdateTime, 0, 0, kHostUpdateTime), ShotField::Host},
    {MakeColumnInfo(kTitleDay, 0, 0, kPluginFills), ShotField::DayName},
    {MakeColumnInfo(kTitleScene, 0, 1, kPluginFills), ShotField::ScenePlusOne},
    {MakeColumnInfo(kTitleDayScene, 0, 1, kPluginFills), ShotField::DayScene},
    {MakeColumnInfo(kTitleWidth, 1, 1, kPluginFills), ShotField::Width},
    {MakeColumnInfo(kTitleHeight, 1, 1, kPluginFills), ShotField::Height},
    {MakeColumnInfo(kTitleShotTime, 0, 0, kPluginFills), ShotField::ShotTime},
    {MakeColumnInfo(kTitleSlowRate, 1, 2, kPluginFills), ShotField::SlowRate},
    {MakeColumnInfo(kTitleFileSize, 1, 1, kHostFileSize), ShotField::Host},
    {MakeColumnInfo(kTitleDirectory, 0, 0, kHostDirectory), ShotField::Host},
};

}  // namespace

const ImageProfile kBryssProfile = {
    {'B', 'S', 'T', '3'},
    {{
        // "KARVO Plug-in For Bryssdan スクリーンショット Ver1.00 ..."
        "KARVO Plug-in For Bryssdan \x83X\x83N\x83\x8A\x81[\x83\x93\x83V\x83\x87\x83" "b\x83g Ver1.00"
        " (C) 2026 the kvp-plugins authors",
        // "Bryssdan スクリーンショット"
        "Bryssdan \x83X\x83N\x83\x8A\x81[\x83\x93\x83V\x83\x87\x83" "b\x83g",
        "sc*.dat",
        // "Bryssdan スクリーンファイル(sc*.dat)"
        "Bryssdan \x83X\x83N\x83\x8A\x81[\x83\x93\x83t\x83@\x83" "C\x83\x8B(sc*.dat)",
    }},
    ShotKind::ScreenShot,
    4,
    kColumns,
    sizeof kColumns / sizeof kColumns[0],
};
