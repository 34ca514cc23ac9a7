#include "BryssPic.h"

namespace {

const ImageColumn kColumns[] = {
    {{"\x83t\x83@\x83" "C\x83\x8B\x96\xBC", 0, 0, kHostFileName}, ShotField::Host},  // ファイル名
    {{"\x8DX\x90V\x93\xFA\x8E\x9E", 0, 0, kHostUpdateTime}, ShotField::Host},  // 更新日時
    {{"\x93\xFA\x95t", 0, 0, kPluginFills}, ShotField::DayName},  // 日付
    {{"\x83V\x81[\x83\x93", 0, 1, kPluginFills}, ShotField::ScenePlusOne},  // シーン
    {{"\x93\xFA\x95t-\x83V\x81[\x83\x93", 0, 1, kPluginFills}, ShotField::DayScene},  // 日付-シーン
    {{"\x95\x9D", 1, 1, kPluginFills}, ShotField::Width},  // 幅
    {{"\x8D\x82\x82\xB3", 1, 1, kPluginFills}, ShotField::Height},  // 高さ
    {{"\x93\xFA\x8E\x9E", 0, 0, kPluginFills}, ShotField::ShotTime},  // 日時
    {{"\x8F\x88\x97\x9D\x97\x8E\x82\xBF\x97\xA6", 1, 2, kPluginFills}, ShotField::SlowRate},  // 処理落ち率
    {{"\x83t\x83@\x83" "C\x83\x8B\x83T\x83" "C\x83Y", 1, 1, kHostFileSize}, ShotField::Host},  // ファイルサイズ
    {{"\x83" "f\x83" "B\x83\x8C\x83N\x83g\x83\x8A", 0, 0, kHostDirectory}, ShotField::Host},  // ディレクトリ
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
