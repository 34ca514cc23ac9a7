#include "ZoltePic.h"

namespace {

const ImageColumn kColumns[] = {
    {{"\x83t\x83@\x83" "C\x83\x8B\x96\xBC", 0, 0, kHostFileName}, ShotField::Host},  // ファイル名
    {{"\x8DX\x90V\x93\xFA\x8E\x9E", 0, 0, kHostUpdateTime}, ShotField::Host},  // 更新日時
    {{"\x83V\x81[\x83\x93", 0, 0, kPluginFills}, ShotField::LevelScene},  // シーン
    {{"\x83X\x83y\x83\x8B\x83J\x81[\x83h\x96\xBC", 0, 0, kPluginFills}, ShotField::SpellCardName},  // スペルカード名
    {{"\x95\x9D", 1, 1, kPluginFills}, ShotField::Width},  // 幅
    {{"\x8D\x82\x82\xB3", 1, 1, kPluginFills}, ShotField::Height},  // 高さ
    {{"\x95]\x89\xBF\x93_", 1, 1, kPluginFills}, ShotField::Score},  // 評価点
    {{"\x8F\x88\x97\x9D\x97\x8E\x82\xBF\x97\xA6", 1, 2, kPluginFills}, ShotField::SlowRate},  // 処理落ち率
    {{"\x83t\x83@\x83" "C\x83\x8B\x83T\x83" "C\x83Y", 1, 1, kHostFileSize}, ShotField::Host},  // ファイルサイズ
    {{"\x83" "f\x83" "B\x83\x8C\x83N\x83g\x83\x8A", 0, 0, kHostDirectory}, ShotField::Host},  // ディレクトリ
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
