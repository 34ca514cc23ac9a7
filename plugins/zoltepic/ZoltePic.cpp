#include "common/ColumnTitles.h"
#include "image/ImageProfile.h"

namespace {

constexpr ImageColumn kColumns[] = {
    {MakeColumnInfo(kTitleFileName, 0, 0, kHostFileName), ShotField::Host},
    {MakeColumnInfo(kTitleUpdateTime, 0, 0, kHostUpdateTime), ShotField::Host},
    {MakeColumnInfo(kTitleScene, 0, 0, kPluginFills), ShotField::LevelScene},
    {MakeColumnInfo(kTitleSpellCardName, 0, 0, kPluginFills), ShotField::SpellCardName},
    {MakeColumnInfo(kTitleWidth, 1, 1, kPluginFills), ShotField::Width},
    {MakeColumnInfo(kTitleHeight, 1, 1, kPluginFills), ShotField::Height},
    {MakeColumnInfo(kTitleRating, 1, 1, kPluginFills), ShotField::Score},
    {MakeColumnInfo(kTitleSlowRate, 1, 2, kPluginFills), ShotField::SlowRate},
    {MakeColumnInfo(kTitleFileSize, 1, 1, kHostFileSize), ShotField::Host},
    {MakeColumnInfo(kTitleDirectory, 0, 0, kHostDirectory), ShotField::Host},
};

}  // namespace

extern const ImageProfile kZolteProfile = {
    {'B', 'S', 'T', 'S'},
    ShotKind::BestShot,
    3,
    kColumns,
    sizeof kColumns / sizeof kColumns[0],
};
