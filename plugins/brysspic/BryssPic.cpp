#include "common/ColumnTitles.h"
#include "image/ImageProfile.h"

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

extern const ImageProfile kBryssProfile = {
    {'B', 'S', 'T', '3'},
    ShotKind::ScreenShot,
    4,
    kColumns,
    sizeof kColumns / sizeof kColumns[0],
};
