#include "ZoltePic.h"

#include "common/ColumnTitles.h"

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

const ImageProfile kZolteProfile = {
    {'B', 'S', 'T', 'S'},
    {{
        // "KARVO Plug-in For Zoltedan ベストショット Ver1.01 ..."
        "KARVO Plug-in For Zoltedan \x83x\x83X\x83g\x83V\x83\x87\x83" "b\x83g Ver1.01"
        " (C) 2026 the kvp-plugins authors",
        // "Zoltedan ベストショット"
        "Zoltedan \x83x\x83X\x83g\x83V\x83\x87\x83" "b\x83g",
        "bs_*.dat",
        // "Zoltedan ベストショットファイル(bs_*.dat)"
        "Zoltedan \x83x\x83X\x83g\x83V\x83\x87\x83" "b\x83g\x83t\x83@\x83" "C\x83\x8B(bs_*.dat)",
    }},
    ShotKind::BestShot,
    3,
    kColumns,
    sizeof kColumns / sizeof kColumns[0],
};
